// Clicks on the preview while plotting, the markers of the plotted points,
// the all-points display and erasing.

#include "digitize/frmMain_digitizing_parts.h"

#include "app/preview_widget.h"
#include "digitize/plotting_cursor.h"
#include "digitize/qt_event_hook.h"
#include "platform/beeper.h"
#include "platform/platform.h"
#include "platform/prompts.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

void digitizing_ui::setTextColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

void frmMain::wireDigitizing()
{
    m_digitizing = std::make_shared<Digitizing>();

    picPreview->setCursor(plotting_cursor::cursor(picPreview->devicePixelRatioF()));
    picPreview->setOverlayPainter([this](QPainter &painter) {
        // What the length setting drew lies on the picture; the markers lie
        // above it.
        m_digitizing->drawing.paint(painter);
        m_digitizing->markers.paint(painter);
    });
    connect(picPreview, &PreviewWidget::mousePressed, this,
            [this](QPointF position, Qt::MouseButton) { picPreview_MouseDown(position); });
    connect(picPreview, &PreviewWidget::mouseMoved, this, &frmMain::picPreview_MouseMove);

    // "基準": red on white, 24 x 12 pixels, beside the shake reference point.
    QPalette pal = lblKijun->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    pal.setColor(QPalette::Window, QColor(255, 255, 255));
    lblKijun->setPalette(pal);
    lblKijun->setAutoFillBackground(true);
    QFont kijunFont = lblKijun->font();
    kijunFont.setPixelSize(11);
    lblKijun->setFont(kijunFont);
    lblKijun->setAlignment(Qt::AlignCenter);
    lblKijun->setFixedSize(24, 12);
    lblKijun->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(cmdErase, &QPushButton::clicked, this, &frmMain::cmdErase_Click);
    connect(cmdProtDisp, &QPushButton::clicked, this, &frmMain::cmdProtDisp_Click);
    connect(cmdLength, &QPushButton::clicked, this, &frmMain::cmdLength_Click);
    connect(mnuEditSingle, &QAction::triggered, this, &frmMain::mnuEditSingle_Click);
    connect(mnuEditAll, &QAction::triggered, this, &frmMain::mnuEditAll_Click);
    connect(mnuSystemChenge, &QAction::triggered, this, &frmMain::mnuSystemChenge_Click);

    EventHook::install(lblHosei, [this](QEvent *event) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        mnuSystemChenge_Click();
        return true;
    });

    // The length box takes digits only: no input method, no pasting.
    txtLengthValue->setAttribute(Qt::WA_InputMethodEnabled, false);
    txtLengthValue->setContextMenuPolicy(Qt::NoContextMenu);
    txtLengthValue->setAcceptDrops(false);
    EventHook::install(txtLengthValue, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        switch (ReferenceLength::classifyKey(key->key(), key->text())) {
        case ReferenceLength::Key::Pass:
            return false;
        case ReferenceLength::Key::Finish:
            cmdLength_Click();
            return true;
        case ReferenceLength::Key::Refuse:
            platform().beeper->beep();
            return true;
        }
        return false;
    });
    // Enter in the unit box finishes too; typed units are not added to the list.
    cmbTanni->setInsertPolicy(QComboBox::NoInsert);
    EventHook::install(cmbTanni, [this](QEvent *event) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            // The combo box passes an unused Enter on to itself once more;
            // only the first, while the box is on show, finishes the setting.
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && LengthSettingMode &&
                cmbTanni->isVisible())
                cmdLength_Click();
        }
        return false;
    });
}

MarkerSet &frmMain::markerSet()
{
    return m_digitizing->markers;
}

DigitizingState &frmMain::digitizingState()
{
    return m_digitizing->clicks;
}

const ReferenceDrawing &frmMain::referenceDrawing() const
{
    return m_digitizing->drawing;
}

void frmMain::ClearPreviewDrawing()
{
    m_digitizing->drawing.clear();
    picPreview->update();
}

void frmMain::picPreview_MouseDown(QPointF position)
{
    // Nothing to plot on before a video is open, and a click during the short
    // pause after a move would land on a frame the user has not seen yet.
    if (!VideoOpen || !InputPauseOver)
        return;
    if (LengthSettingMode)
        referenceClick(position);
    else
        plotClick(position);
}

