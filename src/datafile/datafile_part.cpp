#include "datafile/datafile_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "datafile/measurement_file_commands.h"
#include "digitize/digitizing_part.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

DataFilePart::DataFilePart(WindowState &state, DigitizingPart &digitizing,
                           const DataFileControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_digitizing(digitizing), m_c(controls)
{
    connect(m_c.save, &QAction::triggered, this, &DataFilePart::save);
    connect(m_c.load, &QAction::triggered, this, &DataFilePart::load);
}

void DataFilePart::save()
{
    datafile::saveMainWindowMeasurement(measurementState());
}

void DataFilePart::load()
{
    // The whole file is read and checked before anything changes, so a bad
    // file leaves the current measurement as it was.
    const std::optional<datafile::MeasurementFileData> data =
        datafile::chooseAndReadMeasurementFile();
    if (!data ||
        datafile::askAboutUnsavedPoints(measurementState()) == datafile::UnsavedPoints::Kept)
        return;

    m_state.measurementReplaced();
    m_digitizing.clearMeasurement();
    MeasurementState &measurement = measurementState();
    datafile::applyMeasurementFile(*data, measurement);
    measurement.markPointsWritten();
    m_digitizing.prepareMarkers();
    m_c.lengthValue->setText(QString::number(measurement.RefLengthValue));
    m_c.unit->setCurrentText(measurement.LengthUnit);
    m_state.DataOpened = true;
    m_digitizing.showAllMarkers();
    emit changed();
}
