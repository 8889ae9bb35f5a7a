#include "session.h"

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "memory_usage.h"
#include "results/results_part.h"
#include "video/preview_widget.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

namespace {

// The session's clicks: an object rolling slowly up across the picture, so
// that the graphs of every session length fit their scales.
QPoint plotPosition(int i)
{
    return QPoint(100 + 2 * i + i % 3, 320 - i);
}

} // namespace

LongSession::LongSession(const QString &clip, const SessionCounts &counts, QTextStream &out)
    : m_clip(clip), m_counts(counts), m_out(out)
{
}

LongSession::~LongSession() = default;

bool LongSession::run()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return fail(QStringLiteral("the main window was not shown"));
    QTest::qWait(200);
    report(QStringLiteral("start"));

    if (!openClose() || !plot() || !erase() || !files() || !resultWindows())
        return false;

    if (!closeClip())
        return false;
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    report(QStringLiteral("end (main window closed)"));
    return true;
}

bool LongSession::openClose()
{
    for (int i = 0; i < m_counts.openClose; ++i) {
        if (!openClip() || !closeClip())
            return false;
        if (i == 0)
            report(QStringLiteral("open/close clip: after 1"));
    }
    report(QStringLiteral("open/close clip: after %1").arg(m_counts.openClose));
    return true;
}

bool LongSession::plot()
{
    frmMain &w = *m_window;
    if (!openClip() || !setReferenceLength())
        return false;
    // Each click plots on the current frame and steps on by one frame.
    measurementState().ClickAction = 1;
    w.txtRate->setText(QStringLiteral("1"));
    if (!goTo(0))
        return fail(QStringLiteral("could not go to the first frame"));
    for (int i = 0; i < m_counts.points; ++i) {
        if (!pauseOver())
            return fail(QStringLiteral("the input pause did not end before point %1").arg(i + 1));
        QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, plotPosition(i));
        if (measurementState().PointCount != i + 1)
            return fail(QStringLiteral("point %1 was not plotted").arg(i + 1));
        if (i == 0)
            report(QStringLiteral("plot: after 1 point"));
    }
    report(QStringLiteral("plot: after %1 points").arg(m_counts.points));
    if (!quiet(QStringLiteral("plotting")))
        return false;

    // The measurement the file phase starts from.
    m_platform.fileDialogs->saveNames.enqueue(m_folder.filePath(QStringLiteral("data0.csv")));
    w.mnuFileSave->trigger();
    if (m_platform.beeper->beeps != 0 || !QFileInfo::exists(m_folder.filePath("data0.csv")))
        return fail(QStringLiteral("the plotted points were not saved"));
    return true;
}

bool LongSession::erase()
{
    frmMain &w = *m_window;
    for (int i = m_counts.points - 1; i >= 0; --i) {
        if (!goTo(i))
            return fail(QStringLiteral("could not go to frame %1").arg(i));
        w.cmdErase->click();
        if (measurementState().PointCount != i)
            return fail(QStringLiteral("the point on frame %1 was not erased").arg(i));
        if (i == m_counts.points - 1)
            report(QStringLiteral("erase: after 1 point"));
    }
    report(QStringLiteral("erase: after %1 points").arg(m_counts.points));
    return true;
}

bool LongSession::files()
{
    frmMain &w = *m_window;
    for (int i = 1; i <= m_counts.files; ++i) {
        m_platform.fileDialogs->openNames.enqueue(
            m_folder.filePath(QStringLiteral("data%1.csv").arg(i - 1)));
        w.mnuFileLoad->trigger();
        if (measurementState().PointCount != m_counts.points)
            return fail(QStringLiteral("file %1 did not load its points").arg(i - 1));
        const QString next = m_folder.filePath(QStringLiteral("data%1.csv").arg(i));
        m_platform.fileDialogs->saveNames.enqueue(next);
        w.mnuFileSave->trigger();
        if (m_platform.beeper->beeps != 0 || !QFileInfo::exists(next))
            return fail(QStringLiteral("file %1 was not saved").arg(i));
        if (!quiet(QStringLiteral("loading or saving")))
            return false;
        QCoreApplication::processEvents();
        if (i == 1)
            report(QStringLiteral("load+save files: after 1"));
    }
    report(QStringLiteral("load+save files: after %1").arg(m_counts.files));
    return true;
}

