#include "recording_platform.h"

#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "platform/dialog_folders.h"

#include <QTemporaryDir>
#include <QWidget>

Prompts::Answer RecordingPrompts::message(const QString &text, Buttons buttons, Icon icon)
{
    shown.append({text, buttons, icon});
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::Yes;
    case Buttons::YesNoCancel:
        return Answer::No; // go on without saving
    default:
        return Answer::Ok;
    }
}

std::optional<QString> RecordingPrompts::input(const QString &prompt, const QString &,
                                               const QString &defaultText)
{
    inputPrompts.append(prompt);
    inputDefaults.append(defaultText);
    if (!inputs.isEmpty())
        return inputs.dequeue();
    return std::nullopt;
}

QStringList RecordingPrompts::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list.append(s.text);
    return list;
}

QString PresetFileDialogs::openFileName(const QString &, const QString &filters,
                                        const QString &startFolder)
{
    filtersSeen.append(filters);
    foldersSeen.append(startFolder);
    return openNames.isEmpty() ? QString() : openNames.dequeue();
}

QString PresetFileDialogs::saveFileName(const QString &, const QString &filters,
                                        const QString &defaultSuffix, const QString &startFolder)
{
    filtersSeen.append(filters);
    suffixesSeen.append(defaultSuffix);
    foldersSeen.append(startFolder);
    return saveNames.isEmpty() ? QString() : saveNames.dequeue();
}

QImage GrabWindowCapture::capture(QWidget *window)
{
    ++captures;
    return window ? window->grab().toImage() : QImage();
}

struct TestPlatform::TempDir
{
    QTemporaryDir dir;
    QTemporaryDir home;
};

TestPlatform::TestPlatform() : m_folder(std::make_unique<TempDir>())
{
    programFolder = m_folder->dir.path();
    setProgramFolder(programFolder);
    userConfigFolder = m_folder->home.filePath(QStringLiteral(".config/キネモ"));
    setUserConfigFolder(userConfigFolder);
    classSettingsFile = m_folder->home.filePath(QStringLiteral("etc/kinemo/kinmo.txt"));
    setClassSettingsFilePath(classSettingsFile);
    userDataFolder = m_folder->home.filePath(QStringLiteral(".local/share/キネモ"));
    setUserDataFolder(userDataFolder);
    resetMeasurementState();
    dialogfolders::forgetAll();
    Platform services;
    services.prompts = prompts;
    services.fileDialogs = fileDialogs;
    services.beeper = beeper;
    services.windowCapture = windowCapture;
    services.clipboard = clipboard;
    installPlatform(std::move(services));
}

TestPlatform::~TestPlatform()
{
    installPlatform(Platform{});
    setProgramFolder(QString());
    setUserConfigFolder(QString());
    setClassSettingsFilePath(QString());
    setUserDataFolder(QString());
}
