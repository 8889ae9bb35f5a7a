// The main window's result commands: the three checks in order, the data
// problems, and a fresh window with the preview picture for each command.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/results_part.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

void plot(int n, int sameFrameAt = -1)
{
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 100;
    s.RefLengthValue = 10;
    s.LengthUnit = QStringLiteral("cm");
    for (int r = 1; r <= n; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = r == sameFrameAt ? 3 * (r - 2) : 3 * (r - 1);
        s.PointTable[r][2] = 40 * r;
        s.PointTable[r][3] = 50;
    }
    s.PointCount = qint16(n);
}

} // namespace

class TestFrmMainResults : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_main = std::make_unique<frmMain>();
    }
    void cleanup()
    {
        m_main.reset();
        m_platform.reset();
    }
    void checksInOrder_data();
    void checksInOrder();
    void sameFrameIsReportedNotOpened();
    void freshWindowPerCommand();

private:
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_main;
};

void TestFrmMainResults::checksInOrder_data()
{
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<float>("refPixels");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("no length")
        << "" << 100.0f << 5
        << "「長さの基準」欄の「設定」ボタンを押し、空欄に数値を入力してください";
    QTest::newRow("length 0")
        << "0" << 100.0f << 5
        << "「長さの基準」欄の「設定」ボタンを押し、空欄に数値を入力してください";
    QTest::newRow("no reference points")
        << "10" << 0.0f << 5
        << "　「長さの基準」欄の「設定」ボタンを押したあと、画面上の物体をクリックして、\r\n"
           "基準となる長さを決めてください";
    QTest::newRow("two points") << "10" << 100.0f << 2
                                << "画面上の点を３回以上クリックしないと、\r\n"
                                   "結果を表示することはできません";
}

void TestFrmMainResults::checksInOrder()
{
    QFETCH(QString, lengthText);
    QFETCH(float, refPixels);
    QFETCH(int, points);
    QFETCH(QString, message);
    plot(3);
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdSpd->click();
    QPointer<QWidget> first = m_main->results().speedWindow();
    QVERIFY(first);

    plot(points);
    measurementState().RefLengthPixels = refPixels;
    m_main->txtLengthValue->setText(lengthText);
    m_main->cmdSpd->click();
    QCOMPARE(m_platform->prompts->texts(), QStringList{message});
    // The command's own window was closed first; none took its place.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!m_main->results().speedWindow());
}

void TestFrmMainResults::sameFrameIsReportedNotOpened()
{
    plot(4, 3); // points 2 and 3 both on frame 3
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdDis->click();
    QCOMPARE(m_platform->prompts->shown.size(), 1);
    QVERIFY(m_platform->prompts->lastText().contains(QStringLiteral("同じコマ（3）")));
    QVERIFY(!m_main->results().distanceWindow());
}

void TestFrmMainResults::freshWindowPerCommand()
{
    plot(3);
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->mnuViewResult1->trigger();
    m_main->cmdDis->click();
    auto *speed = qobject_cast<frmResult1 *>(m_main->results().speedWindow().data());
    auto *distance = qobject_cast<frmResult2 *>(m_main->results().distanceWindow().data());
    QVERIFY(speed && distance);
    QVERIFY(speed->isVisible() && distance->isVisible());
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(!speed->Picture3->pixmap().isNull());
    QCOMPARE(speed->results().count, 3);

    // A second opening replaces the speed window; the distance one stays.
    QPointer<frmResult1> old(speed);
    m_main->mnuViewResult1->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
    QVERIFY(m_main->results().speedWindow());
    QCOMPARE(m_main->results().distanceWindow().data(), static_cast<QWidget *>(distance));
}

QTEST_MAIN(TestFrmMainResults)
#include "tst_frmMain_results.moc"
