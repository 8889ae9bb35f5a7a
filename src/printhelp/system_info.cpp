#include "printhelp/system_info.h"

#include "base/app_paths.h"
#include "base/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>
#include <QtGlobal>
#include <opencv2/core/version.hpp>

extern "C" {
#include <libavutil/avutil.h>
}

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The settings file the program reads: the user's own, else the shared one.
QString settingsInUse()
{
    for (const QString &path : {userSettingsFilePath(), settingsFilePath()})
        if (QFileInfo::exists(path))
            return native(path);
    return QStringLiteral("なし（最初の設定を使用）");
}

} // namespace

QString systemInfoText(const SystemFacts &facts)
{
    QStringList lines;
    lines << QStringLiteral("キネモ %1").arg(facts.programVersion);
    lines << QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    lines << QStringLiteral("FFmpeg %1").arg(QString::fromUtf8(av_version_info()));
    lines << QStringLiteral("OpenCV %1").arg(QStringLiteral(CV_VERSION));
    lines << QStringLiteral("システム：%1（%2 %3, %4）")
                 .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                      QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
    lines << QStringLiteral("画面の拡大率：%1（%2 dpi）")
                 .arg(num::fixed2(facts.screenScale), QString::number(qRound(facts.logicalDpi)));
    lines << QStringLiteral("設定ファイル：%1").arg(settingsInUse());
    lines << QStringLiteral("打点の記録（復元用）のフォルダー：%1").arg(native(recoveryFolder()));
    lines << QStringLiteral("ヘルプ：%1").arg(native(helpFilePath()));
    return lines.join(QLatin1Char('\n'));
}
