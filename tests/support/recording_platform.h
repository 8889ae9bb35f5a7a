#pragma once
// Test doubles for the platform: prompts answered from a queue with every
// text recorded, file dialogs that return preset names, a beep counter and a
// window capture that grabs the widget offscreen.

#include "platform/beeper.h"
#include "platform/clipboard.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/window_capture.h"

#include <QQueue>
#include <QStringList>
#include <memory>

class RecordingPrompts : public Prompts
{
public:
    struct Shown
    {
        QString text;
        Buttons buttons;
        Icon icon;
    };

    // Answers given in order; when the queue is empty: Yes for Yes/No
    // questions, No for Yes/No/Cancel ones (unsaved points: go on without
    // saving), Ok otherwise, and a cancelled input box.
    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QList<Shown> shown;
    QStringList inputPrompts;
    QStringList inputDefaults; // the text each input box started with

    Answer message(const QString &text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};

class PresetFileDialogs : public FileDialogs
{
public:
    QQueue<QString> openNames; // empty queue: cancelled
    QQueue<QString> saveNames;
    QStringList filtersSeen;
    QStringList suffixesSeen;
    QStringList foldersSeen; // the start folder of each dialog

    QString openFileName(const QString &title, const QString &filters,
                         const QString &startFolder) override;
    QString saveFileName(const QString &title, const QString &filters, const QString &defaultSuffix,
                         const QString &startFolder) override;
};

class CountingBeeper : public Beeper
{
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

class TextClipboard : public Clipboard
{
public:
    QString text;
    QImage image;
    void setText(const QString &t) override { text = t; }
    void setImage(const QImage &i) override { image = i; }
};

class GrabWindowCapture : public WindowCapture
{
public:
    int captures = 0;
    QImage capture(QWidget *window) override;
};

// Installs fresh doubles for one test and points the program folder and the
// user's configuration folder at temporary directories, so no test touches a
// real settings file. The configuration folder does not exist at first, as
// on a first start.
struct TestPlatform
{
    TestPlatform();
    ~TestPlatform();

    std::shared_ptr<RecordingPrompts> prompts = std::make_shared<RecordingPrompts>();
    std::shared_ptr<PresetFileDialogs> fileDialogs = std::make_shared<PresetFileDialogs>();
    std::shared_ptr<CountingBeeper> beeper = std::make_shared<CountingBeeper>();
    std::shared_ptr<GrabWindowCapture> windowCapture = std::make_shared<GrabWindowCapture>();
    std::shared_ptr<TextClipboard> clipboard = std::make_shared<TextClipboard>();
    QString programFolder;
    QString userConfigFolder;
    // Where an installed program looks for class-wide settings; nothing is there.
    QString classSettingsFile;
    QString userDataFolder; // the recovery files go below it

private:
    struct TempDir;
    std::unique_ptr<TempDir> m_folder;
};
