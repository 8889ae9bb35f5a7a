#pragma once
// What the result windows share: the table, the graph, the picture of the
// main window's preview, the summary, the scale buttons, the menus and the
// copy of the table for a spreadsheet (Ctrl+C, and コピー on the table's
// right-click menu), laid out in twips (15 to a pixel). Each window computes
// and fills them in its own way.

#include "results/frame_link.h"
#include "results/result_computation.h"
#include "results/table_export.h"

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <functional>
#include <utility>
#include <optional>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class ResultGraphWidget;
class ResultTableWidget;

class ResultWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Positions that differ between the two windows, in twips.
    struct Layout
    {
        QColor markerBorder;
        float valueNumberLeft;
        int firstColumnLeft;
        int firstColumnWidth;
        bool darkScaleFrame;
        QRect frame1;
        QRect label13, command5, command4, label12, command2, command3, command6;
        int tableValueRows = 1; // values under each time in the table
    };

    // Runs the load: computes from the current measurement and fills every
    // part. A data problem is returned (and nothing is filled) so the opener
    // can show its message instead of the window.
    results::DataCheck load();

    // The picture of the main window's preview, scaled into Picture3.
    void setPreview(const QImage &preview);
    QImage preview() const { return m_preview; }

    // The checks that "再表示(&R)" repeats before recomputing; returns the
    // message to show, or an empty text. By default the typed length is
    // taken from the measurement.
    void setOpeningCheck(std::function<QString()> check);

    // "再表示(&R)": the checks, then the load again.
    void redisplay();
    // Another object was chosen in the main window: the load again when the
    // checks pass; false (and nothing done) when they do not.
    bool reloadQuietly();

    // The exact summary text, lines joined by CR LF.
    QString summary() const { return m_summary; }

    // The table as a spreadsheet takes it: a header row, then one row per
    // column of the table, the time first.
    virtual results::TextTable copyTable() const = 0;
    // Puts the table on the clipboard as tab-separated text.
    void copyToClipboard();

    // The frame the main window shows (none without a video): the table
    // column it belongs to is highlighted, paged to when out of sight, and
    // a thin line on the graph marks its time.
    void showCurrentFrame(std::optional<qint32> frame);

signals:
    // A click on a table column or a graph marker: the main window is to
    // show the frame of that point (of an interval, its later point).
    void frameChosen(qint32 frame);

public:
    QMenu *mnuFile = nullptr;
    QAction *mnuFileSave = nullptr; // write the measurement with these results
    QAction *mnuFilePrint = nullptr;
    QMenu *mnuDisp = nullptr;
    QAction *mnuDispRtry = nullptr;
    QAction *mnuDispChange = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpRead = nullptr;
    QAction *mnuHelpAbout = nullptr;
    // Ctrl+C and the table's right-click menu; in no menu bar unless a
    // window puts it there.
    QAction *mnuEditCopy = nullptr;

    ResultTableWidget *Picture1 = nullptr;
    ResultGraphWidget *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QLabel *Label11 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QToolButton *Command2 = nullptr;
    QToolButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QLabel *lblCredit = nullptr;

protected:
    ResultWindow(const QString &title, const Layout &layout, QWidget *parent);

    // How the window's items lead back to the video: what the table's
    // columns and the graph's markers stand for, the markers on show, and
    // the time scale row the graph is drawn with. Each window gives it once,
    // in its constructor; the frames come from the points of each load.
    struct FrameLink
    {
        results::LinkedItems columns = results::LinkedItems::Intervals;
        results::LinkedItems markers = results::LinkedItems::Intervals;
        std::function<std::vector<results::GraphSpot>()> spots;
        std::function<int()> timeScaleIndex;
    };
    void linkFrames(FrameLink link);

    // The window's own part of the load: clear and compute its tables, put
    // the graph into its load state.
    virtual results::DataCheck computeResults() = 0;
    // Table, summary and scales from the computed tables.
    virtual void showResults() = 0;
    // Shows the table from the given row or interval on.
    virtual void pageTable(int first) = 0;
    virtual int scrollMaximum(int pointCount) const = 0;

    // Scale buttons.
    virtual void timeLonger() = 0;
    virtual void timeShorter() = 0;
    virtual void valueCoarser() = 0;
    virtual void valueFiner() = 0;
    virtual void standardScales() = 0;

    void setSummary(const QString &text);
    // For a window that saves the measurement as the main window does and
    // hands its table on: "データを書き込む(&S)", "表をCSVで書き出す(&E)" and
    // an edit menu with the copy. Returns the export item and the menu.
    std::pair<QAction *, QMenu *> addMeasurementAndTableMenus();
    // A window about every object keeps its title without an object's name.
    void setTitleNamesObject(bool names) { m_titleNamesObject = names; }
    void showPreview();
    void applyVisibility();
    void showLimitMessage();
    QWidget *centre() const { return m_centre; }

private:
    void buildMenus();
    void buildControls(const Layout &layout);
    void columnClicked(int column);
    void graphClicked(QPointF twips);
    // The highlight and the line for the frame on show; with `pageToIt` the
    // table pages to its column.
    void markCurrentFrame(bool pageToIt);

    QString m_title; // without the object's name
    bool m_titleNamesObject = true;
    QWidget *m_centre = nullptr;
    QImage m_preview;
    QString m_summary;
    std::function<QString()> m_openingCheck;
    std::optional<FrameLink> m_link; // none: the window does not lead to frames
    std::vector<qint32> m_frames; // the points' frames of the last load, in order
    double m_frameRate = 0;       // FrameRate of the last load
    std::optional<qint32> m_currentFrame;
};
