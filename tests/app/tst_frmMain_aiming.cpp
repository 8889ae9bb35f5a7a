// Aiming on the main window's picture and coming back from the results: the
// keys plot where the same click would, the magnifier shows in the clicking
// modes and is remembered per user, and the result windows move the video
// to the frame of a column or marker and follow the frame on show.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "base/view_preferences.h"
#include "clip_maker.h"
#include "digitize/digitizing_part.h"
#include "digitize/digitizing_state.h"
#include "digitize/marker_set.h"
#include "main_window_steps.h"
#include "platform/frame_source.h"
#include "recording_platform.h"
#include "results/frame_link.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/frmResult3.h"
#include "results/result_graph_widget.h"
#include "results/result_table_widget.h"
#include "results/results_part.h"
#include "video/magnifier.h"
#include "video/magnifier_widget.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QtTest>

using MS = MeasurementState;

namespace {

enum class Mode
{
    Plotting,
    Length,
    Shake
};

enum class Window
{
    Speed,
    Distance,
    Components
};

// Points on every third frame from 0, moving right and down.
void plotEveryThirdFrame(int count)
{
    MeasurementState &s = measurementState();
    s.RefLengthPixels = 100;
    s.RefLengthValue = 10;
    for (int r = 1; r <= count; ++r) {
        s.PointTable[r][MS::ColNumber] = qint16(r);
        s.PointTable[r][MS::ColFrame] = qint16(3 * (r - 1));
        s.PointTable[r][MS::ColX] = qint16(20 + 20 * r);
        s.PointTable[r][MS::ColY] = qint16(40 + r * r / 2);
    }
    s.PointCount = qint16(count);
}

} // namespace

