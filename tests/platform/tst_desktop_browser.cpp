// The desktop's browser as the help command starts it: the desktop's opener
// gets the page's address, and an opener that finds no browser makes the
// start fail (the help command then says where the page is) instead of
// nothing happening.

#include "platform/browser.h"
#include "platform/qt_print_services.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_desktop_browser : public QObject
{
    Q_OBJECT
private slots:
    void failureIsReported_data()
    {
        QTest::addColumn<int>("openerExit");
        QTest::addColumn<bool>("started");
        // xdg-open: 3 when no tool for the file is found, 4 when it failed.
        QTest::newRow("browser started") << 0 << true;
        QTest::newRow("no browser") << 3 << false;
        QTest::newRow("browser failed") << 4 << false;
    }
    void failureIsReported()
    {
        QFETCH(int, openerExit);
        QFETCH(bool, started);
        QTemporaryDir dir;
        const QString asked = dir.filePath(QStringLiteral("asked"));
        QFile opener(dir.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                         .arg(asked)
                         .arg(openerExit)
                         .toUtf8());
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ":/usr/bin:/bin");

        const QString page = dir.filePath(QStringLiteral("kinhelp.html"));
        const bool result = makeQtBrowser()->openLocalFile(page);
        qputenv("PATH", path);

        QCOMPARE(result, started);
        QFile said(asked);
        QVERIFY(said.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(said.readAll()), QUrl::fromLocalFile(page).toString());
    }
};

QTEST_GUILESS_MAIN(tst_desktop_browser)
#include "tst_desktop_browser.moc"
