// The main window's measurement file commands: "データを保存する(&S)" writes
// the measurement, "データを取り込む(&L)" replaces it with a file's.

#include "app/frmMain.h"

#include "app/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "digitize/digitizing_state.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace {

void showLengthSet(QLabel *label)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(pal);
    label->setText(QStringLiteral("長さは設定されています"));
}

} // namespace

void frmMain::wireDataFile()
{
    connect(mnuFileSave, &QAction::triggered, this,
            [] { datafile::saveMainWindowMeasurement(measurementState()); });

    connect(mnuFileLoad, &QAction::triggered, this, [this] {
        // The whole file is read and checked before anything changes, so a
        // bad file leaves the current measurement as it was.
        const std::optional<datafile::MeasurementFileData> data =
            datafile::chooseAndReadMeasurementFile();
        if (!data)
            return;

        // A half-made camera-shake pair or an unfinished length setting
        // belongs to the points that are about to go.
        const bool navigationHeld =
            LengthSettingMode || digitizingState().AwaitingShakeReference == 1;
        ResetDigitizing();
        if (navigationHeld)
            EnableNavigation();
        ClearMeasurement();

        MeasurementState &state = measurementState();
        datafile::applyMeasurementFile(*data, state);
        PrepareMarkers();
        txtLengthValue->setText(QString::number(state.RefLengthValue));
        if (state.RefLengthPixels != 0)
            showLengthSet(lblLength);
        DataOpened = true;
        ShowAllMarkers();
    });
}
