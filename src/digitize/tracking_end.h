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
    int points = 0;          // plotted by this run of tracking
    double lowestScore = -1; // the weakest match of those points; below 0: none
    TrackingEndReason reason = TrackingEndReason::LastFrame;
};

// "自動追跡を終えました（N点）。", the reason on the next line, and the
// weakest match among the points when there are any.
QString trackingEndMessage(const TrackingEnd &end);

// "追跡した点の一致度は、最も低いもので 0.91 でした。"
QString trackingScoreLine(double lowestScore);
