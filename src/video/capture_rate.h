#pragma once
// The capture rate: how many frames of each real second a video holds. A
// high-speed camera or a phone filming slow motion takes 120 to 1200 frames
// a second and saves them to play at 30 a second; times and speeds are then
// worked out with the filming rate (FrameRate), while slider positions and
// decoding keep the file's own rate. These are the texts and the check of a
// typed rate.

#include <QString>
#include <optional>

namespace capture {

// The rate as the tooltip and the questions write it: "240", "29.97",
// "29.97003" for 30000/1001 (at most 7 significant digits).
QString rateText(double rate);
// Two rates are the same when they write the same.
bool sameRate(double a, double b);

// A rate typed into the input box. Accepted: a plain decimal number (a
// point and full-width digits allowed, blanks around it ignored) from
// FrameSource::MinCaptureRate to MaxCaptureRate. Anything else gives the
// message that says why, and no rate.
struct Entry
{
    std::optional<double> rate;
    QString problem;
};
Entry readEntry(const QString &text);

// "撮影したときの１秒間のコマ数を入力して下さい。"
QString inputPrompt();
// "この映像は１秒間に240コマで撮影されています。240コマとして計算しますか？"
QString fileRateQuestion(double captureRate);
// The readout's tooltip while the rate in use is not the file's:
// "撮影 240 コマ／秒（ファイルは 30 コマ／秒で再生）".
QString readoutTip(double rateInUse, double playbackRate);
// The tooltip of the button that opens the input box.
QString buttonTip();

} // namespace capture
