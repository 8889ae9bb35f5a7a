#pragma once
// The main window's print command and its help menu.

#include <QObject>

class DigitizingPart;
class QAction;
class QWidget;
struct WindowState;

struct PrintHelpControls
{
    QWidget *window = nullptr; // the window printed
    QAction *print = nullptr;
    QAction *howTo = nullptr;
    QAction *about = nullptr;
};

class PrintHelpPart : public QObject
{
    Q_OBJECT
public:
    PrintHelpPart(WindowState &state, DigitizingPart &digitizing, const PrintHelpControls &controls,
                  QObject *parent = nullptr);

    // "画面の印刷(&P)": the window as it is, with every plotted point on it.
    void printWindow();

signals:
    void changed();

private:
    WindowState &m_state;
    DigitizingPart &m_digitizing;
    PrintHelpControls m_c;
};
