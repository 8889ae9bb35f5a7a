#include "datafile/measurement_file_commands.h"

#include "platform/beeper.h"
#include "platform/dialog_folders.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFileInfo>

namespace datafile {

namespace {

void beep()
{
    if (platform().beeper)
        platform().beeper->beep();
}

SaveOutcome saveWithDialog(const QString &title, const QString &filter, const QByteArray &contents)
{
    const QString path = platform().fileDialogs->saveFileName(
        title, filter, measurementFileSuffix(),
        dialogfolders::startFolder(dialogfolders::Kind::Measurements));
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
    if (!writeMeasurementFile(path, contents)) {
        beep();
        platform().prompts->message(QStringLiteral("データを保存できませんでした。\n") +
                                        QDir::toNativeSeparators(path),
                                    Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return SaveOutcome::Failed;
    }
    dialogfolders::remember(dialogfolders::Kind::Measurements, path);
    return SaveOutcome::Saved;
}

SaveOutcome markedWhenSaved(SaveOutcome outcome, MeasurementState &state)
{
    if (outcome == SaveOutcome::Saved)
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

UnsavedPoints askAboutUnsavedPoints(MeasurementState &state)
{
    if (!state.hasUnsavedPoints())
        return UnsavedPoints::None;
    switch (platform().prompts->message(unsavedPointsQuestion(), Prompts::Buttons::YesNoCancel,
                                        Prompts::Icon::Question)) {
    case Prompts::Answer::Yes:
        return saveMainWindowMeasurement(state) == SaveOutcome::Saved ? UnsavedPoints::Saved
                                                                      : UnsavedPoints::Kept;
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
