#pragma once
// What the preview needs from a video file: its streams, the video stream's
// length and frame rate, its display size, and the picture shown at a slider
// position, already scaled for the preview.
//
// Positions and frames. Slider position n stands for the time n / frameRate()
// seconds after the start of the video stream. The picture shown there is the
// last frame whose own timestamp (relative to the first frame's) is not later
// than that time; one tick of the container's clock, at most a quarter frame,
// is allowed for the rounding of timestamps.
// With a constant frame rate this is exactly the n-th frame of the stream,
// counted from 0. With a variable frame rate it is the frame really on screen
// at that time, so that times computed from positions stay true. A time
// before the first frame shows the first frame; a time at or after the last
// frame (position frameCount(), one past the end) shows the last one.
//
// One object reads one file and is used from one thread at a time; objects
// share nothing, so a worker thread may own a second one for the same file.

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector>
#include <QtGlobal>

enum class StreamKind
{
    Video,
    Audio,
    Other
};

class FrameSource
{
public:
    // The rates a video can have been filmed at, as far as this program
    // takes them: from a time-lapse frame a second to the fastest cameras.
    static constexpr double MinCaptureRate = 1;
    static constexpr double MaxCaptureRate = 100000;

    virtual ~FrameSource() = default;

    // Opens the file and picks its video stream. False when the file cannot
    // be read as media at all; a file that opens but has no video stream
    // returns true with hasVideo() false, so that the caller can tell the two
    // apart. Opening again replaces the previous file.
    virtual bool open(const QString &path) = 0;
    virtual void close() = 0;
    virtual QString path() const = 0;

    // Every stream of the file in file order, by kind. Cover pictures
    // attached to audio files count as Other, not Video.
    virtual QVector<StreamKind> streams() const = 0;
    bool hasVideo() const { return streams().contains(StreamKind::Video); }
    // The name of the video stream's format when no decoder here can read it
    // ("hevc" on a system without one, or the file's own tag for a format
    // unknown to the decoder library); empty when it can be decoded or there
    // is no video stream. Such a file has a video that cannot be shown.
    virtual QString undecodableFormat() const { return {}; }

    // Length of the video stream in seconds (0 without one).
    virtual double streamLengthSeconds() const = 0;
    // Average frame rate of the video stream, falling back to its base rate;
    // 0 without a video stream.
    virtual double frameRate() const = 0;
    // The rate the video was filmed at, when the file says so and it is a
    // plausible rate (MinCaptureRate to MaxCaptureRate frames per second): phones that film slow
    // motion save 120 to 960 frames of each second to play at 30 per second
    // and note the real rate (com.android.capture.fps). 0 when the file says
    // nothing. Positions and decoding always follow frameRate().
    virtual double captureRate() const { return 0; }
    // Number of slider steps: stream length times frame rate, rounded to the
    // nearest integer with halves to even. Position frameCount() is valid and
    // shows the last frame.
    qint32 frameCount() const;

    // Size of the picture as it is meant to be seen: pixel aspect ratio
    // applied and rotation taken into account (a portrait phone video is
    // taller than wide). Empty without a video stream.
    virtual QSize displaySize() const = 0;
    // Clockwise rotation in degrees (0, 90, 180, 270) applied to the decoded
    // picture to show it upright.
    virtual int rotationDegrees() const = 0;

    // The picture at slider position `index` (see above), scaled to exactly
    // `size`. A null image when the frame cannot be decoded (the caller then
    // keeps its previous picture). By default frameAtTime(index / frameRate());
    // a caching source may answer from its cache first.
    virtual QImage frame(qint32 index, QSize size);
    // The picture at `index` at the video's own size (displaySize()), for
    // measuring on. A caching source decodes it beside its preview pictures
    // without keeping it, so that it takes no room from them.
    virtual QImage fullFrame(qint32 index) { return frame(index, displaySize()); }
    // The caller reads the frames in order itself for a while (tracking): a
    // source that decodes ahead in the background holds off meanwhile.
    virtual void setReadingInOrder(bool) {}
    // The picture shown `seconds` after the start of the video stream.
    virtual QImage frameAtTime(double seconds, QSize size) = 0;
    // Timestamp in seconds (relative to the stream start) of the frame that
    // the last successful frame() or frameAtTime() call returned; -1 before.
    virtual double lastFrameSeconds() const = 0;
};

// The main window's picture region in preview pixels: a 4:3 video fills it,
// any other is shown as large as fits, in its own proportions.
inline QSize previewBox()
{
    return QSize(640, 480);
}

// Fits a display size into a box keeping its proportions: as large as
// possible with neither side beyond the box, sides rounded to whole pixels
// (halves to even), at least 1 pixel each. An empty display size gives the box.
QSize previewSizeFor(QSize displaySize, QSize box = previewBox());

// A position on the preview (pixel n at position n, as a click reports it) on
// the picture at the video's own size, in the same pixel convention: the
// centre of preview pixel n lies at the centre of the picture's pixels it
// covers. Measuring, tracking and the strobe picture all convert this way.
QPointF pictureFromPreview(QPointF preview, QSize previewSize, QSize pictureSize);

