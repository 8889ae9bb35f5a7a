// longsession: a long scripted session on the real windows, to show that
// memory does not grow with use. It opens and closes a clip 100 times, plots
// 200 points and erases them one by one, loads and saves 100 measurement
// files and opens and closes each result window 50 times, printing the
// resident memory at the start, after the first and the last repetition of
// each phase, and at the end.
//
//   longsession [--scale F] [--clip FILE] [--no-pixmap-cache]
//
// --scale multiplies every repetition count (0.5 for a half session; compare
// the figures of both). Without --clip a generated 300-frame MPEG-2 clip is
// used. --no-pixmap-cache turns off Qt's shared cache of the pixmaps the style
// draws (it holds up to 10 MB, and each new result window's palette gives its
// buttons new entries), so that the figures show only the program's memory.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "clip_maker.h"
#include "memory_usage.h"
#include "session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QPixmapCache>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption scaleOption(QStringLiteral("scale"),
                                   QStringLiteral("Multiply every repetition count by F."),
                                   QStringLiteral("F"), QStringLiteral("1"));
    QCommandLineOption clipOption(QStringLiteral("clip"),
                                  QStringLiteral("The clip to open (at least 200 frames)."),
                                  QStringLiteral("FILE"));
    QCommandLineOption noPixmapCacheOption(QStringLiteral("no-pixmap-cache"),
                                           QStringLiteral("Turn off Qt's shared pixmap cache."));
    parser.addOptions({scaleOption, clipOption, noPixmapCacheOption});
    parser.process(app);
    if (parser.isSet(noPixmapCacheOption))
        QPixmapCache::setCacheLimit(0);

    bool scaleOk = false;
    const double scale = parser.value(scaleOption).toDouble(&scaleOk);
    if (!scaleOk || scale <= 0 || scale > 1) {
        out << "--scale takes a number above 0 and at most 1" << Qt::endl;
        return 2;
    }
    auto scaled = [scale](int n) { return std::max(3, int(n * scale + 0.5)); };
    SessionCounts counts;
    counts.openClose = scaled(counts.openClose);
    counts.points = scaled(counts.points);
    counts.files = scaled(counts.files);
    counts.resultWindows = scaled(counts.resultWindows);

    QString clip = parser.value(clipOption);
    if (clip.isEmpty()) {
        clip = ClipMaker::path(ClipKind::MpegPs2_2997);
        if (clip.isEmpty()) {
            out << "could not make the clip: " << ClipMaker::lastError() << Qt::endl;
            return 2;
        }
    }

    out << QStringLiteral("clip %1; open/close %2, points %3, files %4, result windows %5 each")
               .arg(clip)
               .arg(counts.openClose)
               .arg(counts.points)
               .arg(counts.files)
               .arg(counts.resultWindows)
        << Qt::endl;
    QElapsedTimer clock;
    clock.start();
    bool ok = false;
    {
        LongSession session(clip, counts, out);
        ok = session.run();
    }
    out << memoryLine(QStringLiteral("end (session gone)"), MemoryUsage::now()) << Qt::endl;
    out << QStringLiteral("%1 in %2 s").arg(ok ? "done" : "stopped").arg(clock.elapsed() / 1000)
        << Qt::endl;
    return ok ? 0 : 1;
}
