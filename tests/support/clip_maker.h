#pragma once
// Small test videos made with the ffmpeg command-line program on first use
// and kept in the build folder for later runs. Every frame of a numbered clip
// shows its own frame number (see frame_number_pattern.h), so a test can
// read back which frame a decoder really delivered.
//
//   const QString file = ClipMaker::path(ClipKind::MovH264_60);
//   QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
//   ... readFrameNumber(image) == 42 ...

#include "frame_number_pattern.h"

#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>

enum class ClipKind
{
    // Numbered clips, 160 x 120 unless said otherwise:
    AviMjpeg25,      // AVI, Motion JPEG, 25 fps, 75 frames
    AviMpeg4_2997,   // AVI, MPEG-4 part 2 with B-frames, 29.97 fps, 150 frames
    MpegPs1_25,      // .mpg MPEG-1 system stream, MPEG-1 video with B-frames, 25 fps, 75 frames
    MpegPs2_2997,    // .mpg MPEG-2 program stream with B-frames, 29.97 fps, 300 frames (10.01 s)
    MovH264_60,      // MOV, H.264, B-frames, keyframes 120 apart, 60 fps, 240 frames
    Mp4H264_240,     // MP4, H.264, B-frames, keyframes 240 apart, 240 fps, 720 frames
    MovHevc30,       // MOV, HEVC, B-frames, open groups 60 apart, 30 fps, 120 frames
    Wide16x9,        // MP4, H.264, 192 x 108, 25 fps, 50 frames, with a sound track
    Rotated90,       // MOV, H.264, 30 fps, 60 frames, stored 120 x 160 on its side with a
                     // display matrix turning it 90 degrees clockwise (upright 160 x 120)
    Rotated180,      // as Rotated90, stored upside down, turned 180 degrees
    Rotated270,      // as Rotated90, on its other side, turned 270 degrees clockwise
    NonSquarePixels, // MP4, H.264, stored 120 x 120 with pixel aspect 4:3 (shown 160 x 120)
    JapaneseName,    // AVI, Motion JPEG, 30 fps, 30 frames, Japanese folder and file name
    MkvH264_2997,    // Matroska (timestamps in whole milliseconds), H.264, 29.97 fps, 150 frames

    // Files that are not (usable) videos:
    AudioOnly,      // AVI holding only a PCM sound stream
    ZeroBytes,      // an empty .avi file
    TextAsAvi,      // a text file named .avi
    TruncatedAvi,   // the first 40 % of AviMpeg4_2997
    TruncatedMov,   // the first half of MovH264_60 (its index is at the end)
    NoVideoPackets, // AVI with a Motion JPEG stream in its header but no frames
    UnknownCodec,   // AVI whose video stream has a codec tag no decoder knows
    NoDecoder,      // AVI whose video stream is AVS2, a format without a decoder here

    // Numbered, but frame n is not at n / rate: frames 0..29 are 1/30 s apart,
    // frames 30..59 2/30 s apart (MP4, H.264, about 20 fps on average).
    VariableRate,

    // Slow motion as a phone saves it: a ball falling from rest, filmed at
    // 240 frames per second and saved to play at 30, with the filming rate
    // in the MP4 metadata (com.android.capture.fps). See FallingBall.
    FallingBall240,
    // A black disc, 60 pixels across, in the middle of a white picture, 25 fps,
    // 10 frames: a wide video (MP4, H.264, 192 x 108) and an upright phone
    // video (MOV, H.264, stored 160 x 90 on its side with a display matrix
    // turning it 90 degrees clockwise: upright 90 x 160).
    CircleWide,
    CirclePortrait,
};

struct ClipSpec
{
    QString fileName; // relative to ClipMaker::dataDir()
    int frames = 0;   // number of frames, 0 for files that are not numbered clips
    int rateNum = 0;  // exact frame rate rateNum / rateDen
    int rateDen = 1;
    QSize displaySize; // upright size with square pixels
    bool numbered() const { return frames > 0; }
    double frameRate() const { return double(rateNum) / rateDen; }
};

// The scene of ClipKind::FallingBall240, in the clip's own pixels (Y down).
struct FallingBall
{
    static constexpr int Width = 320;
    static constexpr int Height = 240;
    static constexpr int Frames = 109; // 0.45 s of real time
    static constexpr double CaptureRate = 240;
    static constexpr double PlaybackRate = 30;
    static constexpr double Gravity = 9.8;          // m/s²
    static constexpr double PixelsPerMetre = 200.0; // marks at TopY and TopY + 200 are 1 m apart
    static constexpr double X = 200.0;
    static constexpr double TopY = 20.0; // the ball's centre at frame 0, at rest
    static constexpr double Radius = 6.0;
    static constexpr double MarkLeft = 20.0, MarkRight = 80.0;

    // Centre of the ball at frame n (n / CaptureRate seconds after release).
    static QPointF centre(int frame);
};

class ClipMaker
{
public:
    // Full path of the clip, made first if it is not there yet; empty when
    // it could not be made (lastError() says why).
    static QString path(ClipKind kind);
    static ClipSpec spec(ClipKind kind);
    // A short name for test tables, e.g. "MovH264_60".
    static QString name(ClipKind kind);
    // Every clip whose frame n shows number n at n / rate (VariableRate is not one).
    static QList<ClipKind> numberedKinds();
    static QString dataDir();
    static QString lastError();
};
