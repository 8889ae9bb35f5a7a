#include "printhelp/help_page.h"

#include "base/app_paths.h"
#include "platform/browser.h"
#include "platform/platform.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFileInfo>

namespace helptexts {

QString missing(const QString &path)
{
    return QStringLiteral("ヘルプファイルが見つかりません。\r\n") + QDir::toNativeSeparators(path);
}

QString noBrowser(const QString &path)
{
    return QStringLiteral("ヘルプを表示するブラウザを起動できませんでした。\r\n"
                          "次のファイルをブラウザで開いてください。\r\n") +
           QDir::toNativeSeparators(path);
}

} // namespace helptexts

bool openHelpPage()
{
    const QString path = helpFilePath();
    Prompts &prompts = *platform().prompts;
    if (!QFileInfo(path).isFile()) {
        prompts.message(helptexts::missing(path), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }
    Browser *browser = platform().browser.get();
    if (!browser || !browser->openLocalFile(path)) {
        prompts.message(helptexts::noBrowser(path), Prompts::Buttons::Ok,
                        Prompts::Icon::Exclamation);
        return false;
    }
    return true;
}
