// The rate a video was filmed at: what the input box takes, the texts that
// name it, and the rate the FFmpeg source reads from a file's metadata.

#include "clip_maker.h"
#include "platform/ffmpeg_frame_source.h"
#include "video/capture_rate.h"

#include <QtTest>

class TestCaptureRate : public QObject
{
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void texts();
    void rateFromTheFile();
};

void TestCaptureRate::entries_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("rate"); // 0: refused
    QTest::addColumn<bool>("outOfRange");

    QTest::newRow("whole") << "240" << 240.0 << false;
    QTest::newRow("decimals") << "29.97" << 29.97 << false;
    QTest::newRow("blanks around") << "  120 " << 120.0 << false;
    QTest::newRow("full-width digits and point") << "２９．９７" << 29.97 << false;
    QTest::newRow("lowest") << "1" << 1.0 << false;
    QTest::newRow("highest") << "100000" << 100000.0 << false;
    QTest::newRow("point at the end") << "60." << 60.0 << false;

    QTest::newRow("zero") << "0" << 0.0 << true;
    QTest::newRow("below one") << "0.5" << 0.0 << true;
    QTest::newRow("negative") << "-240" << 0.0 << true;
    QTest::newRow("over the highest") << "100000.01" << 0.0 << true;
    QTest::newRow("very long") << "99999999999999999999999999" << 0.0 << true;

    QTest::newRow("empty") << "" << 0.0 << false;
    QTest::newRow("text") << "abc" << 0.0 << false;
    QTest::newRow("number and text") << "240fps" << 0.0 << false;
    QTest::newRow("exponent") << "2.4e2" << 0.0 << false;
    QTest::newRow("thousands comma") << "1,000" << 0.0 << false;
    QTest::newRow("two points") << "29.9.7" << 0.0 << false;
    QTest::newRow("sign alone") << "-" << 0.0 << false;
}

void TestCaptureRate::entries()
{
    QFETCH(QString, typed);
    QFETCH(double, rate);
    QFETCH(bool, outOfRange);
    const capture::Entry entry = capture::readEntry(typed);
    if (rate > 0) {
        QCOMPARE(entry.rate.value_or(-1), rate);
        QVERIFY(entry.problem.isEmpty());
        return;
    }
    QVERIFY(!entry.rate);
    // The message says what is wanted and that the rate in use stays.
    const QString expected =
        outOfRange ? QStringLiteral("１秒間のコマ数は 1 から 100000 までの数で入力して下さい。")
                   : QStringLiteral("１秒間のコマ数は数字で入力して下さい（例：240、29.97）。");
    QCOMPARE(entry.problem, expected + QStringLiteral("\r\nコマ数は変わっていません。"));
}

void TestCaptureRate::texts()
{
    QCOMPARE(capture::fileRateQuestion(240),
             QStringLiteral("この映像は１秒間に240コマで撮影されています。"
                            "240コマとして計算しますか？"));
    QCOMPARE(capture::readoutTip(240, 30),
             QStringLiteral("撮影 240 コマ／秒（ファイルは 30 コマ／秒で再生）"));
    QCOMPARE(capture::readoutTip(119.88, 30000.0 / 1001),
             QStringLiteral("撮影 119.88 コマ／秒（ファイルは 29.97003 コマ／秒で再生）"));
    // Rates are the same when they read the same.
    QVERIFY(capture::sameRate(30000.0 / 1001, 29.97003));
    QVERIFY(!capture::sameRate(30000.0 / 1001, 29.97));
}

void TestCaptureRate::rateFromTheFile()
{
    const QString tagged = ClipMaker::path(ClipKind::FallingBall240);
    QVERIFY2(!tagged.isEmpty(), qPrintable(ClipMaker::lastError()));
    FfmpegFrameSource source;
    QVERIFY(source.open(tagged));
    QCOMPARE(source.frameRate(), 30.0);
    QCOMPARE(source.captureRate(), 240.0);
    QCOMPARE(source.frameCount(), FallingBall::Frames);

    // A file without the note, and the source after close, say nothing.
    QVERIFY(source.open(ClipMaker::path(ClipKind::MovH264_60)));
    QCOMPARE(source.captureRate(), 0.0);
    QVERIFY(source.open(tagged));
    source.close();
    QCOMPARE(source.captureRate(), 0.0);
}

QTEST_MAIN(TestCaptureRate)
#include "tst_capture_rate.moc"
