#include "digitize/axes_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QAction>
#include <QShortcut>

AxesPart::AxesPart(WindowState &state, VideoPart &video, const AxesControls &controls,
                   QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_c(controls)
{
    connect(m_c.axesButton, &QAbstractButton::clicked, this, [this] {
        if (m_state.axesSetting())
            cancel();
        else
            start();
    });
    connect(m_c.setCommand, &QAction::triggered, this, &AxesPart::start);
    connect(m_c.resetCommand, &QAction::triggered, this, &AxesPart::reset);
    connect(m_c.preview, &PreviewWidget::mousePressed, this,
            [this](QPointF position, Qt::MouseButton) {
                if (m_state.acceptsClicks() && m_state.axesSetting())
                    click(position);
            });
    connect(m_c.preview, &PreviewWidget::mouseMoved, this, [this](QPointF position) {
        if (m_state.AxesSettingMode != AxesPhase::XPoint)
            return;
        m_setting.mouseMoved(position);
        m_c.preview->update();
    });
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_c.window);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    // A new or closed video ends the setting (the window state has ended it).
    for (auto signal : {&VideoPart::videoOpened, &VideoPart::videoClosed})
        connect(&m_video, signal, this, [this] {
            m_setting.cancel();
            m_escape->setEnabled(false);
        });
    connect(m_escape, &QShortcut::activated, this, &AxesPart::cancel);
}

void AxesPart::start()
{
    if (m_state.axesSetting())
        return;
    m_setting.cancel();
    m_state.AxesSettingMode = AxesPhase::Origin;
    m_state.holdFrame();
    m_escape->setEnabled(true);
    m_c.preview->update();
    emit changed();
}

void AxesPart::cancel()
{
    if (!m_state.axesSetting())
        return;
    m_setting.cancel();
    m_state.AxesSettingMode = AxesPhase::Off;
    m_escape->setEnabled(false);
    m_c.preview->update();
    emit changed();
}

void AxesPart::reset()
{
    measurementState().Axes = CoordinateAxes{};
    m_c.preview->update();
    emit changed();
}

QPointF AxesPart::offset() const
{
    return AxesSetting::shakeOffset(measurementState(), m_video.position(),
                                    m_state.ShakeCorrectionOn);
}

void AxesPart::click(QPointF position)
{
    switch (m_setting.click(position, offset(), measurementState().Axes)) {
    case AxesSetting::Click::Origin:
        m_state.AxesSettingMode = AxesPhase::XPoint;
        break;
    case AxesSetting::Click::SamePixel:
        platform().prompts->message(AxesSetting::samePixelMessage(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        break;
    case AxesSetting::Click::Set:
        m_state.AxesSettingMode = AxesPhase::Off;
        m_escape->setEnabled(false);
        m_video.beginInputPause();
        break;
    }
    m_c.preview->update();
    emit changed();
}

void AxesPart::paint(QPainter &painter) const
{
    if (m_state.VideoOpen)
        AxesSetting::paintAxes(painter, measurementState().Axes, offset(),
                               QSizeF(m_c.preview->size()));
    m_setting.paintSetting(painter);
}
