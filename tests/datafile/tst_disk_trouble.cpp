// Saving onto a full disk or into a read-only folder: the measurement file
// of the main window keeps its old content and the user is told (a beep and
// a message); the settings go to the user's own file instead, and quitting
// still quits.
//
// The trouble is real: a small tmpfs mounted for the test, filled up or
// remounted read-only (as root, a read-only folder alone stops nothing).
// Where mounting is not allowed, a full disk is imitated with a file size
// limit of zero and a read-only folder with its permissions; as root without
// mounting, the read-only case is skipped.

#include "app/frmMain.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "printhelp/print_page.h"
#include "recording_platform.h"
#include "settings/frmSystem.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString kOverwriteQuestion =
    QStringLiteral("同じ名前のファイルが存在します。\r\n上書きしますか？");
const QByteArray kOldCsv = "\"old\",\"measurement\"\r\n";
const QByteArray kOldSettings = "secret\r\n 1\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n";

enum class Trouble
{
    FullDisk,
    ReadOnlyFolder
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// A folder where writing fails in the chosen way, for as long as it lives.
class TroubledFolder
{
public:
    explicit TroubledFolder(const QString &path) : m_path(path)
    {
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                                      {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                       QStringLiteral("-o"), QStringLiteral("size=64k"),
                                       QStringLiteral("kinemo-test"), path}) == 0;
    }
    ~TroubledFolder()
    {
        if (m_limited) {
            setrlimit(RLIMIT_FSIZE, &m_oldLimit);
            std::signal(SIGXFSZ, SIG_DFL);
        }
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_path});
        else
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Empty when the trouble is in place, otherwise why it could not be made.
    QString start(Trouble trouble)
    {
        if (trouble == Trouble::FullDisk)
            return m_mounted ? fill() : limitFileSize();
        if (m_mounted) {
            const int rc =
                QProcess::execute(QStringLiteral("mount"),
                                  {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_path});
            return rc == 0 ? QString() : QStringLiteral("remounting read-only failed");
        }
        if (geteuid() == 0)
            return QStringLiteral("root writes into read-only folders and cannot mount here");
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
        return QString();
    }

    // Whether the trouble is a file size limit of the whole process, which
    // stops writing anywhere, not only in this folder.
    bool processWide() const { return m_limited; }

    // Whether a new file of one byte can still be written there.
    bool writable() const
    {
        const QString probe = m_path + QStringLiteral("/probe");
        const bool ok = writeBytes(probe, "x");
        QFile::remove(probe);
        return ok;
    }

private:
    QString fill()
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot create the filler");
        const QByteArray block(4096, 'f');
        for (int i = 0; i < 64 && filler.write(block) == block.size() && filler.flush(); ++i) {
        }
        return QString();
    }

    QString limitFileSize()
    {
        // Writing beyond the limit then fails with "file too large" instead of
        // stopping the program with a signal.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        rlimit none = m_oldLimit;
        none.rlim_cur = 0;
        if (setrlimit(RLIMIT_FSIZE, &none) != 0)
            return QStringLiteral("cannot limit the file size");
        m_limited = true;
        return QString();
    }

    QString m_path;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_oldLimit{};
};

} // namespace

static void troubleRows()
{
    QTest::addColumn<int>("trouble");
    QTest::newRow("full disk") << int(Trouble::FullDisk);
    QTest::newRow("read-only folder") << int(Trouble::ReadOnlyFolder);
}

class tst_disk_trouble : public QObject
{
    Q_OBJECT

private slots:
    void measurementFileKeptAndUserTold_data();
    void measurementFileKeptAndUserTold();
    void settingsGoToTheUsersOwnFile_data();
    void settingsGoToTheUsersOwnFile();
    void pdfPageKeptOnFailure_data() { troubleRows(); }
    void pdfPageKeptOnFailure();
};

void tst_disk_trouble::measurementFileKeptAndUserTold_data()
{
    troubleRows();
}

