#include "datafile/recovery_part.h"

#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "base/window_state.h"
#include "datafile/recovery_store.h"
#include "digitize/digitizing_part.h"
#include "platform/dialog_folders.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// During tracking a step comes several times a second; the file follows at
// most this often, and once more when tracking ends.
constexpr int kTrackingWriteMs = 1000;

QString unreadableMessage(const QString &path, const QString &why)
{
    return QStringLiteral(
               "前回の打点を記録したファイルが壊れていたため、元に戻せませんでした。\n") +
           why + QLatin1Char('\n') + QDir::toNativeSeparators(path);
}

QString videoMissingMessage(const QString &videoPath)
{
    return QStringLiteral("前回の映像が見つからなかったため、打点だけを元に戻しました。\n"
                          "映像があった場所：\n") +
           QDir::toNativeSeparators(videoPath);
}

} // namespace

RecoveryPart::RecoveryPart(WindowState &state, VideoPart &video, DigitizingPart &digitizing,
                           const RecoveryControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_video(video), m_digitizing(digitizing), m_c(controls),
      m_store(std::make_unique<RecoveryStore>(recoveryFolder()))
{
    connect(m_c.saveMeasurement, &QAction::triggered, this, [this] { saveMeasurement(); });
    connect(m_c.openMeasurement, &QAction::triggered, this, &RecoveryPart::openMeasurement);
    m_trackingWrite.setSingleShot(true);
    connect(&m_trackingWrite, &QTimer::timeout, this, &RecoveryPart::measurementMayHaveChanged);
    connect(m_c.interval, &QLineEdit::textChanged, this, &RecoveryPart::measurementMayHaveChanged);
}

RecoveryPart::~RecoveryPart() = default;

QString RecoveryPart::question(int points)
{
    return QStringLiteral("前回、キネモが正しく終了しませんでした。"
                          "記録されていた打点（%1点）を元に戻しますか？")
        .arg(points);
}

recovery::Snapshot RecoveryPart::currentSnapshot() const
{
    recovery::Snapshot s = recovery::snapshotOf(measurementState(), m_state.VideoOpen);
    if (m_state.VideoOpen)
        s.videoFrameRate = m_video.playbackRate();
    s.shakeCorrection = m_state.ShakeCorrectionOn;
    const DigitizingState &clicks = m_digitizing.clicks();
    s.shakeOriginX = clicks.ShakeOriginX;
    s.shakeOriginY = clicks.ShakeOriginY;
    s.plotInterval = m_c.interval->text();
    return s;
}

void RecoveryPart::measurementMayHaveChanged()
{
    if (m_ended || !m_store->active())
        return;
    const recovery::Snapshot now = currentSnapshot();
    if (now == m_written)
        return;
    if (m_state.Tracking && m_sinceWrite.isValid() && m_sinceWrite.elapsed() < kTrackingWriteMs) {
        if (!m_trackingWrite.isActive())
            m_trackingWrite.start(int(kTrackingWriteMs - m_sinceWrite.elapsed()));
        return;
    }
    writeSnapshot(now);
}

void RecoveryPart::writeSnapshot(const recovery::Snapshot &snapshot)
{
    m_trackingWrite.stop();
    if (snapshot.empty()) {
        if (!m_written.empty())
            m_store->remove();
    } else {
        m_store->write(snapshot);
        ++m_writesAsked;
    }
    m_written = snapshot;
    m_sinceWrite.start();
}

void RecoveryPart::endNormally()
{
    m_ended = true;
    m_trackingWrite.stop();
    m_store->remove();
    m_store->waitUntilDone();
}

void RecoveryPart::offerRecovery()
{
    m_store->removeStaleLocks();
    Prompts &prompts = *platform().prompts;
    for (const QString &path : m_store->otherFiles()) {
        ClaimedRecoveryFile claimed(path);
        if (!claimed.held())
            continue; // the copy that writes it still runs
        const recovery::Read read = recovery::readFile(path);
        if (!read.ok) {
            prompts.message(unreadableMessage(path, read.error), Prompts::Buttons::Ok,
                            Prompts::Icon::Exclamation);
            claimed.discard();
            continue;
        }
        const Prompts::Answer answer =
            prompts.message(question(read.snapshot.totalPoints()), Prompts::Buttons::YesNo,
                            Prompts::Icon::Question);
        if (answer != Prompts::Answer::Yes) {
            claimed.discard();
            continue;
        }
        restore(read.snapshot);
        // The measurement is in this copy's file before the old one goes.
        measurementMayHaveChanged();
        m_store->waitUntilDone();
        claimed.discard();
        return;
    }
}

QString RecoveryPart::videoMovedQuestion(const QString &videoPath)
{
    return QStringLiteral("測定の映像が見つかりません。\n") + QDir::toNativeSeparators(videoPath) +
           QStringLiteral("\n映像の場所を選びますか？（選ばないときは、打点だけを開きます）");
}

datafile::SaveOutcome RecoveryPart::saveMeasurement()
{
    recovery::Snapshot snapshot = currentSnapshot();
    if (snapshot.empty()) {
        platform().prompts->message(QStringLiteral("保存する打点がありません。"));
        return datafile::SaveOutcome::Cancelled;
    }
    const datafile::SaveOutcome outcome =
        datafile::saveKinemoWithDialog([&snapshot](const QString &path) {
            if (!snapshot.videoPath.isEmpty())
                snapshot.videoRelative =
                    QFileInfo(path).absoluteDir().relativeFilePath(snapshot.videoPath);
            return recovery::encode(snapshot, recovery::Kind::Measurement);
        });
    if (outcome == datafile::SaveOutcome::Saved)
        measurementState().markPointsWritten();
    emit changed();
    return outcome;
}

bool RecoveryPart::mayEmptyMeasurement()
{
    return datafile::askAboutUnsavedPoints(measurementState(), [this] {
               return saveMeasurement();
           }) != datafile::UnsavedPoints::Kept;
}

void RecoveryPart::openMeasurement()
{
    std::optional<datafile::KinemoOpened> opened = datafile::chooseAndReadKinemoFile();
    if (!opened || !mayEmptyMeasurement())
        return;
    recovery::Snapshot &snapshot = opened->snapshot;
    snapshot.videoPath = findVideo(snapshot, opened->path);
    restore(snapshot, false);
    // Opened from the user's file: nothing in it is unsaved.
    measurementState().markPointsWritten();
}

QString RecoveryPart::findVideo(const recovery::Snapshot &snapshot, const QString &filePath)
{
    if (snapshot.videoPath.isEmpty())
        return QString();
    if (QFileInfo::exists(snapshot.videoPath))
        return snapshot.videoPath;
    if (!snapshot.videoRelative.isEmpty()) {
        const QString beside =
            QFileInfo(filePath).absoluteDir().absoluteFilePath(snapshot.videoRelative);
        if (QFileInfo::exists(beside))
            return QDir::cleanPath(beside);
    }
    Platform &p = platform();
    if (p.prompts->message(videoMovedQuestion(snapshot.videoPath), Prompts::Buttons::YesNo,
                           Prompts::Icon::Question) != Prompts::Answer::Yes)
        return QString();
    const QString chosen =
        p.fileDialogs->openFileName(QStringLiteral("映像を開く"), VideoPart::fileFilters(),
                                    dialogfolders::startFolder(dialogfolders::Kind::Videos));
    return chosen;
}

void RecoveryPart::restore(const recovery::Snapshot &snapshot, bool reportMissingVideo)
{
    const QString &videoPath = snapshot.videoPath;
    const bool withVideo = !videoPath.isEmpty() && QFileInfo::exists(videoPath) &&
                           m_video.openVideoFile(videoPath, false);

    m_state.measurementReplaced();
    m_digitizing.clearMeasurement();
    MeasurementState &measurement = measurementState();
    recovery::apply(snapshot, measurement);
    if (withVideo) {
        m_state.ShakeCorrectionOn = snapshot.shakeCorrection;
        m_digitizing.clicks().ShakeOriginX = snapshot.shakeOriginX;
        m_digitizing.clicks().ShakeOriginY = snapshot.shakeOriginY;
        m_video.showFrameRate();
        // A length that was set was set with the button: it reads "設定" again.
        m_state.LengthSettingUsed = snapshot.refLengthPixels != 0;
    }
    if (measurement.RefLengthPixels != 0)
        m_c.lengthValue->setText(QString::number(measurement.RefLengthValue));
    if (!measurement.LengthUnit.isEmpty())
        m_c.unit->setCurrentText(measurement.LengthUnit);
    if (!snapshot.plotInterval.isEmpty())
        m_c.interval->setText(snapshot.plotInterval);
    m_state.DataOpened = true;
    m_digitizing.prepareMarkers();
    if (withVideo) {
        // Back on the frame of the last point, where the student left off.
        m_video.moveTo(measurement.PointTable[measurement.PointCount][MeasurementState::ColFrame]);
    } else {
        m_digitizing.showAllMarkers();
        if (!videoPath.isEmpty() && reportMissingVideo)
            platform().prompts->message(videoMissingMessage(videoPath), Prompts::Buttons::Ok,
                                        Prompts::Icon::Information);
    }
    emit changed();
}
