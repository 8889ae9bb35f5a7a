#pragma once
// What the student is told when automatic tracking ends by itself (not by
// "追跡停止" or Esc, and not lost, which has its own message): how many
// points it plotted, then why it stopped, one line each.

#include <QString>

enum class TrackingEndReason
{
    LastFrame,   // the end of the video
    PointLimit,  // 200 points
    LeftPicture, // the object reached the edge of the picture
};

struct TrackingEnd
{
    int points = 0; // plotted by this run of tracking
    TrackingEndReason reason = TrackingEndReason::LastFrame;
};

// "自動追跡を終えました（N点）。" and the reason on the next line.
QString trackingEndMessage(const TrackingEnd &end);
