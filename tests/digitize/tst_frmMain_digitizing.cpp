// The main window with a generated clip open: clicks on the preview plot
// points, set the reference length and make camera-shake pairs; the erase
// commands, the all-points display and the markers the preview shows.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "digitize/digitizing_part.h"
#include "digitize/digitizing_state.h"
#include "digitize/length_part.h"
#include "digitize/marker_set.h"
#include "digitize/point_plotter.h"
#include "digitize/reference_length.h"
#include "recording_platform.h"
#include "results/results_part.h"
#include "video/plotting_cursor.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using MS = MeasurementState;
using P = PointMarker;

namespace {

const QString kLimit =
    QStringLiteral("点は２００個までしか打てません。\r\n不必要な点を消して下さい。");
const QString kShakeQuestion = QStringLiteral(
    "手ぶれ補正の切り替えをすると、これまでのデータが消去されます。\r\nよろしいですか？");
const QString kEraseAllQuestion =
    QStringLiteral("打点を全部消すと、すべてのデータが消えてしまいます。\r\nよろしいですか？");

QList<int> row(int r)
{
    QList<int> values;
    for (int c = 0; c < MS::TableColumns; ++c)
        values.append(measurementState().PointTable[r][c]);
    return values;
}

QList<int> framesInUse()
{
    QList<int> frames;
    for (int r = 1; r <= measurementState().PointCount; ++r)
        frames.append(measurementState().PointTable[r][MS::ColFrame]);
    return frames;
}

} // namespace

