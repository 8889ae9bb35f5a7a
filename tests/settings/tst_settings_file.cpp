#include "base/measurement_state.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray settingsLines(const QList<QByteArray> &lines)
    {
        QByteArray out;
        for (const QByteArray &line : lines)
            out += line + "\r\n";
        return out;
    }

    static QList<int> values(const MeasurementState &s)
    {
        return {s.ResultDisplayMode,  s.ResultKindMode,       s.PrintPermission,
                s.DistanceMethod,     s.ClickAction,          s.AllPointsMode,
                s.TrackingPermission, s.ComponentsPermission, s.PositionPermission,
                s.MomentumPermission};
    }

private slots:
    void missingFileGivesDefaultsAndWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kinmo.txt");
        MeasurementState s;
        QCOMPARE(readSettingsFile(path, s), SettingsReadResult::Missing);
        QCOMPARE(s.SettingsPassword, QStringLiteral("qz47"));
        QCOMPARE(values(s), (QList<int>{0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));
        QVERIFY(!QFile::exists(path));
    }

    void defaultsAreWrittenWithSignPositions()
    {
        MeasurementState s;
        applyDefaultSettings(s);
        QCOMPARE(
            formatSettings(s),
            QByteArray("qz47\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n"));
        s.ResultDisplayMode = -1;
        s.DistanceMethod = 2;
        s.TrackingPermission = 1;
        s.ComponentsPermission = 1;
        s.PositionPermission = 1;
        s.MomentumPermission = 1;
        QCOMPARE(
            formatSettings(s),
            QByteArray("qz47\r\n-1\r\n 0\r\n 0\r\n 2\r\n 1\r\n 1\r\n 1\r\n 1\r\n 1\r\n 1\r\n"));
    }

    void numbersAreReadLikeTheSettingsReader_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("sign position") << QByteArray(" 2") << 2;
        QTest::newRow("minus") << QByteArray("-1") << -1;
        QTest::newRow("letters after") << QByteArray("2abc") << 2;
        QTest::newRow("half to even down") << QByteArray("2.5") << 2;
        QTest::newRow("half to even up") << QByteArray("3.5") << 4;
        QTest::newRow("blanks inside") << QByteArray(" 1 \t2") << 12;
        QTest::newRow("hex") << QByteArray("&H3") << 3;
        QTest::newRow("no number") << QByteArray("abc") << 0;
        QTest::newRow("empty") << QByteArray("") << 0;
    }
    void numbersAreReadLikeTheSettingsReader()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        MeasurementState s;
        const QByteArray content = settingsLines({"pw", line, "0", "0", "0", "1", "1"});
        QCOMPARE(parseSettings(content, s), SettingsReadResult::Complete);
        QCOMPARE(int(s.ResultDisplayMode), expected);
    }

    void damagedFilesKeepGoodLinesAndDefaultTheRest()
    {
        MeasurementState s;
        // Five lines only: the password and three settings read, the rest default.
        QCOMPARE(parseSettings(settingsLines({"abc", "3", "2", "1", "2"}), s),
                 SettingsReadResult::Repaired);
        QCOMPARE(s.SettingsPassword, QStringLiteral("abc"));
        QCOMPARE(values(s), (QList<int>{3, 2, 1, 2, 1, 1, 0, 0, 0, 0}));

        // An out-of-range line is replaced by its default; later lines still read.
        QCOMPARE(parseSettings(settingsLines({"x", "1", "40000", "2", "0", "0", "0"}), s),
                 SettingsReadResult::Repaired);
        QCOMPARE(values(s), (QList<int>{1, 0, 2, 0, 0, 0, 0, 0, 0, 0}));

        // So is an eighth line out of range.
        s.TrackingPermission = 1;
        QCOMPARE(parseSettings(settingsLines({"x", "1", "1", "1", "1", "0", "0", "99999"}), s),
                 SettingsReadResult::Repaired);
        QCOMPARE(values(s), (QList<int>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0}));

        // An empty file never leaves an empty password.
        s.SettingsPassword.clear();
        QCOMPARE(parseSettings(QByteArray(), s), SettingsReadResult::Repaired);
        QCOMPARE(s.SettingsPassword, QStringLiteral("qz47"));
        QCOMPARE(values(s), (QList<int>{0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));
    }

    void olderAndLaterFilesAreAccepted()
    {
        MeasurementState s;
        s.TrackingPermission = 1;
        // Seven lines, as older versions write them: tracking is allowed.
        QCOMPARE(parseSettings("p\n1\n1\n1\n1\n0\n0\n", s), SettingsReadResult::Complete);
        QCOMPARE(s.SettingsPassword, QStringLiteral("p"));
        QCOMPARE(values(s), (QList<int>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
        // Eight lines: the components window is allowed.
        s.ComponentsPermission = 1;
        QCOMPARE(parseSettings("p\n1\n1\n1\n1\n0\n0\n1\n", s), SettingsReadResult::Complete);
        QCOMPARE(values(s), (QList<int>{1, 1, 1, 1, 0, 0, 1, 0, 0, 0}));
        // Nine lines: the later windows are allowed.
        s.PositionPermission = 1;
        s.MomentumPermission = 1;
        QCOMPARE(parseSettings("p\n1\n1\n1\n1\n0\n0\n1\n1\n", s), SettingsReadResult::Complete);
        QCOMPARE(values(s), (QList<int>{1, 1, 1, 1, 0, 0, 1, 1, 0, 0}));
        // The eleventh line is read; lines after it (a later version's) are left alone.
        QCOMPARE(parseSettings("p\n1\n1\n1\n1\n0\n0\n1\n1\n0\n1\nmore\n", s),
                 SettingsReadResult::Complete);
        QCOMPARE(values(s), (QList<int>{1, 1, 1, 1, 0, 0, 1, 1, 0, 1}));
    }

    void emptyPasswordLineIsAPassword()
    {
        MeasurementState s;
        QCOMPARE(parseSettings(settingsLines({"", "0", "0", "0", "0", "1", "1"}), s),
                 SettingsReadResult::Complete);
        QVERIFY(s.SettingsPassword.isEmpty());
    }

    void japanesePasswordRoundTripsInShiftJis()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kinmo.txt");
        MeasurementState s;
        applyDefaultSettings(s);
        s.SettingsPassword = QStringLiteral("理科ｶﾅ");
        s.PrintPermission = 3;
        QVERIFY(writeSettingsFile(path, s));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // 理 = 0x97 0x9D, 科 = 0x89 0xC8, half-width ｶ = 0xB6, ﾅ = 0xC5 in Shift_JIS.
        QVERIFY(bytes.startsWith(QByteArray("\x97\x9D\x89\xC8\xB6\xC5\r\n")));
        MeasurementState back;
        QCOMPARE(readSettingsFile(path, back), SettingsReadResult::Complete);
        QCOMPARE(back.SettingsPassword, s.SettingsPassword);
        QCOMPARE(values(back), values(s));
    }

    void unwritablePlaceFailsAndKeepsNothingHalfWritten()
    {
        QTemporaryDir dir;
        // A path whose folder is a plain file cannot be written, even as root.
        QFile blocker(dir.filePath("notafolder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MeasurementState s;
        applyDefaultSettings(s);
        QVERIFY(!writeSettingsFile(dir.filePath("notafolder/kinmo.txt"), s));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
