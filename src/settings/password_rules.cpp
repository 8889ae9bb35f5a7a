#include "settings/password_rules.h"

namespace password {

QString entryPrompt()
{
    return QStringLiteral("　環境設定はパスワードで保護されています。\r\n"
                          "　パスワードを入力して、「ＯＫ」を押してください。");
}

QString changePrompt()
{
    return QStringLiteral("　現在のパスワードと新しいパスワードを入力してください。\r\n"
                          "　パスワードとして設定できるのは半角英数のみです。");
}

QString refusalMessage()
{
    return QStringLiteral("パスワードが違います。\nもう一度入力し直してください。");
}

bool accepts(const QString &typed, const QString &stored)
{
    return typed == stored;
}

std::optional<QString> changed(const QString &stored, const QString &current, const QString &fresh,
                               const QString &again)
{
    if (!accepts(current, stored) || fresh != again)
        return std::nullopt;
    return fresh;
}

} // namespace password
