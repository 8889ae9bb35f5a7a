#include "datafile/measurement_file_commands.h"

#include "base/measurement_objects.h"

#include "platform/beeper.h"
#include "platform/dialog_folders.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/prompts.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace datafile {

namespace {

void beep()
{
    if (platform().beeper)
        platform().beeper->beep();
}

SaveOutcome saveWithDialog(const QString &title, const QString &filter, const QString &suffix,
                           const std::function<QByteArray(const QString &)> &contentsFor,
                           const QString &failed = QStringLiteral("データを保存できませんでした。"))
{
    const QString path = platform().fileDialogs->saveFileName(
        title, filter, suffix, dialogfolders::startFolder(dialogfolders::Kind::Measurements));
    if (path.isEmpty())
        return SaveOutcome::Cancelled;

    if (QFileInfo::exists(path)) {
        const auto answer = platform().prompts->message(
            QStringLiteral("同じ名前のファイルが存在します。\r\n上書きしますか？"),
            Prompts::Buttons::YesNo, Prompts::Icon::Question);
        if (answer != Prompts::Answer::Yes)
            return SaveOutcome::Declined;
    }

    // A read-only folder or a full disk: the old file stays as it was, and
    // the user is told that the measurement is not in it.
    if (!writeMeasurementFile(path, contentsFor(path))) {
        beep();
        platform().prompts->message(failed + QStringLiteral("\n") + QDir::toNativeSeparators(path),
                                    Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return SaveOutcome::Failed;
    }
    dialogfolders::remember(dialogfolders::Kind::Measurements, path);
    return SaveOutcome::Saved;
}

SaveOutcome saveWithDialog(const QString &title, const QString &filter, const QByteArray &contents)
{
    return saveWithDialog(title, filter, measurementFileSuffix(),
                          [&contents](const QString &) { return contents; });
}

// A measurement file holds the chosen object only: the points count as
// saved when no other object has any.
SaveOutcome markedWhenSaved(SaveOutcome outcome, MeasurementState &state)
{
    if (outcome == SaveOutcome::Saved && objects::objectsWithPoints(state) <= 1)
        state.markPointsWritten();
    return outcome;
}

} // namespace

SaveOutcome saveMeasurementWithDialog(const QByteArray &contents)
{
    return saveWithDialog(QStringLiteral("データを保存する"), measurementFileFilter(), contents);
}

SaveOutcome saveTableWithDialog(const QByteArray &contents)
{
    return saveWithDialog(QStringLiteral("表をCSVで書き出す"), QStringLiteral("CSVファイル(*.csv)"),
                          contents);
}

QString kinemoFileFilter()
{
    return QStringLiteral("キネモの測定(*.kinemo)");
}

SaveOutcome saveKinemoWithDialog(const std::function<QByteArray(const QString &)> &contentsFor)
{
    return saveWithDialog(QStringLiteral("測定を保存する"), kinemoFileFilter(),
                          QStringLiteral("kinemo"), contentsFor);
}

std::optional<KinemoOpened> chooseAndReadKinemoFile()
{
    const QString path = platform().fileDialogs->openFileName(
        QStringLiteral("測定を開く"), kinemoFileFilter(),
        dialogfolders::startFolder(dialogfolders::Kind::Measurements));
    if (path.isEmpty())
        return std::nullopt;
    recovery::Read read = recovery::readFile(path);
    if (!read.ok) {
        beep();
        platform().prompts->message(QStringLiteral("測定を開けませんでした。\n") + read.error +
                                        QLatin1Char('\n') + QDir::toNativeSeparators(path),
                                    Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return std::nullopt;
    }
    dialogfolders::remember(dialogfolders::Kind::Measurements, path);
    return KinemoOpened{path, std::move(read.snapshot)};
}

SaveOutcome savePictureWithDialog(const QImage &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        png.clear();
    return saveWithDialog(
        QStringLiteral("画像を保存する"), QStringLiteral("PNG画像(*.png)"), QStringLiteral("png"),
        [&png](const QString &) { return png; }, QStringLiteral("画像を保存できませんでした。"));
}

SaveOutcome saveMainWindowMeasurement(MeasurementState &state)
{
    return markedWhenSaved(saveMeasurementWithDialog(mainWindowCsv(state)), state);
}

SaveOutcome saveResultWindowMeasurement(MeasurementState &state, const TimedValues &rows)
{
    return markedWhenSaved(saveMeasurementWithDialog(resultWindowCsv(state, rows)), state);
}

QString unsavedPointsQuestion()
{
    return QStringLiteral("打点が保存されていません。保存しますか？");
}

UnsavedPoints askAboutUnsavedPoints(MeasurementState &state,
                                    const std::function<SaveOutcome()> &saveWhole)
{
    if (!state.hasUnsavedPoints())
        return UnsavedPoints::None;
    switch (platform().prompts->message(unsavedPointsQuestion(), Prompts::Buttons::YesNoCancel,
                                        Prompts::Icon::Question)) {
    case Prompts::Answer::Yes: {
        // One object goes into the measurement file; several need the
        // measurement file of every object.
        const SaveOutcome outcome = objects::objectsWithPoints(state) > 1 && saveWhole
                                        ? saveWhole()
                                        : saveMainWindowMeasurement(state);
        return outcome == SaveOutcome::Saved ? UnsavedPoints::Saved : UnsavedPoints::Kept;
    }
    case Prompts::Answer::No:
        return UnsavedPoints::Discarded;
    default:
        return UnsavedPoints::Kept;
    }
}

std::optional<MeasurementFileData> chooseAndReadMeasurementFile()
{
    const QString path = platform().fileDialogs->openFileName(
        QStringLiteral("データを取り込む"), measurementFileFilter(),
        dialogfolders::startFolder(dialogfolders::Kind::Measurements));
    if (path.isEmpty())
        return std::nullopt;

    MeasurementFileRead read = readMeasurementFile(path);
    if (!read.ok) {
        beep();
        platform().prompts->message(read.error, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return std::nullopt;
    }
    dialogfolders::remember(dialogfolders::Kind::Measurements, path);
    return std::move(read.data);
}

} // namespace datafile
