#include "video/frame_navigation.h"

#include "base/numbers.h"

#include <cmath>

namespace nav {

qint32 clampPosition(double position, qint32 totalFrames, qint32 fallback)
{
    if (std::isnan(position))
        return fallback;
    const double rounded = num::roundHalfEven(position);
    // Compare as doubles first: an interval such as 1e300 must not overflow.
    if (rounded <= 0 || totalFrames <= 0)
        return 0;
    if (rounded >= totalFrames)
        return totalFrames;
    return static_cast<qint32>(rounded);
}

double stepInterval(QStringView rateText)
{
    const double r = num::leadingNumber(rateText);
    return std::isnan(r) ? 0.0 : r;
}

qint32 steppedPosition(qint32 position, double frames, qint32 totalFrames)
{
    return clampPosition(double(position) + frames, totalFrames, position);
}

std::optional<qint32> totalFramesFor(double lengthSeconds, double frameRate)
{
    return num::toInt32(lengthSeconds * frameRate);
}

SliderSteps sliderSteps(qint32 totalFrames)
{
    SliderSteps steps;
    steps.large = static_cast<int>(num::roundHalfEven(totalFrames / 10.0));
    steps.small = static_cast<int>(num::roundHalfEven(totalFrames / 100.0));
    return steps;
}

double positionSeconds(qint32 position, double frameRate)
{
    return frameRate == 0 ? 0.0 : position / frameRate;
}

QString timeLabel(qint32 position, qint32 totalFrames, double frameRate)
{
    return num::fixed2(positionSeconds(position, frameRate)) + QStringLiteral("秒 / ") +
           num::fixed2(positionSeconds(totalFrames, frameRate)) + QStringLiteral("秒");
}

QString countLabel(qint32 totalFrames)
{
    return QStringLiteral("/ ") + QString::number(totalFrames);
}

QString frameRateLabel(double frameRate)
{
    return num::fixed2(frameRate);
}

QString forwardStepTip(const QString &rateText)
{
    return rateText + QStringLiteral("コマ進めます");
}

QString backStepTip(const QString &rateText)
{
    return rateText + QStringLiteral("コマ戻します");
}

qint32 pauseSeconds(double playerSeconds)
{
    return num::toInt32(playerSeconds).value_or(0);
}

qint32 pausePosition(qint32 seconds, double frameRate, qint32 totalFrames)
{
    return clampPosition(double(seconds) * frameRate, totalFrames, 0);
}

} // namespace nav
