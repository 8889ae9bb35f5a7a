#include "app/frmMain.h"
#include "app/japanese_qt_texts.h"
#include "platform/qt_platform.h"
#include "printhelp/print_page.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キネモ"));
    // No application display name: the platform would append it to every
    // window title ("キネモ　<file> — キネモ"), and each window sets its
    // whole title itself. The desktop file's name ties the windows to the
    // installed launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("kinemo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kinemo.svg")));
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(10);
    QApplication::setFont(font);
    installJapaneseQtTexts(app);

    installPlatform(makeQtPlatform(printpage::drawing()));
    frmMain window;
    window.show();
    window.offerRecovery();
    return app.exec();
}
