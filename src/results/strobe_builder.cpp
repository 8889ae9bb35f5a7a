#include "results/strobe_builder.h"

#include "platform/ffmpeg_frame_source.h"
#include "platform/frame_source.h"
#include "results/strobe_picture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

namespace strobe {

namespace {

std::atomic<int> s_running{0};

cv::Point wholePixels(QPointF p)
{
    return cv::Point(int(std::lround(p.x())), int(std::lround(p.y())));
}

} // namespace

Builder::Builder(Plan plan, std::unique_ptr<FrameSource> source)
    : m_plan(std::move(plan)), m_source(std::move(source))
{
    if (auto *ffmpeg = dynamic_cast<FfmpegFrameSource *>(m_source.get()))
        ffmpeg->setCancelCheck([this] { return m_cancel.load(); });
    ++s_running;
    m_thread = std::thread([this] { run(); });
}

Builder::~Builder()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

int Builder::threadsRunning()
{
    return s_running.load();
}

Builder::Progress Builder::progress() const
{
    return {m_done.load(), m_total.load(), m_finished.load(), m_failed.load()};
}

bool Builder::waitUntilFinished(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    return m_end.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [this] { return m_finished.load(); });
}

const Material *Builder::material() const
{
    return m_finished && !m_failed ? &m_material : nullptr;
}

void Builder::run()
{
    const bool ok = read();
    // Nothing of the source stays open once its work is done.
    m_source.reset();
    {
        std::lock_guard lock(m_mutex);
        m_failed = !ok;
        m_finished = true;
    }
    m_end.notify_all();
    --s_running;
}

bool Builder::read()
{
    FrameSource &source = *m_source;
    if (!source.open(m_plan.videoPath) || !source.hasVideo())
        return false;
    const QSize size = source.displaySize();
    if (size.isEmpty() || m_plan.previewSize.isEmpty())
        return false;
    const double sx = double(size.width()) / m_plan.previewSize.width();
    const double sy = double(size.height()) / m_plan.previewSize.height();
    m_material.pictureSize = size;
    m_material.scale = std::max(sx, sy);
    const auto pictureMove = [&](QPointF previewMove) {
        return wholePixels(QPointF(previewMove.x() * sx, previewMove.y() * sy));
    };

    // The frames to read, each with what it gives.
    struct Use
    {
        bool background = false;
        std::vector<std::pair<size_t, size_t>> points; // object, point
    };
    std::map<qint32, Use> uses;
    const qint64 frameBytes = qint64(size.width()) * size.height() * 3;
    int count = int(std::clamp<qint64>(BackgroundBudgetBytes / std::max<qint64>(frameBytes, 1), 5,
                                       MaxBackgroundFrames));
    count -= 1 - count % 2; // odd: a true middle value
    for (qint32 f : m_plan.backgroundFrames(count))
        uses[f].background = true;
    m_material.cutouts.resize(m_plan.objects.size());
    for (size_t o = 0; o < m_plan.objects.size(); ++o) {
        m_material.cutouts[o].resize(m_plan.objects[o].points.size());
        for (size_t p = 0; p < m_plan.objects[o].points.size(); ++p)
            uses[m_plan.objects[o].points[p].frame].points.emplace_back(o, p);
    }
    m_total = int(uses.size());

    // The square kept around each point: room for a large object.
    const int half =
        std::clamp(int(std::lround(std::max(size.width(), size.height()) / 12.0)), 24, 200);
    std::vector<cv::Mat> backgrounds;
    for (const auto &[frame, use] : uses) {
        if (m_cancel)
            return false;
        const QImage image = source.fullFrame(frame).convertToFormat(QImage::Format_RGB32);
        ++m_done;
        if (image.isNull())
            continue;
        // Only what is kept is turned into RGB: the whole frame for the
        // background, the squares around the points.
        const QImage sized = image.size() == size ? image : image.scaled(size);
        const cv::Mat view = viewOf(sized);
        if (use.background) {
            const cv::Point move = pictureMove(m_plan.cameraMoveAt(frame));
            backgrounds.push_back(
                rgbOf(move == cv::Point()
                          ? view
                          : alignedRegion(view, cv::Rect(cv::Point(), view.size()), move)));
        }
        for (const auto &[o, p] : use.points) {
            const PlottedPoint &point = m_plan.objects[o].points[p];
            const QPointF at = pictureFromPreview(point.position, m_plan.previewSize, size);
            Cutout &c = m_material.cutouts[o][p];
            c.centre = cv::Point2d(at.x(), at.y());
            c.origin = wholePixels(at) - cv::Point(half, half);
            c.region =
                rgbOf(alignedRegion(view, cv::Rect(c.origin, cv::Size(2 * half + 1, 2 * half + 1)),
                                    pictureMove(point.cameraMove)));
        }
    }
    if (backgrounds.empty())
        return false;
    m_material.background = medianPicture(backgrounds);
    backgrounds.clear();
    std::vector<Cutout> all;
    for (const auto &object : m_material.cutouts)
        all.insert(all.end(), object.begin(), object.end());
    // A plotted point is a whole preview pixel: up to half of one off.
    m_material.discRadius =
        discRadiusFor(objectReach(m_material.background, all), m_material.scale / 2);
    return !m_cancel;
}

} // namespace strobe