void tst_disk_trouble::measurementFileKeptAndUserTold()
{
    QFETCH(int, trouble);
    TestPlatform platform;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("usb"));
    QVERIFY(QDir().mkpath(folder));
    TroubledFolder troubled(folder);
    const QString path = folder + QStringLiteral("/落下.csv");
    QVERIFY(writeBytes(path, kOldCsv));
    const QString why = troubled.start(Trouble(trouble));
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(!troubled.writable());

    frmMain w;
    MeasurementState &s = measurementState();
    s.PointCount = 2;
    s.PointTable[1][1] = 3;
    s.PointTable[2][1] = 4;
    platform.fileDialogs->saveNames << path;
    platform.prompts->answers << Prompts::Answer::Yes;
    w.mnuFileSave->trigger();

    QCOMPARE(fileBytes(path), kOldCsv);
    QCOMPARE(platform.beeper->beeps, 1);
    QCOMPARE(platform.prompts->texts(),
             (QStringList{kOverwriteQuestion, QStringLiteral("データを保存できませんでした。\n") +
                                                  QDir::toNativeSeparators(path)}));
    QCOMPARE(platform.prompts->shown.constLast().icon, Prompts::Icon::Exclamation);
    // No half-written temporary file is left beside the old one.
    const QStringList left = QDir(folder).entryList(QDir::Files);
    QVERIFY2(left.size() <= 2 && left.contains(QStringLiteral("落下.csv")),
             qPrintable(left.join(QLatin1Char(' '))));
    // The measurement itself is untouched and can be saved elsewhere.
    QCOMPARE(int(s.PointCount), 2);
}

void tst_disk_trouble::settingsGoToTheUsersOwnFile_data()
{
    troubleRows();
}

// The program's folder cannot take the settings (an installed program, or a
// full disk there): the class-wide file in it stays as it was, the settings
// go to the user's own file without a word, and the next start reads them.
// Where the trouble can only be made for the whole process (a file size
// limit), the user's file cannot be written either, and the teacher is told
// both places.
void tst_disk_trouble::settingsGoToTheUsersOwnFile()
{
    QFETCH(int, trouble);
    TestPlatform platform;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(folder));
    TroubledFolder troubled(folder);
    const QString path = folder + QStringLiteral("/kinmo.txt");
    QVERIFY(writeBytes(path, kOldSettings));
    setProgramFolder(folder);
    const QString own = platform.userConfigFolder + QStringLiteral("/kinmo.txt");

    auto w = std::make_unique<frmMain>();
    w->show();
    QCOMPARE(int(measurementState().ResultDisplayMode), 1); // read at start
    const QString why = troubled.start(Trouble(trouble));
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(!troubled.writable());

    // The settings dialog: the choice stays in force.
    QPointer<frmSystem> dialog = frmSystem::showSettings(w.get());
    QVERIFY(dialog);
    dialog->optDisp1[0]->setChecked(true);
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
    QCOMPARE(fileBytes(path), kOldSettings);
    QCOMPARE(int(measurementState().ResultDisplayMode), 0);
    if (troubled.processWide()) {
        QCOMPARE(platform.prompts->texts(),
                 QStringList{QStringLiteral("設定ファイルを保存できませんでした。\n") +
                             QDir::toNativeSeparators(path) + QLatin1Char('\n') +
                             QDir::toNativeSeparators(own)});
    } else {
        QVERIFY(platform.prompts->shown.isEmpty());
        QCOMPARE(fileBytes(own),
                 QByteArray("secret\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n"));
    }

    // Quitting writes the settings once more, silently; the old file stays
    // and the program ends.
    const qsizetype shown = platform.prompts->shown.size();
    platform.prompts->answers << Prompts::Answer::Yes;
    QVERIFY(w->close());
    QCOMPARE(fileBytes(path), kOldSettings);
    QCOMPARE(platform.prompts->shown.size(), shown + 1); // only the quit question
    if (troubled.processWide())
        return;

    w.reset();
    resetMeasurementState();
    frmMain again;
    QCOMPARE(int(measurementState().ResultDisplayMode), 0);
    QCOMPARE(measurementState().SettingsPassword, QStringLiteral("secret"));
}

// The printout saved as PDF when there is no printer: an earlier PDF of the
// same name stays whole when the new one cannot be written.
void tst_disk_trouble::pdfPageKeptOnFailure()
{
    QFETCH(int, trouble);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("pdf"));
    QVERIFY(QDir().mkpath(folder));
    TroubledFolder troubled(folder);
    const QString path = folder + QStringLiteral("/印刷.pdf");
    const QByteArray old("%PDF-1.4 earlier printout");
    QVERIFY(writeBytes(path, old));
    const QString why = troubled.start(Trouble(trouble));
    if (!why.isEmpty())
        QSKIP(qPrintable(why));

    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(!printpage::writePrintPagePdf(path, picture));
    QCOMPARE(fileBytes(path), old);
}

QTEST_MAIN(tst_disk_trouble)
#include "tst_disk_trouble.moc"