bool LongSession::resultWindows()
{
    for (bool speed : {true, false}) {
        const QString name = speed ? QStringLiteral("speed") : QStringLiteral("distance");
        for (int i = 0; i < m_counts.resultWindows; ++i) {
            if (!resultWindow(speed))
                return false;
            if (i == 0)
                report(QStringLiteral("%1 window: after 1").arg(name));
        }
        report(QStringLiteral("%1 window: after %2").arg(name).arg(m_counts.resultWindows));
    }
    return true;
}

bool LongSession::resultWindow(bool speed)
{
    frmMain &w = *m_window;
    (speed ? w.cmdSpd : w.cmdDis)->click();
    QPointer<QWidget> window = speed ? w.results().speedWindow() : w.results().distanceWindow();
    if (!window) {
        const QString said = m_platform.prompts->lastText();
        return fail(QStringLiteral("the result window did not open: ") + said);
    }
    if (!QTest::qWaitForWindowExposed(window))
        return fail(QStringLiteral("the result window was not shown"));
    window->close();
    // Closing deletes the window; the pointer goes null once it is gone.
    if (!QTest::qWaitFor([&window] { return window.isNull(); }, 2000))
        return fail(QStringLiteral("the closed result window was not deleted"));
    if (!quiet(QStringLiteral("the result window")))
        return false;
    return true;
}

bool LongSession::openClip()
{
    frmMain &w = *m_window;
    m_platform.fileDialogs->openNames.enqueue(m_clip);
    w.mnuFileOpen->trigger();
    if (w.windowTitle() != QStringLiteral("キネモ　") + m_clip || w.picPreview->frame().isNull())
        return fail(QStringLiteral("the clip did not open: ") + m_platform.prompts->lastText());
    if (!QTest::qWaitFor([] { return !measurementState().FrameRefreshPending; }, 5000))
        return fail(QStringLiteral("the first frame was not shown"));
    return quiet(QStringLiteral("opening the clip"));
}

bool LongSession::closeClip()
{
    m_window->mnuFileClose->trigger();
    QTest::qWait(0);
    // Closing keeps the open flag and the source (as the program does): the
    // empty preview and the plain title show that the clip is closed.
    if (!m_window->picPreview->frame().isNull() ||
        m_window->windowTitle() != QStringLiteral("キネモ"))
        return fail(QStringLiteral("the clip did not close"));
    takePrompts();
    return true;
}

bool LongSession::setReferenceLength()
{
    frmMain &w = *m_window;
    if (!pauseOver())
        return fail(QStringLiteral("the input pause did not end"));
    w.cmdLength->click();
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, QPoint(100, 400));
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, QPoint(500, 400));
    w.txtLengthValue->setText(QStringLiteral("100"));
    w.cmbTanni->setCurrentText(QStringLiteral("cm"));
    w.cmdLength->click();
    if (w.state().lengthSetting() || measurementState().RefLengthPixels <= 0)
        return fail(QStringLiteral("the reference length was not set: ") +
                    m_platform.prompts->lastText());
    return true;
}

bool LongSession::pauseOver()
{
    return QTest::qWaitFor([this] { return m_window->state().InputPauseOver; }, 3000);
}

bool LongSession::goTo(int frame)
{
    m_window->ctrlSlider->setValue(frame);
    return m_window->ctrlSlider->value() == frame && pauseOver();
}

bool LongSession::fail(const QString &why)
{
    m_out << "FAILED: " << why << Qt::endl;
    return false;
}

void LongSession::report(const QString &label)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Objects under the main window and windows still alive: a window not
    // deleted on close shows here before it shows in the memory.
    const int objects = m_window ? int(m_window->findChildren<QObject *>().size()) : 0;
    m_out << memoryLine(label, MemoryUsage::now())
          << QStringLiteral("  objects %1  windows %2")
                 .arg(objects, 5)
                 .arg(QApplication::topLevelWidgets().size(), 3)
          << Qt::endl;
}

bool LongSession::quiet(const QString &what)
{
    if (!m_platform.prompts->shown.isEmpty())
        return fail(what + QStringLiteral(" said: ") + m_platform.prompts->lastText());
    takePrompts();
    return true;
}

int LongSession::takePrompts()
{
    const int count = int(m_platform.prompts->shown.size());
    m_platform.prompts->shown.clear();
    m_platform.prompts->inputPrompts.clear();
    m_platform.fileDialogs->filtersSeen.clear();
    m_platform.fileDialogs->suffixesSeen.clear();
    return count;
}
