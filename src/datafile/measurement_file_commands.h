#pragma once
// The save and load commands of the measurement file, with their dialogs and
// questions. They talk to the user only through the platform services, so
// every window can use them and tests can answer for the user.

#include "datafile/measurement_csv.h"
#include "datafile/recovery_file.h"

#include <functional>
#include <optional>

class QImage;

namespace datafile {

enum class SaveOutcome
{
    Cancelled,
    Declined,
    Saved,
    Failed
};

// The save dialog ("キネモデータ(*.csv)", default extension csv), the
// overwrite question for an existing file, then the write. The old file is
// replaced only by a complete new one; a failed write beeps and says so.
SaveOutcome saveMeasurementWithDialog(const QByteArray &contents);

// A result table for a spreadsheet ("表をCSVで書き出す"): the same dialog,
// question and safe write, with the filter "CSVファイル(*.csv)".
SaveOutcome saveTableWithDialog(const QByteArray &contents);

// A picture as a PNG file ("画像を保存する", "PNG画像(*.png)"): the same
// dialog, question and safe write.
SaveOutcome savePictureWithDialog(const QImage &picture);

// The main window's "データを保存する(&S)". Saved, the points are no longer
// unsaved.
SaveOutcome saveMainWindowMeasurement(MeasurementState &state);

// A result window's "データを書き込む(&S)": `rows` are the times and values of
// the window's table, which fill columns 5 and 6.
SaveOutcome saveResultWindowMeasurement(MeasurementState &state, const TimedValues &rows);

enum class UnsavedPoints
{
    None,      // nothing unsaved: go on
    Saved,     // saved now: go on
    Discarded, // the user chose to lose them: go on
    Kept,      // cancelled, or the save did not happen: the command stops
};

// Before a command empties a measurement whose points are unsaved: the
// question with はい / いいえ / キャンセル. はい is the ordinary save; a
// cancelled or failed save keeps the points as a キャンセル does.
// With several objects, はい saves them all through `saveWhole` (the
// measurement file of every object, .kinemo).
UnsavedPoints askAboutUnsavedPoints(MeasurementState &state,
                                    const std::function<SaveOutcome()> &saveWhole = {});
QString unsavedPointsQuestion();

// The open dialog, then the whole file read and checked. A file that cannot
// be read or fails the check beeps and shows why; the result is then empty,
// as it is when the dialog is cancelled. Nothing is changed here: the caller
// clears its measurement and applies the data.
std::optional<MeasurementFileData> chooseAndReadMeasurementFile();

// The whole measurement (.kinemo, see datafile/recovery_file.h).
QString kinemoFileFilter();
// "測定を保存する(&W)…": the same dialog, question and safe write; the
// contents are made for the chosen path (the video is kept relative to it).
SaveOutcome saveKinemoWithDialog(const std::function<QByteArray(const QString &)> &contentsFor);

struct KinemoOpened
{
    QString path;
    recovery::Snapshot snapshot;
};
// "測定を開く(&R)…": the open dialog, then the file read whole; a refused
// file beeps and says why, and nothing comes back.
std::optional<KinemoOpened> chooseAndReadKinemoFile();

} // namespace datafile
