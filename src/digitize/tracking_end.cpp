#include "digitize/tracking_end.h"

#include <QStringList>

namespace {

QString reasonText(TrackingEndReason reason)
{
    switch (reason) {
    case TrackingEndReason::LastFrame:
        return QStringLiteral("映像の終わりまで追跡しました。");
    case TrackingEndReason::PointLimit:
        return QStringLiteral("点は２００個までしか打てません。");
    case TrackingEndReason::LeftPicture:
        return QStringLiteral("物体が画面の端に出ました。");
    }
    return {};
}

} // namespace

QString trackingScoreLine(double lowestScore)
{
    return QStringLiteral("追跡した点の一致度は、最も低いもので %1 でした。")
        .arg(QString::number(lowestScore, 'f', 2));
}

QString trackingEndMessage(const TrackingEnd &end)
{
    QStringList lines;
    lines << QStringLiteral("自動追跡を終えました（%1点）。").arg(end.points);
    lines << reasonText(end.reason);
    if (end.lowestScore >= 0)
        lines << trackingScoreLine(end.lowestScore);
    return lines.join(QLatin1Char('\n'));
}