class TestFrmMainAiming : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;

    frmMain &w() { return *m_window; }
    PreviewWidget *preview() { return w().picPreview; }

    bool pauseOver() { return inputPauseOver(w()); }
    bool goTo(int frame) { return goToFrame(w(), frame); }
    void openWindow()
    {
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QString clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        QVERIFY(w().video().openVideoFile(clip));
        measurementState().ClickAction = 0;
        QVERIFY(pauseOver());
    }
    void send(QEvent::Type type, QPointF at)
    {
        QMouseEvent event(type, at, preview()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(preview(), &event);
    }
    void hover(QPointF at)
    {
        QEnterEvent enter(at, at, preview()->mapToGlobal(at));
        QApplication::sendEvent(preview(), &enter);
        send(QEvent::MouseMove, at);
    }
    void startMode(Mode mode)
    {
        if (mode == Mode::Length)
            w().cmdLength->click();
        if (mode == Mode::Shake)
            w().digitizing().switchShakeCorrection();
    }
    // The point and the stored clicks after two clicks at (203, 160) and
    // (183, 159), made by keys or by the mouse.
    QList<double> twoClicks(Mode mode, bool byKeys)
    {
        startMode(mode);
        hover(QPointF(200, 150));
        if (byKeys) {
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(preview(), Qt::Key_Right);
            QTest::keyClick(preview(), Qt::Key_Down, Qt::ShiftModifier);
            if (preview()->pointer() != QPointF(203, 160))
                return {};
            QTest::keyClick(preview(), Qt::Key_Space);
            QTest::keyClick(preview(), Qt::Key_Left, Qt::ShiftModifier);
            QTest::keyClick(preview(), Qt::Key_Left, Qt::ShiftModifier);
            QTest::keyClick(preview(), Qt::Key_Up);
            QTest::keyClick(preview(), Qt::Key_Space);
        } else {
            for (QPointF at : {QPointF(203, 160), QPointF(183, 159)}) {
                send(QEvent::MouseButtonPress, at);
                send(QEvent::MouseButtonRelease, at);
            }
        }
        const DigitizingState &c = w().digitizing().clicks();
        QList<double> seen{double(measurementState().PointCount), c.FirstClickX, c.FirstClickY,
                           c.SecondClickX, c.SecondClickY};
        for (int column = MS::ColX; column < MS::TableColumns; ++column)
            seen.append(measurementState().PointTable[1][column]);
        return seen;
    }

    ResultWindow *openResults(Window which)
    {
        w().txtLengthValue->setText(QStringLiteral("10"));
        ResultsPart &results = w().results();
        if (which == Window::Speed)
            results.showSpeed();
        else if (which == Window::Distance)
            results.showDistance();
        else
            results.showComponents();
        QPointer<QWidget> &slot = which == Window::Speed      ? results.speedWindow()
                                  : which == Window::Distance ? results.distanceWindow()
                                                              : results.componentsWindow();
        return qobject_cast<ResultWindow *>(slot.data());
    }
    static std::vector<results::GraphSpot> spotsOf(ResultWindow *window)
    {
        if (auto *speed = qobject_cast<frmResult1 *>(window))
            return results::markerSpots(speed->scales().graph());
        if (auto *distance = qobject_cast<frmResult2 *>(window))
            return results::markerSpots(distance->scales().graph());
        return results::markerSpots(qobject_cast<frmResult3 *>(window)->scales().graph());
    }
    bool currentMarkerOn(int frame)
    {
        for (int point = 1; point <= measurementState().PointCount; ++point) {
            if (measurementState().PointTable[point][MS::ColFrame] != frame)
                continue;
            const MarkerShape &outer = w().digitizing().markers().marker(point)[PointMarker::Outer];
            return outer.visible && outer.fillColour == QColor(255, 255, 0);
        }
        return false;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        resetMeasurementState();
        openWindow();
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void keysPlotWhereTheMouseWould_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("plotting") << int(Mode::Plotting);
        QTest::newRow("length") << int(Mode::Length);
        QTest::newRow("camera shake") << int(Mode::Shake);
    }
    void keysPlotWhereTheMouseWould()
    {
        QFETCH(int, mode);
        const QList<double> byKeys = twoClicks(Mode(mode), true);
        QVERIFY(!byKeys.isEmpty());
        m_window.reset();
        resetMeasurementState();
        openWindow();
        const QList<double> byMouse = twoClicks(Mode(mode), false);
        QCOMPARE(byKeys, byMouse);
        // Something was clicked: a point, or the length's two ends.
        QVERIFY(byMouse[0] == 1 || byMouse[3] == 183);
    }

    void magnifierShowsOverThePictureWhileSwitchedOn()
    {
        MagnifierWidget *magnifier = preview()->magnifier();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(preview(), &leave);
        QVERIFY(!magnifier->isVisible());
        hover(QPointF(100, 100));
        QVERIFY(magnifier->isVisible());
        // Away from the pointer, in the bottom right corner.
        QVERIFY(magnifier->geometry().left() > 320 && magnifier->geometry().top() > 240);
        w().cmdLength->click();
        QVERIFY(magnifier->isVisible());

        QVERIFY(w().mnuViewMagnifier->isChecked());
        w().mnuViewMagnifier->trigger();
        QVERIFY(!magnifier->isVisible());
        QVERIFY(!viewprefs::magnifierOn());
        // The next start remembers the user's choice.
        m_window.reset();
        openWindow();
        QVERIFY(!w().state().MagnifierOn);
        QVERIFY(!w().mnuViewMagnifier->isChecked());
        hover(QPointF(100, 100));
        QVERIFY(!preview()->magnifier()->isVisible());
        w().mnuViewMagnifier->trigger();
        QVERIFY(preview()->magnifier()->isVisible());
        QVERIFY(viewprefs::magnifierOn());

        QApplication::sendEvent(preview(), &leave);
        QVERIFY(!preview()->magnifier()->isVisible());
    }

    void pictureTakesTheKeyboardFromNoTypedBox()
    {
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QEvent leave(QEvent::Leave);
        w().txtRate->setFocus();
        hover(QPointF(100, 100));
        QCOMPARE(QApplication::focusWidget(), w().txtRate);
        QApplication::sendEvent(preview(), &leave);
        w().cmdLength->setFocus();
        hover(QPointF(100, 100));
        QCOMPARE(QApplication::focusWidget(), preview());
    }

    void magnifierShowsTheFrameOnShow()
    {
        hover(QPointF(300, 200));
        MagnifierWidget *magnifier = preview()->magnifier();
        const QImage before = magnifier->square();
        QVERIFY(goTo(40));
        w().video().renderCurrentFrame();
        const QImage frame = w().video().frameSource()->fullFrame(40);
        const QImage expected = magnifier::magnified(
            frame, magnifier::frameSpot(QPointF(300, 200), preview()->size(), frame.size()),
            magnifier->zoom());
        QCOMPARE(magnifier->square(), expected);
        QVERIFY(magnifier->square() != before);
        // The wheel over the picture brings it closer.
        QWheelEvent wheel(QPointF(300, 200), preview()->mapToGlobal(QPointF(300, 200)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(preview(), &wheel);
        QCOMPARE(magnifier->zoom(), 8);
    }

    void resultWindowsLeadToTheirFrames_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("column"); // a click on it
        QTest::addColumn<int>("columnFrame");
        QTest::addColumn<int>("marker"); // a click on the item's marker
        QTest::addColumn<int>("markerFrame");
        // Intervals lead to their later point, points to themselves.
        QTest::newRow("speed") << int(Window::Speed) << 2 << 9 << 5 << 18;
        QTest::newRow("distance") << int(Window::Distance) << 2 << 6 << 5 << 15;
        QTest::newRow("components") << int(Window::Components) << 0 << 3 << 7 << 24;
    }
    void resultWindowsLeadToTheirFrames()
    {
        QFETCH(int, window);
        QFETCH(int, column);
        QFETCH(int, columnFrame);
        QFETCH(int, marker);
        QFETCH(int, markerFrame);
        plotEveryThirdFrame(10);
        w().digitizing().prepareMarkers();
        ResultWindow *results = openResults(Window(window));
        QVERIFY(results);

        QTest::mouseClick(results->Picture1, Qt::LeftButton, {},
                          results->Picture1->columnRect(column).center());
        QCOMPARE(w().video().position(), columnFrame);
        QVERIFY(currentMarkerOn(columnFrame));
        QVERIFY(pauseOver());

        QPointF centre;
        for (const results::GraphSpot &spot : spotsOf(results))
            if (spot.item == marker)
                centre = spot.centre;
        QVERIFY(!centre.isNull());
        const QPointF pixel(centre.x() * results->Picture2->width() / results::GraphWidth,
                            centre.y() * results->Picture2->height() / results::GraphHeight);
        QTest::mouseClick(results->Picture2, Qt::LeftButton, {}, pixel.toPoint());
        QCOMPARE(w().video().position(), markerFrame);
        QVERIFY(currentMarkerOn(markerFrame));

        // While a length is being set the frame stays.
        QVERIFY(pauseOver());
        w().cmdLength->click();
        QTest::mouseClick(results->Picture1, Qt::LeftButton, {},
                          results->Picture1->columnRect(column).center());
        QCOMPARE(w().video().position(), markerFrame);
    }

    void steppingMovesTheHighlight()
    {
        plotEveryThirdFrame(25); // frames 0 to 72
        auto *speed = static_cast<frmResult1 *>(openResults(Window::Speed));
        auto *distance = static_cast<frmResult2 *>(openResults(Window::Distance));
        QVERIFY(speed && distance);
        const auto timeX = [](int index, int frame) {
            return results::timeAxisX(results::TimeScaleTable()[index], frame / 25.0);
        };

        QVERIFY(goTo(10)); // in the interval from frame 9 to 12; no point here
        QCOMPARE(speed->Picture1->highlightedColumn(), 3);
        QCOMPARE(distance->Picture1->highlightedColumn(), -1);
        QCOMPARE(speed->Picture2->currentTimeX(), timeX(speed->scales().TimeScaleIndex, 10));
        QVERIFY(speed->Picture2->currentTimeX().has_value());

        QVERIFY(goTo(9));
        QCOMPARE(speed->Picture1->highlightedColumn(), 2);
        QCOMPARE(distance->Picture1->highlightedColumn(), 3);
        QCOMPARE(distance->Picture2->currentTimeX(), timeX(distance->scales().TimeScaleIndex, 9));

        // A column beyond the page: the table pages to it.
        QVERIFY(goTo(72));
        QCOMPARE(speed->Picture1->HScroll1->value(), speed->Picture1->HScroll1->maximum());
        QCOMPARE(speed->Picture1->highlightedColumn(), 23 - speed->Picture1->HScroll1->value());
        QCOMPARE(distance->Picture1->highlightedColumn(),
                 24 - distance->Picture1->HScroll1->value());

        // Closing the video leaves nothing marked.
        w().video().closeVideo();
        QCOMPARE(speed->Picture1->highlightedColumn(), -1);
        QVERIFY(!speed->Picture2->currentTimeX());
    }
};

QTEST_MAIN(TestFrmMainAiming)
#include "tst_frmMain_aiming.moc"
