#pragma once
// A scripted session on the real main window and result windows, driven the
// way a user drives them (menu commands, button clicks, clicks on the
// preview), with the recording doubles answering every dialog. Each phase
// prints the memory after its first repetition and after its last one.

#include "recording_platform.h"

#include <QString>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

class frmMain;

struct SessionCounts
{
    int openClose = 100;    // open and close the clip
    int points = 200;       // plot, then erase one by one
    int files = 100;        // load the last file, save it as a new one
    int resultWindows = 50; // open and close each result window
};

class LongSession
{
public:
    LongSession(const QString &clip, const SessionCounts &counts, QTextStream &out);
    ~LongSession();

    // Runs every phase; false (with the reason printed) when a step did not
    // do what the user would have seen it do.
    bool run();

private:
    bool openClose();
    bool plot();
    bool erase();
    bool files();
    bool resultWindows();
    bool resultWindow(bool speed);

    bool openClip();
    bool closeClip();
    bool setReferenceLength();
    bool pauseOver();
    bool goTo(int frame);
    bool fail(const QString &why);
    void report(const QString &label);
    // Prompts the recording doubles collected; cleared so that the session
    // itself does not grow with the repetitions.
    int takePrompts();
    // False, printing what the program said, when it showed a message.
    bool quiet(const QString &what);

    QString m_clip;
    SessionCounts m_counts;
    QTextStream &m_out;
    TestPlatform m_platform;
    QTemporaryDir m_folder;
    std::unique_ptr<frmMain> m_window;
};
