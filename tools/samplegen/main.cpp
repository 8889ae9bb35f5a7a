// Makes a sample clip: draws every frame of a scene (the thrown ball, the
// pendulum, or the collision of two carts) and hands the pictures to the
// ffmpeg program, which writes a Motion JPEG AVI.
//
//   samplegen <ffmpeg program> <output .avi> [throw | pendulum | elastic | inelastic]

#include "collision_scene.h"
#include "pendulum_scene.h"
#include "throw_scene.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <cstdio>
#include <functional>

// Both scenes go through the same encoder settings.
static_assert(CollisionScene::Width == ThrowScene::Width &&
              CollisionScene::Height == ThrowScene::Height &&
              CollisionScene::FramesPerSecond == ThrowScene::FramesPerSecond);

namespace {
int fail(const QString &message)
{
    std::fprintf(stderr, "samplegen: %s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    // Drawing text needs a GUI application but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 && args.size() != 4)
        return fail(QStringLiteral("usage: samplegen <ffmpeg program> <output .avi> "
                                   "[throw | pendulum | elastic | inelastic]"));
    const QString ffmpeg = args.at(1);
    const QString output = args.at(2);
    const QString scene = args.size() == 4 ? args.at(3) : QStringLiteral("throw");
    const bool pendulum = scene == QLatin1String("pendulum");
    const bool collision = scene == QLatin1String("elastic") || scene == QLatin1String("inelastic");
    const bool elastic = scene == QLatin1String("elastic");
    QSize size = ThrowScene::size();
    int rate = ThrowScene::FramesPerSecond;
    int frames = ThrowScene::frameCount();
    std::function<QImage(int)> frame = &ThrowScene::frame;
    if (pendulum) {
        size = PendulumScene::size();
        rate = PendulumScene::FramesPerSecond;
        frames = PendulumScene::frameCount();
        frame = &PendulumScene::frame;
    } else if (collision) {
        size = QSize(CollisionScene::Width, CollisionScene::Height);
        rate = CollisionScene::FramesPerSecond;
        frames = CollisionScene::Frames;
        frame = [elastic](int i) { return CollisionScene::frame(i, elastic); };
    }
    // Written under a temporary name first so that a failed run never
    // leaves a half-written clip that looks finished.
    const QString partial = output + QStringLiteral(".part.avi");
    QDir().mkpath(QFileInfo(output).absolutePath());

    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.start(ffmpeg, {QStringLiteral("-nostdin"),
                           QStringLiteral("-y"),
                           QStringLiteral("-loglevel"),
                           QStringLiteral("error"),
                           QStringLiteral("-f"),
                           QStringLiteral("rawvideo"),
                           QStringLiteral("-pixel_format"),
                           QStringLiteral("rgb24"),
                           QStringLiteral("-video_size"),
                           QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                           QStringLiteral("-framerate"),
                           QString::number(rate),
                           QStringLiteral("-i"),
                           QStringLiteral("-"),
                           QStringLiteral("-c:v"),
                           QStringLiteral("mjpeg"),
                           QStringLiteral("-q:v"),
                           QStringLiteral("3"),
                           QStringLiteral("-pix_fmt"),
                           QStringLiteral("yuvj420p"),
                           partial});
    if (!encoder.waitForStarted(30000))
        return fail(QStringLiteral("cannot start %1").arg(ffmpeg));

    for (int i = 0; i < frames; ++i) {
        const QImage image = frame(i);
        for (int y = 0; y < image.height(); ++y) {
            const char *row = reinterpret_cast<const char *>(image.constScanLine(y));
            encoder.write(row, qint64(image.width()) * 3);
        }
        if (!encoder.waitForBytesWritten(30000) && encoder.bytesToWrite() > 0)
            return fail(QStringLiteral("ffmpeg stopped taking frames"));
    }
    encoder.closeWriteChannel();
    if (!encoder.waitForFinished(120000) || encoder.exitStatus() != QProcess::NormalExit ||
        encoder.exitCode() != 0) {
        QFile::remove(partial);
        return fail(QStringLiteral("ffmpeg failed to write %1").arg(partial));
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output))
        return fail(QStringLiteral("cannot rename %1 to %2").arg(partial, output));
    return 0;
}
