#include "video/capture_rate.h"

#include "base/numbers.h"
#include "platform/frame_source.h"

#include <QRegularExpression>

namespace capture {

QString rateText(double rate)
{
    return num::numberText(float(rate));
}

bool sameRate(double a, double b)
{
    return rateText(a) == rateText(b);
}

Entry readEntry(const QString &text)
{
    // Typed with the Japanese input method on, digits and the point come
    // full-width; compatibility normalisation makes them plain.
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString range = rateText(FrameSource::MinCaptureRate) + QStringLiteral(" から ") +
                          rateText(FrameSource::MaxCaptureRate);
    const QString unchanged = QStringLiteral("\r\nコマ数は変わっていません。");
    if (!number.match(plain).hasMatch())
        return {std::nullopt,
                QStringLiteral("１秒間のコマ数は数字で入力して下さい（例：240、29.97）。") +
                    unchanged};
    const double rate = num::leadingNumber(plain);
    if (!(rate >= FrameSource::MinCaptureRate && rate <= FrameSource::MaxCaptureRate))
        return {std::nullopt, QStringLiteral("１秒間のコマ数は ") + range +
                                  QStringLiteral(" までの数で入力して下さい。") + unchanged};
    return {rate, QString()};
}

QString inputPrompt()
{
    return QStringLiteral("撮影したときの１秒間のコマ数を入力して下さい。");
}

QString fileRateQuestion(double captureRate)
{
    const QString rate = rateText(captureRate);
    return QStringLiteral("この映像は１秒間に") + rate +
           QStringLiteral("コマで撮影されています。") + rate +
           QStringLiteral("コマとして計算しますか？");
}

QString readoutTip(double rateInUse, double playbackRate)
{
    return QStringLiteral("撮影 ") + rateText(rateInUse) +
           QStringLiteral(" コマ／秒（ファイルは ") + rateText(playbackRate) +
           QStringLiteral(" コマ／秒で再生）");
}

QString buttonTip()
{
    return QStringLiteral("撮影したときの１秒間のコマ数を変えます"
                          "（ハイスピード撮影やスロー映像のとき）");
}

} // namespace capture
