#include "digitize/length_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "digitize/digitizing_part.h"
#include "platform/beeper.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/qt_event_hook.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

LengthPart::LengthPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
                       const LengthControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_digitizing(digitizing), m_c(controls),
      m_length(digitizing.clicks(), m_drawing)
{
    connect(m_c.lengthButton, &QAbstractButton::clicked, this, &LengthPart::lengthButtonClicked);
    connect(m_c.preview, &PreviewWidget::mousePressed, this,
            [this](QPointF position, Qt::MouseButton) {
                if (m_state.acceptsClicks() && m_state.lengthSetting())
                    click(position);
            });
    connect(m_c.preview, &PreviewWidget::mouseMoved, this, &LengthPart::mouseMoved);
    connect(&m_video, &VideoPart::videoOpened, this, &LengthPart::abandon);
    connect(&m_video, &VideoPart::videoClosed, this, &LengthPart::abandon);
    connect(&m_digitizing, &DigitizingPart::measurementCleared, m_c.lengthValue, &QLineEdit::clear);

    // The length box takes digits only: no input method, no pasting.
    m_c.lengthValue->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_c.lengthValue->setContextMenuPolicy(Qt::NoContextMenu);
    m_c.lengthValue->setAcceptDrops(false);
    EventHook::install(m_c.lengthValue, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        switch (ReferenceLength::classifyKey(key->key(), key->text())) {
        case ReferenceLength::Key::Pass:
            return false;
        case ReferenceLength::Key::Finish:
            if (m_state.lengthSetting())
                lengthButtonClicked();
            return true;
        case ReferenceLength::Key::Refuse:
            platform().beeper->beep();
            return true;
        }
        return false;
    });
    // Enter in the unit box finishes too; typed units are not added to the list.
    m_c.unit->setInsertPolicy(QComboBox::NoInsert);
    // The Enter taken here goes no further: a length refused keeps the box
    // on show, and the same Enter must not finish (and be refused) again.
    EventHook::install(m_c.unit, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress || !m_state.lengthSetting())
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        lengthButtonClicked();
        return true;
    });
}

void LengthPart::lengthButtonClicked()
{
    if (m_state.lengthSetting())
        finish();
    else
        start();
}

void LengthPart::start()
{
    m_state.LengthSettingMode = LengthPhase::FirstPoint;
    m_state.LengthSettingUsed = true;
    m_state.LengthClearedDuringSetting = false;
    m_state.holdFrame();
    emit changed();
    m_c.lengthValue->setFocus();
}

void LengthPart::finish()
{
    const ReferenceLength::Finish finish =
        m_length.finish(m_c.lengthValue->text(), m_c.unit->currentText(), measurementState());
    if (!finish.accepted) {
        // The setting stays on so the length can be corrected.
        platform().prompts->message(finish.message, Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        m_c.lengthValue->setFocus();
        m_c.lengthValue->selectAll();
        return;
    }
    m_state.LengthSettingMode = LengthPhase::Off;
    m_digitizing.hideKijun();
    m_c.preview->update();
    m_video.beginInputPause();
    emit changed();
}

void LengthPart::click(QPointF position)
{
    if (m_length.click(position) == ReferenceLength::Pick::First) {
        m_digitizing.hideKijun();
        m_state.LengthSettingMode = LengthPhase::SecondPoint;
    } else {
        m_state.LengthSettingMode = LengthPhase::TypingLength;
        m_c.lengthValue->setFocus();
    }
    m_c.preview->update();
    emit changed();
}

void LengthPart::mouseMoved(QPointF position)
{
    if (m_state.LengthSettingMode != LengthPhase::SecondPoint)
        return;
    m_length.mouseMoved(position);
    m_c.preview->update();
}

void LengthPart::abandon()
{
    m_state.LengthSettingMode = LengthPhase::Off;
    m_digitizing.clicks().RefFirstClickDone = false;
    clearDrawing();
}

void LengthPart::clearDrawing()
{
    m_drawing.clear();
    m_c.preview->update();
}

void LengthPart::paint(QPainter &painter) const
{
    m_drawing.paint(painter);
}
