#pragma once
// The main window's recovery file: after every command the measurement is
// compared with the one last written, and a changed one is written (during
// automatic tracking at most once a second, and once when it ends). At start
// the measurements of copies that ended without a quit are offered back; a
// confirmed quit removes this copy's file.

#include "datafile/recovery_file.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

class DigitizingPart;
class QComboBox;
class QLineEdit;
class RecoveryStore;
class VideoPart;
struct WindowState;

struct RecoveryControls
{
    QLineEdit *lengthValue = nullptr;
    QComboBox *unit = nullptr;
    QLineEdit *interval = nullptr; // "打点間隔は"
};

class RecoveryPart : public QObject
{
    Q_OBJECT
public:
    RecoveryPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
                 const RecoveryControls &controls, QObject *parent = nullptr);
    ~RecoveryPart() override;

    // Runs after every command: writes the measurement when it has changed
    // since the last write, removes the file when it has become empty.
    void measurementMayHaveChanged();
    // At start: offers, one by one, the measurements that copies which no
    // longer run have left, until one is taken back.
    void offerRecovery();
    // The confirmed quit: this copy's file goes, and nothing is written after.
    void endNormally();

    RecoveryStore &store() { return *m_store; }
    // How many times the measurement was handed to the store to be written.
    int writesAsked() const { return m_writesAsked; }

    static QString question(int points);

signals:
    void changed();

private:
    recovery::Snapshot currentSnapshot() const;
    void writeSnapshot(const recovery::Snapshot &snapshot);
    void restore(const recovery::Snapshot &snapshot);

    WindowState &m_state;
    VideoPart &m_video;
    DigitizingPart &m_digitizing;
    RecoveryControls m_c;
    std::unique_ptr<RecoveryStore> m_store;
    recovery::Snapshot m_written; // what the file holds now; empty: no file
    QElapsedTimer m_sinceWrite;
    QTimer m_trackingWrite; // the write held back during tracking
    int m_writesAsked = 0;
    bool m_ended = false;
};
