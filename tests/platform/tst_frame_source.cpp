// The frame source's own arithmetic: preview sizes, the number of slider
// steps and the time a slider position stands for.

#include "platform/frame_source.h"

#include <QtTest>

namespace {

// A frame source with a given timing that records the times it is asked for.
class TimedSource : public FrameSource
{
public:
    TimedSource(double length, double rate) : m_length(length), m_rate(rate) {}
    bool open(const QString &) override { return true; }
    void close() override {}
    QString path() const override { return {}; }
    QVector<StreamKind> streams() const override { return {StreamKind::Video}; }
    double streamLengthSeconds() const override { return m_length; }
    double frameRate() const override { return m_rate; }
    QSize displaySize() const override { return QSize(160, 120); }
    int rotationDegrees() const override { return 0; }
    QImage frameAtTime(double seconds, QSize size) override
    {
        asked.append(seconds);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }
    double lastFrameSeconds() const override { return asked.isEmpty() ? -1 : asked.last(); }

    QVector<double> asked;

private:
    double m_length;
    double m_rate;
};

} // namespace

class TestFrameSource : public QObject
{
    Q_OBJECT

private slots:
    void previewSize_data();
    void previewSize();
    void frameCount_data();
    void frameCount();
    void positionToTime();
    void noFrameRateGivesNoFrame();
};

void TestFrameSource::previewSize_data()
{
    QTest::addColumn<QSize>("display");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("expected");

    const QSize box(640, 480);
    QTest::newRow("4:3 fills the box") << QSize(160, 120) << box << QSize(640, 480);
    QTest::newRow("16:9 letterboxed") << QSize(1920, 1080) << box << QSize(640, 360);
    QTest::newRow("small 16:9 enlarged") << QSize(192, 108) << box << QSize(640, 360);
    QTest::newRow("portrait phone") << QSize(1080, 1920) << box << QSize(270, 480);
    QTest::newRow("square") << QSize(500, 500) << box << QSize(480, 480);
    QTest::newRow("PAL 5:4 storage") << QSize(720, 576) << box << QSize(600, 480);
    QTest::newRow("half to even down") << QSize(16, 9) << QSize(648, 480) << QSize(648, 364);
    QTest::newRow("half to even up") << QSize(16, 9) << QSize(664, 480) << QSize(664, 374);
    QTest::newRow("very wide keeps one row") << QSize(10000, 1) << box << QSize(640, 1);
    QTest::newRow("very tall keeps one column") << QSize(1, 10000) << box << QSize(1, 480);
    QTest::newRow("other box") << QSize(1920, 1080) << QSize(800, 600) << QSize(800, 450);
    QTest::newRow("no picture gives the box") << QSize() << box << box;
}

void TestFrameSource::previewSize()
{
    QFETCH(QSize, display);
    QFETCH(QSize, box);
    QFETCH(QSize, expected);
    const QSize size = previewSizeFor(display, box);
    QCOMPARE(size, expected);
    QVERIFY(size.width() <= box.width() && size.height() <= box.height());
}

void TestFrameSource::frameCount_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("expected");

    QTest::newRow("10 s at 29.97") << 10.0 << 29.97 << 300;
    QTest::newRow("300 frames at 30000/1001") << 300 * 1001 / 30000.0 << 30000 / 1001.0 << 300;
    QTest::newRow("2.5 frames round to 2") << 0.1 << 25.0 << 2;
    QTest::newRow("3.5 frames round to 4") << 0.14 << 25.0 << 4;
    QTest::newRow("240 fps") << 3.0 << 240.0 << 720;
    QTest::newRow("no length") << 0.0 << 30.0 << 0;
    QTest::newRow("no rate") << 10.0 << 0.0 << 0;
    QTest::newRow("beyond 32 bits") << 1e9 << 30.0 << 0;
}

void TestFrameSource::frameCount()
{
    QFETCH(double, length);
    QFETCH(double, rate);
    QFETCH(int, expected);
    QCOMPARE(TimedSource(length, rate).frameCount(), expected);
}

void TestFrameSource::positionToTime()
{
    TimedSource source(10.01, 30000 / 1001.0);
    QVERIFY(!source.frame(0, QSize(64, 48)).isNull());
    QVERIFY(!source.frame(299, QSize(64, 48)).isNull());
    QVERIFY(!source.frame(-5, QSize(64, 48)).isNull());
    QCOMPARE(source.asked.size(), 3);
    QCOMPARE(source.asked[0], 0.0);
    QCOMPARE(source.asked[1], 299 * 1001 / 30000.0);
    QCOMPARE(source.asked[2], 0.0); // before the start means the start
}

void TestFrameSource::noFrameRateGivesNoFrame()
{
    TimedSource source(10, 0);
    QVERIFY(source.frame(3, QSize(64, 48)).isNull());
    QVERIFY(source.asked.isEmpty());
}

QTEST_GUILESS_MAIN(TestFrameSource)
#include "tst_frame_source.moc"