void frmMain::plotClick(QPointF position)
{
    MeasurementState &state = measurementState();
    Digitizing &d = *m_digitizing;
    const PointPlotter::Result result =
        d.plotter.click(ctrlSlider->value(), position, ShakeCorrectionOn);
    switch (result.outcome) {
    case PointPlotter::Outcome::Refused:
        platform().prompts->message(PointPlotter::limitMessage(), Prompts::Buttons::Ok,
                                    Prompts::Icon::None);
        return;
    case PointPlotter::Outcome::Plotted:
        d.markers.setCount(state.PointCount);
        hideKijun();
        if (state.AllPointsMode == 1)
            ShowAllMarkers();
        ShowFrameMarkers();
        break;
    case PointPlotter::Outcome::ObjectMarked:
        if (result.newPoint)
            d.markers.setCount(state.PointCount);
        else
            ResetMarkers();
        d.markers.showTemporaryObjectMarker(position);
        hideKijun();
        // The reference point must be clicked on this same frame.
        DisableNavigation();
        break;
    case PointPlotter::Outcome::ReferenceMarked:
    case PointPlotter::Outcome::PairDropped:
        EnableNavigation();
        d.markers.hideTemporaryObjectMarker();
        if (state.AllPointsMode == 1)
            ShowAllMarkers();
        ShowFrameMarkers();
        break;
    }
    picPreview->update();
    if (result.completes() && state.ClickAction == 1 && d.clicks.AwaitingShakeReference == 0)
        advanceAfterPoint();
}

void frmMain::advanceAfterPoint()
{
    // The forward step of "次へ進む", also while the button itself is
    // disabled (the all-points display).
    emit cmdStep->clicked(false);
}

void frmMain::EnableNavigation()
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{ctrlSlider, cmdBackFrame, cmdFwdFrame, cmdPlay, cmdStop,
                                          cmdBack, cmdStep, cmdErase, cmdProtDisp, cmdPlayer})
        w->setEnabled(true);
}

void frmMain::DisableNavigation()
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{ctrlSlider, cmdBackFrame, cmdFwdFrame, cmdPlay, cmdStop,
                                          cmdBack, cmdStep, cmdErase, cmdProtDisp, cmdPlayer})
        w->setEnabled(false);
}

void frmMain::applyKijun(const KijunPlacement &placement)
{
    switch (placement.action) {
    case KijunPlacement::Action::Keep:
        break;
    case KijunPlacement::Action::Hide:
        lblKijun->hide();
        break;
    case KijunPlacement::Action::Show:
        lblKijun->move(placement.topLeft);
        lblKijun->show();
        lblKijun->raise();
        break;
    }
}

void frmMain::hideKijun()
{
    lblKijun->hide();
}

void frmMain::ResetMarkers()
{
    m_digitizing->markers.resetMarkers();
    picPreview->update();
}

void frmMain::PrepareMarkers()
{
    m_digitizing->markers.setCount(measurementState().PointCount);
    ResetMarkers();
}

void frmMain::ShowFrameMarkers()
{
    applyKijun(m_digitizing->markers.showFrameMarkers(measurementState(), ctrlSlider->value(),
                                                      ShakeCorrectionOn));
    picPreview->update();
}

void frmMain::ShowAllMarkers()
{
    applyKijun(m_digitizing->markers.showAllMarkers(measurementState(), ShakeCorrectionOn));
    picPreview->update();
}

void frmMain::cmdProtDisp_Click()
{
    if (!AllPointsShown) {
        applyKijun(m_digitizing->markers.showAllPointsDiscs(measurementState(), ShakeCorrectionOn));
        picPreview->update();
        cmdProtDisp->setText(QStringLiteral("全表示停止"));
        DisableNavigation();
        cmdLength->setEnabled(false);
        // The button stays usable to end the display.
        cmdProtDisp->setEnabled(true);
        AllPointsShown = true;
    } else {
        cmdProtDisp->setText(QStringLiteral("全打点表示"));
        EnableNavigation();
        cmdLength->setEnabled(true);
        AllPointsShown = false;
        ShowFrameMarkers();
    }
}

void frmMain::cmdErase_Click()
{
    MeasurementState &state = measurementState();
    Digitizing &d = *m_digitizing;
    if (d.plotter.eraseFramePoint(ctrlSlider->value()) == 0)
        return;
    d.markers.setCount(state.PointCount);
    if (d.clicks.AwaitingShakeReference == 1) {
        // The point awaiting its reference click was on this frame and is
        // gone: no pair is pending any more.
        d.clicks.AwaitingShakeReference = 0;
        EnableNavigation();
    }
    ResetMarkers();
    if (state.AllPointsMode == 1)
        ShowAllMarkers();
    ShowFrameMarkers();
}

void frmMain::mnuEditSingle_Click()
{
    cmdErase_Click();
    hideKijun();
}

void frmMain::mnuEditAll_Click()
{
    const auto answer = platform().prompts->message(
        QStringLiteral("打点を全部消すと、すべてのデータが消えてしまいます。") +
            QStringLiteral("\r\n") + QStringLiteral("よろしいですか？"),
        Prompts::Buttons::YesNo, Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return;
    if (Result2Window)
        Result2Window->close();
    if (Result1Window)
        Result1Window->close();
    const bool pairPending = m_digitizing->clicks.AwaitingShakeReference == 1;
    ClearMeasurement();
    if (pairPending) {
        m_digitizing->clicks.AwaitingShakeReference = 0;
        EnableNavigation();
    }
    ResetMarkers();
    hideKijun();
}

void frmMain::ClearMeasurement()
{
    measurementState().clearPoints();
    showLengthNotSet();
    txtLengthValue->clear();
    m_digitizing->markers.setCount(0);
    picPreview->update();
}
