#pragma once
// The strobe picture window, "キネモ　－ストロボ写真－": one picture of the
// motion made from the video and the plotted points, with every chosen point's
// object on the still scene. It is built in the background with a frame
// source of the window's own, while a progress bar runs; the choices
// (interval, markers) then recompose it at once. Save as PNG, copy and print
// the picture itself, at the video's resolution.
//
// Modeless; each opening makes a fresh window that deletes itself on close.
// Closing it while it builds stops the building and waits for it.

#include "results/strobe_plan.h"

#include <QImage>
#include <QMainWindow>
#include <memory>

class FrameSource;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class StrobeViewWidget;

namespace strobe {
class Builder;
}

class frmStrobe : public QMainWindow
{
    Q_OBJECT
public:
    frmStrobe(strobe::Plan plan, std::unique_ptr<FrameSource> source, QWidget *parent = nullptr);
    ~frmStrobe() override;

    // The picture at the video's own resolution (null while it builds).
    const QImage &picture() const { return m_picture; }
    bool built() const;
    // Waits until the building has ended and the picture is shown.
    bool waitUntilBuilt(int milliseconds);

    // "画像を保存する(&S)…", "コピー(&C)", "印刷する(&P)".
    void savePicture();
    void copyPicture();
    void printPicture();

    QMenu *mnuFile = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFilePrint = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuEditCopy = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpRead = nullptr;
    QLabel *lblInterval = nullptr;
    QComboBox *cmbInterval = nullptr; // every point, every 2nd ... 5th
    QCheckBox *chkMarkers = nullptr;  // "印を重ねる"
    StrobeViewWidget *picStrobe = nullptr;
    QProgressBar *prgBuild = nullptr;
    QLabel *lblStatus = nullptr;
    QTimer *tmrProgress = nullptr;

private:
    void buildMenus();
    void buildControls();
    void poll();
    void recompose();
    // Every control from the window's state, in one place.
    void applyStates();
    strobe::Choices choices() const;

    strobe::Plan m_plan;
    std::unique_ptr<strobe::Builder> m_builder;
    QImage m_picture;
    bool m_failed = false;
};
