// The reference length: the two clicks, the rubber band, the distance in
// single precision, the typed length and its limit, and the keys the length
// box accepts.

#include "base/measurement_state.h"
#include "digitize/digitizing_state.h"
#include "digitize/reference_length.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

class tst_reference_length : public QObject
{
    Q_OBJECT

    MeasurementState state;
    DigitizingState clicks;
    ReferenceDrawing drawing;

private slots:
    void init()
    {
        state = MeasurementState{};
        clicks = DigitizingState{};
        drawing.clear();
    }

    void rulerOf500Pixels()
    {
        ReferenceLength length(clicks, drawing);
        QCOMPARE(length.click(QPointF(100, 50)), ReferenceLength::Pick::First);
        QVERIFY(clicks.RefFirstClickDone);
        QCOMPARE(drawing.band, std::optional<QLineF>(QLineF(100, 50, 101, 50)));
        QCOMPARE(length.click(QPointF(400, 450)), ReferenceLength::Pick::Second);
        QVERIFY(!clicks.RefFirstClickDone);
        QCOMPARE(drawing.dots.size(), 2);
        QVERIFY(!drawing.band);
        QCOMPARE(drawing.line, std::optional<QLineF>(QLineF(100, 50, 400, 450)));

        const auto finish = length.finish(QStringLiteral("30"), QStringLiteral("cm"), state);
        QVERIFY(finish.accepted);
        QCOMPARE(state.RefLengthPixels, 500.0f);
        QCOMPARE(state.RefLengthValue, qint16(30));
        QCOMPARE(state.LengthUnit, QStringLiteral("cm"));
        QVERIFY(drawing.isEmpty());
    }

    void distanceIsSinglePrecision()
    {
        clicks.FirstClickX = 0.1f;
        clicks.FirstClickY = 0.2f;
        clicks.SecondClickX = 3.3f;
        clicks.SecondClickY = 7.7f;
        const double dx = double(0.1f) - double(3.3f);
        const double dy = double(0.2f) - double(7.7f);
        QCOMPARE(ReferenceLength::storedDistance(clicks), float(std::sqrt(dx * dx + dy * dy)));
    }

    void typedLength_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QString() << true << 0;
        QTest::newRow("digits then letters") << QStringLiteral("12abc") << true << 12;
        QTest::newRow("largest") << QStringLiteral("32767") << true << 32767;
        QTest::newRow("one too many") << QStringLiteral("32768") << false << 7;
        QTest::newRow("very long")
            << QStringLiteral("123456789012345678901234567890") << false << 7;
    }
    void typedLength()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        state.RefLengthValue = 7;
        state.LengthUnit = QStringLiteral("km");
        ReferenceLength length(clicks, drawing);
        length.click(QPointF(0, 0));
        length.click(QPointF(3, 4));
        const auto finish = length.finish(text, QStringLiteral("m"), state);
        QCOMPARE(finish.accepted, accepted);
        QTEST(int(state.RefLengthValue), "value");
        if (accepted) {
            QCOMPARE(state.RefLengthPixels, 5.0f);
            QCOMPARE(state.LengthUnit, QStringLiteral("m"));
        } else {
            // Refused: nothing measured, the drawings stay for a correction.
            QCOMPARE(finish.message, ReferenceLength::tooLongMessage());
            QCOMPARE(state.RefLengthPixels, 0.0f);
            QCOMPARE(state.LengthUnit, QStringLiteral("km"));
            QVERIFY(drawing.line.has_value());
        }
    }

    void thirdClickStartsAgain()
    {
        ReferenceLength length(clicks, drawing);
        length.click(QPointF(10, 10));
        length.click(QPointF(20, 20));
        length.click(QPointF(30, 40));
        QCOMPARE(drawing.dots, (QVector<QPointF>{QPointF(30, 40)}));
        QVERIFY(!drawing.line);
        QVERIFY(drawing.band.has_value());
        // The pair is now the third click and the second.
        length.finish(QStringLiteral("1"), QStringLiteral("cm"), state);
        QCOMPARE(state.RefLengthPixels, float(std::sqrt(10.0 * 10 + 20 * 20)));
    }

    void bandFollowsTheMouseUntilTheSecondClick()
    {
        ReferenceLength length(clicks, drawing);
        length.mouseMoved(QPointF(5, 5));
        QVERIFY(!drawing.band);
        length.click(QPointF(10, 10));
        length.mouseMoved(QPointF(50, 60));
        QCOMPARE(drawing.band, std::optional<QLineF>(QLineF(10, 10, 50, 60)));
        QCOMPARE(clicks.BandEndX, 50.0f);
        QCOMPARE(clicks.BandEndY, 60.0f);
        length.click(QPointF(50, 60));
        length.mouseMoved(QPointF(70, 70));
        QVERIFY(!drawing.band);
    }

    void finishingAfterOneClickForgetsIt()
    {
        ReferenceLength length(clicks, drawing);
        length.click(QPointF(10, 10));
        QVERIFY(length.finish(QStringLiteral("5"), QStringLiteral("cm"), state).accepted);
        QVERIFY(!clicks.RefFirstClickDone);
        length.mouseMoved(QPointF(40, 40));
        QVERIFY(drawing.isEmpty());
        // The next setting starts with a first point again.
        QCOMPARE(length.click(QPointF(1, 1)), ReferenceLength::Pick::First);
    }

    void bandInvertsThePicture()
    {
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 10; ++x)
                img.setPixel(x, y, qRgb(0, 0, 0));
        img.setPixel(14, 5, qRgb(200, 100, 50));
        ReferenceDrawing d;
        d.band = QLineF(2, 5, 18, 5);
        QPainter p(&img);
        d.paint(p);
        p.end();
        QCOMPARE(QColor(img.pixel(4, 5)), QColor(255, 255, 255));
        QCOMPARE(QColor(img.pixel(12, 5)), QColor(0, 0, 0));
        QCOMPARE(QColor(img.pixel(14, 5)), QColor(55, 155, 205));
        QCOMPARE(QColor(img.pixel(12, 8)), QColor(255, 255, 255));
    }

    void lengthBoxKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        using K = ReferenceLength::Key;
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << int(K::Pass);
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << int(K::Pass);
        QTest::newRow("left arrow") << int(Qt::Key_Left) << "" << int(K::Pass);
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << int(K::Finish);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "\r" << int(K::Finish);
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << int(K::Refuse);
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << int(K::Refuse);
        QTest::newRow("point") << int(Qt::Key_Period) << "." << int(K::Refuse);
        QTest::newRow("full-width digit") << 0 << QStringLiteral("３") << int(K::Refuse);
        QTest::newRow("paste") << int(Qt::Key_V) << "\x16" << int(K::Refuse);
    }
    void lengthBoxKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QTEST(int(ReferenceLength::classifyKey(key, text)), "expected");
    }
};

QTEST_GUILESS_MAIN(tst_reference_length)
#include "tst_reference_length.moc"
