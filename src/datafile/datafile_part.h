#pragma once
// The main window's measurement file commands: "データを保存する(&S)" writes
// the measurement, "データを取り込む(&L)" replaces it with a file's.

#include <QObject>
#include <functional>

class DigitizingPart;
class QAction;
class QComboBox;
class QLineEdit;
struct WindowState;

struct DataFileControls
{
    QAction *save = nullptr;
    QAction *load = nullptr;
    QLineEdit *lengthValue = nullptr;
    QComboBox *unit = nullptr; // shows the loaded file's unit
    // Asks about unsaved points before they go; false: keep them.
    std::function<bool()> mayEmptyMeasurement;
};

class DataFilePart : public QObject
{
    Q_OBJECT
public:
    DataFilePart(WindowState &state, DigitizingPart &digitizing, const DataFileControls &controls,
                 QObject *parent = nullptr);

    void save();
    // The open dialog, then the file's measurement in place of this one.
    void load();

signals:
    void changed();

private:
    WindowState &m_state;
    DigitizingPart &m_digitizing;
    DataFileControls m_c;
};
