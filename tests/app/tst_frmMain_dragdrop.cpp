// Dropping files onto the main window: one local video file opens as the open
// command would; anything else is refused, and a file that is not a video
// gets the same message as from the open dialog.

#include "app/dropped_video.h"
#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"
#include "video/video_part.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kNoVideo = QStringLiteral("選択したファイルは映像が含まれていません");

std::unique_ptr<QMimeData> urlData(const QList<QUrl> &urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}
} // namespace

class tst_frmMain_dragdrop : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;

    // Drag enter, then drop, as the window system delivers them.
    bool dragEnterAccepted(const QMimeData &data)
    {
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        return enter.isAccepted();
    }
    bool drop(const QMimeData &data)
    {
        dragEnterAccepted(data);
        QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &event);
        QCoreApplication::processEvents(); // the open runs after the drop
        return event.isAccepted();
    }

private slots:
    void init();
    void cleanup();
    void pathOfDrop_data();
    void pathOfDrop();
    void droppedVideoOpens();
    void droppedNonVideoGetsTheOpenMessage();
    void refusedDropsChangeNothing();
};

void tst_frmMain_dragdrop::init()
{
    m_platform = std::make_unique<TestPlatform>();
    resetMeasurementState();
    m_window = std::make_unique<frmMain>();
    m_window->show();
}

void tst_frmMain_dragdrop::cleanup()
{
    m_window.reset();
    m_platform.reset();
}

void tst_frmMain_dragdrop::pathOfDrop_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("taken");
    QTest::newRow("one local file") << "file" << true;
    QTest::newRow("two local files") << "two" << false;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("a missing file") << "missing" << false;
    QTest::newRow("a web address") << "web" << false;
    QTest::newRow("text only") << "text" << false;
}

void tst_frmMain_dragdrop::pathOfDrop()
{
    QFETCH(QString, what);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("実験 1.avi"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QUrl fileUrl = QUrl::fromLocalFile(file);

    auto data = std::make_unique<QMimeData>();
    if (what == "file")
        data->setUrls({fileUrl});
    else if (what == "two")
        data->setUrls({fileUrl, fileUrl});
    else if (what == "folder")
        data->setUrls({QUrl::fromLocalFile(dir.path())});
    else if (what == "missing")
        data->setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("none.avi")))});
    else if (what == "web")
        data->setUrls({QUrl(QStringLiteral("https://example.com/a.avi"))});
    else
        data->setText(file);

    QCOMPARE(droppedVideoPath(*data), taken ? file : QString());
}

void tst_frmMain_dragdrop::droppedVideoOpens()
{
    const QString file = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    MeasurementState &s = measurementState();
    s.PointCount = 2;
    s.RefLengthPixels = 40;
    s.markPointsWritten(); // saved: replaced without a question

    const auto data = urlData({QUrl::fromLocalFile(file)});
    QVERIFY(dragEnterAccepted(*data));
    QVERIFY(drop(*data));

    QVERIFY(m_window->state().VideoOpen);
    QCOMPARE(s.VideoPath, file);
    QCOMPARE(m_window->video().chosenFilePath(), file);
    QCOMPARE(s.FrameRate, 25.0);
    // The measurement of the previous video is gone, as after the open command.
    QCOMPARE(s.PointCount, qint16(0));
    QCOMPARE(s.RefLengthPixels, 0.0f);
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(m_platform->fileDialogs->filtersSeen.isEmpty()); // no dialog was shown
}

void tst_frmMain_dragdrop::droppedNonVideoGetsTheOpenMessage()
{
    const QString video = ClipMaker::path(ClipKind::AviMjpeg25);
    const QString text = ClipMaker::path(ClipKind::TextAsAvi);
    QVERIFY2(!video.isEmpty() && !text.isEmpty(), qPrintable(ClipMaker::lastError()));
    QVERIFY(drop(*urlData({QUrl::fromLocalFile(video)})));
    QVERIFY(m_window->state().VideoOpen);

    QVERIFY(drop(*urlData({QUrl::fromLocalFile(text)})));
    QCOMPARE(m_platform->prompts->texts(), QStringList{kNoVideo});
    // The open video stays.
    QVERIFY(m_window->state().VideoOpen);
    QCOMPARE(measurementState().VideoPath, video);
}

void tst_frmMain_dragdrop::refusedDropsChangeNothing()
{
    const QString file = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    const auto two = urlData({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)});
    QVERIFY(!dragEnterAccepted(*two));
    QVERIFY(!drop(*two));
    const auto folder = urlData({QUrl::fromLocalFile(QFileInfo(file).absolutePath())});
    QVERIFY(!dragEnterAccepted(*folder));
    QVERIFY(!drop(*folder));

    QVERIFY(!m_window->state().VideoOpen);
    QVERIFY(m_platform->prompts->shown.isEmpty());
}

QTEST_MAIN(tst_frmMain_dragdrop)
#include "tst_frmMain_dragdrop.moc"
