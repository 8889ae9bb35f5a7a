#pragma once
// Frame positions and the texts that describe them, without a window: the
// plotting interval typed by the user, steps held within the video, the
// slider's steps, the position and time read-outs and the frame that a pause
// of the continuous player stands for.
//
// A position is a slider value from 0 to the video's frame count inclusive;
// position n is shown at n / frame rate seconds.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace nav {

// Holds a computed position (any real number) within 0..totalFrames after
// rounding it to the nearest integer, halves to the even neighbour. A value
// that is not a number stays at `fallback`.
qint32 clampPosition(double position, qint32 totalFrames, qint32 fallback = 0);

// The plotting interval as typed in the interval box: the leading number of
// the text, fractions and signs allowed, 0 when there is none.
double stepInterval(QStringView rateText);

// The position reached from `position` by `frames` (negative = back),
// rounded half to even and held within 0..totalFrames. A step of
// 1.5 from 2 goes to 4 (3.5 rounds up to even), back to 0 (0.5 rounds down).
qint32 steppedPosition(qint32 position, double frames, qint32 totalFrames);

// Number of slider positions of a video: length x rate rounded half to even.
// Empty when the product does not fit a 32-bit integer or is not a number.
std::optional<qint32> totalFramesFor(double lengthSeconds, double frameRate);

// The slider's page step (a tenth of the frames) and arrow-key step (a
// hundredth), each rounded half to even: 300 frames give 30 and 3.
struct SliderSteps
{
    int large = 0;
    int small = 0;
};
SliderSteps sliderSteps(qint32 totalFrames);

// Seconds of a position; 0 when the rate is 0 (no video yet).
double positionSeconds(qint32 position, double frameRate);

// "0.83秒 / 10.00秒": current and total time with two decimals.
QString timeLabel(qint32 position, qint32 totalFrames, double frameRate);
// "/ 300"
QString countLabel(qint32 totalFrames);
// The rate read-out while a video is open: "29.97".
QString frameRateLabel(double frameRate);

// Tooltips of the two step buttons, built from the interval text as typed.
QString forwardStepTip(const QString &rateText);
QString backStepTip(const QString &rateText);

// The continuous player's pause: its position rounded to whole seconds
// (halves to even), and the slider position for those seconds, held within
// 0..totalFrames. 2.4 s and 2.5 s give 2 s, 2.6 s gives 3 s; 2 s at 30 frames
// per second is position 60.
qint32 pauseSeconds(double playerSeconds);
qint32 pausePosition(qint32 seconds, double frameRate, qint32 totalFrames);

} // namespace nav
