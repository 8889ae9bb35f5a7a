// The reference-length setting mode and the camera-shake switch of the main
// window.

#include "digitize/frmMain_digitizing_parts.h"

#include "app/preview_widget.h"
#include "platform/platform.h"
#include "platform/prompts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QColor kBlue(0, 0, 255);
}

void frmMain::referenceClick(QPointF position)
{
    const ReferenceLength::Pick pick = m_digitizing->length.click(position);
    if (pick == ReferenceLength::Pick::First)
        hideKijun();
    else
        txtLengthValue->setFocus();
    picPreview->update();
}

void frmMain::picPreview_MouseMove(QPointF position)
{
    if (!m_digitizing->clicks.RefFirstClickDone)
        return;
    m_digitizing->length.mouseMoved(position);
    picPreview->update();
}

void frmMain::cmdLength_Click()
{
    if (!LengthSettingMode) {
        LengthSettingMode = true;
        cmdLength->setText(QStringLiteral("設定終了"));
        lblLength1->show();
        txtLengthValue->show();
        cmbTanni->show();
        txtLengthValue->setFocus();
        digitizing_ui::setTextColour(lblLength, kBlue);
        lblLength->setText(
            QStringLiteral("　映像の画面から基準となる２点クリックし、長さを入力してください。"));
        DisableNavigation();
        return;
    }

    const ReferenceLength::Finish finish = m_digitizing->length.finish(
        txtLengthValue->text(), cmbTanni->currentText(), measurementState());
    if (!finish.accepted) {
        // The mode stays on so the length can be corrected.
        platform().prompts->message(finish.message, Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        txtLengthValue->setFocus();
        txtLengthValue->selectAll();
        return;
    }
    LengthSettingMode = false;
    cmdLength->setText(QStringLiteral("設定"));
    lblLength1->hide();
    txtLengthValue->hide();
    cmbTanni->hide();
    digitizing_ui::setTextColour(lblLength, kBlue);
    lblLength->setText(QStringLiteral("長さは設定されています"));
    EnableNavigation();
    hideKijun();
    picPreview->update();
    BeginInputPause();
}

void frmMain::ResetDigitizing()
{
    Digitizing &d = *m_digitizing;
    LengthSettingMode = false;
    d.clicks.RefFirstClickDone = false;
    d.clicks.AwaitingShakeReference = 0;
    d.drawing.clear();
    d.markers.hideTemporaryObjectMarker();
    lblLength1->hide();
    txtLengthValue->hide();
    cmbTanni->hide();
    if (cmdLength->text() == QStringLiteral("設定終了"))
        cmdLength->setText(QStringLiteral("設定"));
    picPreview->update();
}

void frmMain::mnuSystemChenge_Click()
{
    const auto answer = platform().prompts->message(
        QStringLiteral("手ぶれ補正の切り替えをすると、これまでのデータが消去されます。") +
            QStringLiteral("\r\n") + QStringLiteral("よろしいですか？"),
        Prompts::Buttons::YesNo, Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return;
    hideKijun();
    ShakeCorrectionOn = !ShakeCorrectionOn;
    showShakeCorrection(ShakeCorrectionOn);
    const bool pairPending = m_digitizing->clicks.AwaitingShakeReference == 1;
    ClearMeasurement();
    DataOpened = true;
    m_digitizing->clicks.AwaitingShakeReference = 0;
    measurementState().VideoPath = ChosenFilePath;
    txtLengthValue->clear();
    ResetMarkers();
    // A pair cut short by the switch would otherwise leave the frame
    // controls disabled for good.
    if (pairPending && VideoOpen)
        EnableNavigation();
    for (QPointer<QWidget> *window : {&Result1Window, &Result2Window, &PlayerWindow}) {
        if (*window)
            (*window)->close();
    }
}