class tst_frmMain_digitizing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;

    frmMain &w() { return *m_window; }

    // Waits out the short pause after a move, so the next click counts.
    bool pauseOver()
    {
        return QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 2000);
    }
    bool goTo(int frame)
    {
        w().ctrlSlider->setValue(frame);
        return w().ctrlSlider->value() == frame && pauseOver();
    }
    void click(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(w().picPreview, button, {}, QPoint(x, y));
    }
    void clickAt(QPointF position)
    {
        QMouseEvent press(QEvent::MouseButtonPress, position, w().picPreview->mapToGlobal(position),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w().picPreview, &press);
    }
    void plotOn(const QList<int> &frames)
    {
        for (int f : frames) {
            QVERIFY(goTo(f));
            click(100 + f, 200 - f);
        }
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        resetMeasurementState();
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QString clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        QVERIFY(w().video().openVideoFile(clip));
        QCOMPARE(w().picPreview->size(), QSize(640, 480));
        measurementState().ClickAction = 0;
        QVERIFY(pauseOver());
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void clickBeforeAVideoIsIgnored()
    {
        resetMeasurementState();
        frmMain fresh;
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QTest::mouseClick(fresh.picPreview, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(measurementState().PointCount, qint16(0));
        QVERIFY(m_platform->prompts->shown.isEmpty());
    }

    void plotAndOverwriteWithAnyButton()
    {
        click(120, 80);
        QCOMPARE(row(1), (QList<int>{1, 0, 120, 80, 0, 0}));
        click(130, 90, Qt::RightButton);
        QCOMPARE(measurementState().PointCount, qint16(1));
        QCOMPARE(row(1), (QList<int>{1, 0, 130, 90, 0, 0}));
        const PointMarker &m = w().digitizing().markers().marker(1);
        QVERIFY(m[P::Outer].visible);
        QVERIFY(m[P::Outer].filled);
        QCOMPARE(m[P::Outer].fillColour, QColor(255, 255, 0));
        QCOMPARE(m[P::Outer].centre, QPointF(130, 90));
        // The preview shows the yellow disc where the point is.
        const QImage picture = w().picPreview->renderedPicture();
        QCOMPARE(QColor(picture.pixel(133, 89)), QColor(255, 255, 0));
        click(140, 95, Qt::MiddleButton);
        QCOMPARE(row(1), (QList<int>{1, 0, 140, 95, 0, 0}));
    }

    void fractionalClicksRoundHalfToEven()
    {
        clickAt(QPointF(10.5, 11.5));
        QCOMPARE(row(1), (QList<int>{1, 0, 10, 12, 0, 0}));
    }

    void clickDuringThePauseIsIgnored()
    {
        w().ctrlSlider->setValue(7);
        QVERIFY(!w().state().InputPauseOver);
        click(50, 50);
        QCOMPARE(measurementState().PointCount, qint16(0));
        QVERIFY(pauseOver());
        QCOMPARE(w().picPreview->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(w().picPreview->cursor().hotSpot(),
                 QPoint(plotting_cursor::kHotSpot, plotting_cursor::kHotSpot));
        click(50, 50);
        QCOMPARE(row(1), (QList<int>{1, 7, 50, 50, 0, 0}));
    }

    void eachPointAdvancesByTheInterval()
    {
        measurementState().ClickAction = 1;
        w().txtRate->setText(QStringLiteral("3"));
        click(10, 10);
        QCOMPARE(w().ctrlSlider->value(), 3);
        QVERIFY(pauseOver());
        click(20, 20);
        QCOMPARE(w().ctrlSlider->value(), 6);
        QCOMPARE(framesInUse(), (QList<int>{0, 3}));
        // Refused clicks do not move.
        measurementState().PointCount = MS::MaxPoints;
        QVERIFY(pauseOver());
        click(30, 30);
        QCOMPARE(w().ctrlSlider->value(), 6);
    }

    void twoHundredPointsShowTheMessage()
    {
        MeasurementState &s = measurementState();
        for (int r = 1; r <= MS::MaxPoints; ++r) {
            const int values[6] = {r, r, r, 10, 0, 0};
            std::copy(std::begin(values), std::end(values), s.PointTable[r]);
        }
        s.PointCount = MS::MaxPoints;
        w().digitizing().prepareMarkers();
        QVERIFY(goTo(5));
        click(300, 300);
        QCOMPARE(m_platform->prompts->texts(), QStringList{kLimit});
        QCOMPARE(m_platform->prompts->shown.last().buttons, Prompts::Buttons::Ok);
        QCOMPARE(row(5), (QList<int>{5, 5, 5, 10, 0, 0}));
        QCOMPARE(s.PointCount, qint16(200));
    }

    void referenceLengthByClicksAndTyping()
    {
        w().cmdLength->click();
        QVERIFY(w().state().lengthSetting());
        QCOMPARE(w().cmdLength->text(), QStringLiteral("設定終了"));
        QVERIFY(w().txtLengthValue->isVisible());
        QVERIFY(w().cmbTanni->isVisible());
        QVERIFY(!w().cmdStep->isEnabled());
        QVERIFY(!w().ctrlSlider->isEnabled());
        QVERIFY(w().cmdLength->isEnabled());

        click(100, 50);
        QTest::mouseMove(w().picPreview, QPoint(250, 300));
        QCOMPARE(w().length().drawing().band, std::optional<QLineF>(QLineF(100, 50, 250, 300)));
        // The band inverts the picture under it, so it shows on any frame.
        QTest::mouseMove(w().picPreview, QPoint(250, 50));
        const QImage picture = w().picPreview->renderedPicture();
        const QRgb under = w().picPreview->frame().pixel(170, 50);
        QCOMPARE(QColor(picture.pixel(170, 50)),
                 QColor(255 - qRed(under), 255 - qGreen(under), 255 - qBlue(under)));
        QVERIFY(picture.pixel(170, 50) != under);
        click(400, 450);
        QCOMPARE(w().length().drawing().dots.size(), 2);
        QVERIFY(w().length().drawing().line.has_value());
        QCOMPARE(measurementState().PointCount, qint16(0)); // no points while setting

        QTest::keyClicks(w().txtLengthValue, QStringLiteral("3a-0"));
        QCOMPARE(w().txtLengthValue->text(), QStringLiteral("30"));
        QCOMPARE(m_platform->beeper->beeps, 2);
        QTest::keyClick(w().txtLengthValue, Qt::Key_Backspace);
        QTest::keyClick(w().txtLengthValue, Qt::Key_0);
        QTest::keyClick(w().txtLengthValue, Qt::Key_Return);

        const MeasurementState &s = measurementState();
        QVERIFY(!w().state().lengthSetting());
        QCOMPARE(s.RefLengthPixels, 500.0f);
        QCOMPARE(s.RefLengthValue, qint16(30));
        QCOMPARE(s.LengthUnit, QStringLiteral("cm"));
        QCOMPARE(w().cmdLength->text(), QStringLiteral("設定"));
        QCOMPARE(w().lblLength->text(), QStringLiteral("長さは設定されています"));
        QCOMPARE(w().lblLength->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(!w().txtLengthValue->isVisible());
        QVERIFY(w().cmdStep->isEnabled());
        QVERIFY(w().length().drawing().isEmpty());
        // The pause follows, then clicks plot again.
        QVERIFY(!w().state().InputPauseOver);
        QVERIFY(pauseOver());
        click(5, 6);
        QCOMPARE(row(1), (QList<int>{1, 0, 5, 6, 0, 0}));
    }

    // Opening a result window while a new pair is being picked: the picture
    // keeps the red line, the preview loses it.
    void resultCommandClearsTheLengthDrawing()
    {
        plotOn({0, 2, 4});
        MeasurementState &s = measurementState();
        s.RefLengthPixels = 300;
        s.RefLengthValue = 30;
        w().txtLengthValue->setText(QStringLiteral("30"));
        w().cmdLength->click();
        click(10, 240);
        click(630, 240);
        QVERIFY(w().length().drawing().line.has_value());
        w().cmdSpd->click();
        QVERIFY(m_platform->prompts->shown.isEmpty());
        QVERIFY(w().results().speedWindow());
        QVERIFY(w().length().drawing().isEmpty());
        const QImage shown = w().picPreview->renderedPicture();
        QVERIFY(QColor(shown.pixel(320, 240)) != QColor(Qt::red));
    }
    // Finishing by the button, by Enter in the length box or by Enter in the
    // unit box: a length too long is refused once, and the setting stays on.
    void tooLongALengthKeepsTheModeOn_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("button") << 0;
        QTest::newRow("Enter in the length box") << 1;
        QTest::newRow("Enter in the unit box") << 2;
    }
    void tooLongALengthKeepsTheModeOn()
    {
        QFETCH(int, how);
        const auto finish = [this, how] {
            if (how == 0)
                w().cmdLength->click();
            else
                QTest::keyClick(how == 1 ? static_cast<QWidget *>(w().txtLengthValue)
                                         : static_cast<QWidget *>(w().cmbTanni),
                                Qt::Key_Return);
        };
        w().cmdLength->click();
        click(3, 4);
        click(33, 44);
        QTest::keyClicks(w().txtLengthValue, QStringLiteral("40000"));
        finish();
        QCOMPARE(m_platform->prompts->texts(), QStringList{ReferenceLength::tooLongMessage()});
        QVERIFY(w().state().lengthSetting());
        QCOMPARE(measurementState().RefLengthPixels, 0.0f);
        QCOMPARE(measurementState().RefLengthValue, qint16(0));
        w().txtLengthValue->setText(QStringLiteral("4"));
        finish();
        QVERIFY(!w().state().lengthSetting());
        QCOMPARE(measurementState().RefLengthPixels, 50.0f);
        QCOMPARE(m_platform->prompts->shown.size(), 1);
    }

    void enterInTheUnitBoxFinishes()
    {
        w().cmdLength->click();
        click(10, 10);
        click(10, 20);
        w().txtLengthValue->setText(QStringLiteral("2"));
        w().cmbTanni->setCurrentText(QStringLiteral("m"));
        QTest::keyClick(w().cmbTanni, Qt::Key_Return);
        QVERIFY(!w().state().lengthSetting());
        QCOMPARE(measurementState().LengthUnit, QStringLiteral("m"));
        QCOMPARE(measurementState().RefLengthPixels, 10.0f);
        QCOMPARE(w().cmbTanni->count(), 3); // nothing added to the list
    }

    void shakeCorrectedPoints()
    {
        m_platform->prompts->answers.enqueue(Prompts::Answer::No);
        w().mnuSystemChenge->trigger();
        QVERIFY(!w().state().ShakeCorrectionOn);
        w().mnuSystemChenge->trigger();
        QCOMPARE(m_platform->prompts->texts(), (QStringList{kShakeQuestion, kShakeQuestion}));
        QVERIFY(w().state().ShakeCorrectionOn);
        QCOMPARE(w().lblHosei->text(), QStringLiteral("手ぶれ補正\r\nＯＮ"));
        QCOMPARE(w().lblHosei->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        QVERIFY(goTo(4));
        click(300, 120);
        QVERIFY(w().state().AwaitingShakeReference);
        QVERIFY(w().digitizing().markers().marker(0)[P::Outer].visible);
        QVERIFY(!w().ctrlSlider->isEnabled());
        QVERIFY(!w().cmdStep->isEnabled());
        click(200, 100);
        QCOMPARE(row(1), (QList<int>{1, 4, 300, 120, 200, 100}));
        QVERIFY(w().ctrlSlider->isEnabled());
        QVERIFY(!w().digitizing().markers().marker(0)[P::Outer].visible);

        QVERIFY(goTo(9));
        click(310, 95);
        click(205, 103);
        QCOMPARE(row(2), (QList<int>{2, 9, 305, 92, 205, 103}));
        const PointMarker &m = w().digitizing().markers().marker(2);
        QCOMPARE(m[P::Outer].centre, QPointF(310, 95));
        QCOMPARE(m[P::Reference].centre, QPointF(205, 103));
        QVERIFY(m[P::Reference].visible);
        QVERIFY(w().lblKijun->isVisible());
        QCOMPARE(w().lblKijun->pos(), QPoint(215, 103));
        QCOMPARE(w().lblKijun->size(), QSize(24, 12));

        // Plotting the frame again: every marker hidden, the white temporary
        // marker on the object, the row keeps its number.
        click(320, 90);
        QVERIFY(!w().digitizing().markers().marker(1)[P::Outer].visible);
        QVERIFY(!w().digitizing().markers().marker(2)[P::Outer].visible);
        const MarkerShape &temporary = w().digitizing().markers().marker(0)[P::Outer];
        QVERIFY(temporary.visible);
        QCOMPARE(temporary.fillColour, QColor(255, 255, 255));
        QCOMPARE(temporary.rect(), QRectF(311, 81, 17, 17));
        QVERIFY(!w().lblKijun->isVisible());
        click(210, 100);
        QCOMPARE(row(2), (QList<int>{2, 9, 310, 90, 210, 100}));
        QCOMPARE(measurementState().PointCount, qint16(2));

        // Switching back clears the measurement.
        w().mnuSystemChenge->trigger();
        QVERIFY(!w().state().ShakeCorrectionOn);
        QCOMPARE(measurementState().PointCount, qint16(0));
        QCOMPARE(w().digitizing().markers().count(), 0);
        QVERIFY(!w().lblKijun->isVisible());
        QCOMPARE(w().lblHosei->text(), QStringLiteral("手ぶれ補正\r\nＯＦＦ"));
    }

    void switchingDuringAPairFreesTheFrameControls()
    {
        w().mnuSystemChenge->trigger();
        click(300, 120);
        QVERIFY(!w().cmdStep->isEnabled());
        w().mnuSystemChenge->trigger();
        QVERIFY(!w().state().AwaitingShakeReference);
        QVERIFY(w().cmdStep->isEnabled());
        QVERIFY(w().ctrlSlider->isEnabled());
    }

    void erasingAHalfMadePairFreesTheFrameControls()
    {
        QTest::mouseClick(w().lblHosei, Qt::LeftButton);
        QVERIFY(w().state().ShakeCorrectionOn);
        click(300, 120);
        // The point goes into the table only with its reference point.
        QCOMPARE(measurementState().PointCount, qint16(0));
        QVERIFY(!w().cmdErase->isEnabled());
        w().mnuEditSingle->trigger();
        QCOMPARE(measurementState().PointCount, qint16(0));
        QVERIFY(!w().state().AwaitingShakeReference);
        QVERIFY(w().ctrlSlider->isEnabled());
        QVERIFY(!w().digitizing().markers().marker(0)[P::Outer].visible);
        // The next click starts a new pair.
        click(50, 60);
        QVERIFY(w().state().AwaitingShakeReference);
    }

    void erasingOnePoint_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QList<int>>("framesLeft");
        QTest::newRow("first") << 10 << QList<int>{20, 30, 40};
        QTest::newRow("middle") << 20 << QList<int>{10, 30, 40};
        QTest::newRow("last") << 40 << QList<int>{10, 20, 30};
        QTest::newRow("no point on the frame") << 15 << QList<int>{10, 20, 30, 40};
    }
    void erasingOnePoint()
    {
        QFETCH(int, frame);
        QFETCH(QList<int>, framesLeft);
        plotOn({10, 20, 30, 40});
        QVERIFY(goTo(frame));
        w().cmdErase->click();
        QCOMPARE(framesInUse(), framesLeft);
        for (int r = 1; r <= framesLeft.size(); ++r)
            QCOMPARE(row(r).first(), r);
        QCOMPARE(w().digitizing().markers().count(), framesLeft.size());
        QCOMPARE(row(framesLeft.size() + 1), (QList<int>{0, 0, 0, 0, 0, 0}));
    }

    void menuErasesWhileTheButtonIsDisabled()
    {
        plotOn({10, 20, 30});
        QVERIFY(goTo(20));
        w().digitizing().toggleAllPoints();
        QVERIFY(!w().cmdErase->isEnabled());
        w().mnuEditSingle->trigger();
        QCOMPARE(framesInUse(), (QList<int>{10, 30}));
    }

    void erasingAllAsksFirst()
    {
        plotOn({3, 6});
        measurementState().RefLengthPixels = 120;
        auto *result = new QWidget;
        result->setAttribute(Qt::WA_DeleteOnClose);
        result->show();
        w().results().speedWindow() = result;
        m_platform->prompts->answers.enqueue(Prompts::Answer::No);
        w().mnuEditAll->trigger();
        QCOMPARE(measurementState().PointCount, qint16(2));
        QVERIFY(result->isVisible());
        w().mnuEditAll->trigger();
        QCOMPARE(m_platform->prompts->texts(), (QStringList{kEraseAllQuestion, kEraseAllQuestion}));
        QCOMPARE(measurementState().PointCount, qint16(0));
        QCOMPARE(measurementState().RefLengthPixels, 0.0f);
        QCOMPARE(row(1), (QList<int>{0, 0, 0, 0, 0, 0}));
        QCOMPARE(w().lblLength->text(), QStringLiteral("長さは設定されていません"));
        QCOMPARE(w().lblLength->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w().digitizing().markers().count(), 0);
        QTRY_VERIFY(!w().results().speedWindow());
    }

    // Erasing everything during a length setting takes the length with it:
    // the label says so until the setting is finished or started again.
    void erasingAllDuringALengthSetting()
    {
        const auto label = [this] {
            return std::pair(w().lblLength->text(),
                             w().lblLength->palette().color(QPalette::WindowText));
        };
        const QColor red(255, 0, 0);
        const QColor blue(0, 0, 255);
        w().cmdLength->click();
        click(10, 10);
        w().mnuEditAll->trigger(); // answered yes
        QCOMPARE(label(), std::pair(QStringLiteral("長さは設定されていません"), red));
        click(10, 20);
        QVERIFY(w().state().lengthSetting());
        QCOMPARE(label(), std::pair(QStringLiteral("長さは設定されていません"), red));

        w().txtLengthValue->setText(QStringLiteral("5"));
        w().cmdLength->click();
        QCOMPARE(label(), std::pair(QStringLiteral("長さは設定されています"), blue));
        w().cmdLength->click();
        QCOMPARE(
            label().first,
            QStringLiteral("　映像の画面から基準となる２点クリックし、長さを入力してください。"));
    }

    void allPointsDisplayLocksNavigation()
    {
        plotOn({2, 4, 6});
        w().digitizing().toggleAllPoints();
        QCOMPARE(w().cmdProtDisp->text(), QStringLiteral("全表示停止"));
        QVERIFY(w().state().AllPointsShown);
        QVERIFY(!w().cmdStep->isEnabled());
        QVERIFY(!w().ctrlSlider->isEnabled());
        QVERIFY(!w().cmdLength->isEnabled());
        QVERIFY(w().cmdProtDisp->isEnabled());
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(w().digitizing().markers().marker(i)[P::Outer].fillColour,
                     QColor(255, 255, 255));
            QVERIFY(w().digitizing().markers().marker(i)[P::Outer].filled);
        }
        w().digitizing().toggleAllPoints();
        QCOMPARE(w().cmdProtDisp->text(), QStringLiteral("全打点表示"));
        QVERIFY(!w().state().AllPointsShown);
        QVERIFY(w().cmdStep->isEnabled());
        QVERIFY(w().cmdLength->isEnabled());
        // The current frame (6) is highlighted again.
        QCOMPARE(w().digitizing().markers().marker(3)[P::Outer].fillColour, QColor(255, 255, 0));
    }
};

QTEST_MAIN(tst_frmMain_digitizing)
#include "tst_frmMain_digitizing.moc"
