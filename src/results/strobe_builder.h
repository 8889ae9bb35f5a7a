#pragma once
// Reads what a strobe picture needs from the video, on a thread of its own
// with a frame source of its own (never the main window's): every plotted
// frame and a few frames spread over the measurement, each once, in order.
// It keeps the background frames whole and of each plotted frame only the
// square around its point, then takes the median background and measures the
// object. The window then composes any choice from that at once.
//
// Destroying the builder stops the thread within one frame's decoding and
// waits for it, so a window can be closed at any time.

#include "results/strobe_composition.h"
#include "results/strobe_plan.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FrameSource;

namespace strobe {

struct Material
{
    cv::Mat background;                       // RGB, the video's own size
    std::vector<std::vector<Cutout>> cutouts; // per object, per point (empty region: unread)
    double discRadius = 0;                    // picture pixels
    double scale = 1;                         // picture pixels per preview pixel (the larger)
    QSize pictureSize;
};

class Builder
{
public:
    struct Progress
    {
        int done = 0;  // frames read
        int total = 0; // frames to read
        bool finished = false;
        bool failed = false; // the video could not be read
    };

    // Starts at once. `source` is opened on the thread.
    Builder(Plan plan, std::unique_ptr<FrameSource> source);
    ~Builder();
    Builder(const Builder &) = delete;
    Builder &operator=(const Builder &) = delete;

    Progress progress() const;
    // Waits for the end; false when `milliseconds` pass first.
    bool waitUntilFinished(int milliseconds);
    // After a successful finish; null before or after a failure.
    const Material *material() const;
    const Plan &plan() const { return m_plan; }

    // Threads of all builders still running (the tests check that closing a
    // window leaves none).
    static int threadsRunning();

    // Background frames kept at most, and their memory budget.
    static constexpr int MaxBackgroundFrames = 15;
    static constexpr qint64 BackgroundBudgetBytes = qint64(192) * 1024 * 1024;

private:
    void run();
    bool read();

    const Plan m_plan;
    std::unique_ptr<FrameSource> m_source;
    Material m_material;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_done{0};
    std::atomic<int> m_total{0};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_failed{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_end;
    std::thread m_thread;
};

} // namespace strobe
