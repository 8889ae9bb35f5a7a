#pragma once
// A picture of a window as the user sees it (menus and frame excepted).

#include <QImage>

class QWidget;

class WindowCapture
{
public:
    virtual ~WindowCapture() = default;
    virtual QImage capture(QWidget *window) = 0;
};
