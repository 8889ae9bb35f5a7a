#include "results/strobe_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "platform/ffmpeg_frame_source.h"
#include "platform/platform.h"
#include "results/frmStrobe.h"
#include "video/video_part.h"

#include <QAction>

namespace {

// A decoder of the window's own: the main window's goes on showing its
// frames meanwhile, and tests may put their own source in its place.
std::unique_ptr<FrameSource> strobeFrameSource()
{
    if (platform().frameSources) {
        if (std::unique_ptr<FrameSource> source = platform().frameSources())
            return source;
    }
    return std::make_unique<FfmpegFrameSource>();
}

} // namespace

StrobePart::StrobePart(WindowState &state, VideoPart &video, const StrobeControls &controls,
                       QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_c(controls)
{
    connect(m_c.command, &QAction::triggered, this, &StrobePart::showStrobe);
    connect(&m_video, &VideoPart::videoClosed, this, &StrobePart::closeWindow);
    connect(&m_video, &VideoPart::videoOpened, this, &StrobePart::closeWindow);
}

void StrobePart::showStrobe()
{
    closeWindow();
    const FrameSource *shown = m_video.frameSource();
    if (!m_state.VideoOpen || !shown)
        return;
    strobe::Plan plan =
        strobe::planOf(measurementState(), m_state.ShakeCorrectionOn, m_video.previewSize());
    plan.videoPath = shown->path();
    auto *window = new frmStrobe(std::move(plan), strobeFrameSource(), m_c.window);
    window->show();
    m_window = window;
    emit changed();
}

void StrobePart::closeWindow()
{
    if (m_window)
        m_window->close();
}
