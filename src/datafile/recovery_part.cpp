#include "datafile/recovery_part.h"

#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "base/window_state.h"
#include "datafile/recovery_store.h"
#include "digitize/digitizing_part.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "video/video_part.h"

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
        const Prompts::Answer answer = prompts.message(
            question(read.snapshot.pointCount), Prompts::Buttons::YesNo, Prompts::Icon::Question);
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

void RecoveryPart::restore(const recovery::Snapshot &snapshot)
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
        if (!videoPath.isEmpty())
            platform().prompts->message(videoMissingMessage(videoPath), Prompts::Buttons::Ok,
                                        Prompts::Icon::Information);
    }
    emit changed();
}
