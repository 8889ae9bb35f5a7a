#include "results/result_window.h"

#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "datafile/measurement_file_commands.h"
#include "platform/clipboard.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/qt_named_menus.h"
#include "results/preview_picture.h"
#include "results/result_display.h"
#include "results/result_graph_widget.h"
#include "results/result_opening.h"
#include "results/result_table_widget.h"
#include "results/summary_layout.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int Twips = 15;

QRect pixels(const QRect &twips)
{
    return QRect(twips.x() / Twips, twips.y() / Twips, twips.width() / Twips,
                 twips.height() / Twips);
}

template <typename Widget> Widget *placed(Widget *widget, const char *name, const QRect &twips)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(pixels(twips));
    return widget;
}

void setColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

} // namespace

ResultWindow::ResultWindow(const QString &title, const Layout &layout, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_title = title;
    setWindowTitle(title);
    buildMenus();
    buildControls(layout);
    m_openingCheck = [] {
        const MeasurementState &state = measurementState();
        return results::resultOpeningProblem(QString::number(state.RefLengthValue), state);
    };
}

void ResultWindow::buildMenus()
{
    auto menu = [this](const char *name, const QString &title) {
        return addNamedMenu(menuBar(), name, title);
    };
    auto item = addNamedItem;
    mnuFile = menu("mnuFile", QStringLiteral("ファイル(&F)"));
    mnuFileSave = item(mnuFile, "mnuFileSave", QStringLiteral("データを書き込む(&S)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuline1"));
    mnuFilePrint = item(mnuFile, "mnuFilePrint", QStringLiteral("結果を印刷する(&P)"));
    mnuDisp = menu("mnuDisp", QStringLiteral("表示(&D)"));
    mnuDispRtry = item(mnuDisp, "mnuDispRtry", QStringLiteral("再表示(&R)"));
    mnuDispChange = item(mnuDisp, "mnuDispChange", QStringLiteral("切り替え(&C)"));
    mnuHelp = menu("mnuHelp", QStringLiteral("ヘルプ(&H)"));
    mnuHelpRead = item(mnuHelp, "mnuHelpRead", QStringLiteral("キネモの使い方(&R)"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("バージョン情報(&A)"));

    mnuEditCopy = new QAction(QStringLiteral("コピー(&C)"), this);
    mnuEditCopy->setObjectName(QStringLiteral("mnuEditCopy"));
    mnuEditCopy->setShortcut(QKeySequence::Copy);
    mnuEditCopy->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuEditCopy);
    connect(mnuEditCopy, &QAction::triggered, this, &ResultWindow::copyToClipboard);

    connect(mnuDispRtry, &QAction::triggered, this, &ResultWindow::redisplay);
    connect(mnuDispChange, &QAction::triggered, this, &QWidget::close);
}

void ResultWindow::buildControls(const Layout &layout)
{
    m_centre = new QWidget(this);
    m_centre->setFixedSize(11775 / Twips, 8535 / Twips);
    setCentralWidget(m_centre);

    Picture1 = new ResultTableWidget(layout.firstColumnLeft, layout.firstColumnWidth,
                                     layout.tableValueRows, m_centre);
    Picture1->setGeometry(pixels({240, 240, 11295, 2205}));
    Picture1->addAction(mnuEditCopy);
    Picture1->setContextMenuPolicy(Qt::ActionsContextMenu);
    Picture2 = new ResultGraphWidget(layout.markerBorder, layout.valueNumberLeft, m_centre);
    Picture2->setGeometry(pixels({240, 2640, 7815, 5655}));

    Picture3 = placed(new QLabel(m_centre), "Picture3", {8160, 2640, 3375, 2415});
    Picture3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture3->setFrameShape(QFrame::Box);

    // Three lines: at 11 pixels the Japanese font needs 16 pixels a line, so
    // the label reaches down to just above the scale frame (52 pixels).
    Label11 = placed(new QLabel(m_centre), "Label11", {8160, 5280, 3375, 780});
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = Label11->font();
    small.setPixelSize(11);
    Label11->setFont(small);

    Frame1 =
        placed(new QGroupBox(QStringLiteral("目盛りの調整"), m_centre), "Frame1", layout.frame1);
    Label13 = placed(new QLabel(Frame1), "Label13", layout.label13);
    Command5 = placed(new QPushButton(QStringLiteral("▲"), Frame1), "Command5", layout.command5);
    Command4 = placed(new QPushButton(QStringLiteral("▼"), Frame1), "Command4", layout.command4);
    Label12 = placed(new QLabel(QStringLiteral("時間"), Frame1), "Label12", layout.label12);
    Command2 = placed(new QToolButton(Frame1), "Command2", layout.command2);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Command2->setToolTip(QStringLiteral("時間の目盛りを長くする"));
    Command3 = placed(new QToolButton(Frame1), "Command3", layout.command3);
    Command3->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Command3->setToolTip(QStringLiteral("時間の目盛りを短くする"));
    Command6 =
        placed(new QPushButton(QStringLiteral("標準に戻す"), Frame1), "Command6", layout.command6);
    if (layout.darkScaleFrame) {
        const QColor navy(0, 0, 128);
        for (QWidget *w : std::initializer_list<QWidget *>{Frame1, Label11, Label12, Label13})
            setColours(w, navy, Qt::white);
    }

    // The credit line in the bottom right corner of a printout: dark grey,
    // quieter than the results but readable on the light panel and on paper.
    lblCredit = placed(new QLabel(QStringLiteral("キネモ　運動の記録と解析"), m_centre),
                       "lblCredit", {8880, 8160, 2775, 255});
    QPalette creditPalette = lblCredit->palette();
    creditPalette.setColor(QPalette::WindowText, QColor(80, 80, 80));
    lblCredit->setPalette(creditPalette);
    lblCredit->hide();

    // Every scale change moves the time axis, and with it the current time.
    connect(Command2, &QToolButton::clicked, this, [this] {
        timeLonger();
        markCurrentFrame(false);
    });
    connect(Command3, &QToolButton::clicked, this, [this] {
        timeShorter();
        markCurrentFrame(false);
    });
    connect(Command4, &QPushButton::clicked, this, [this] { valueCoarser(); });
    connect(Command5, &QPushButton::clicked, this, [this] { valueFiner(); });
    connect(Command6, &QPushButton::clicked, this, [this] {
        standardScales();
        markCurrentFrame(false);
    });
    connect(Picture1->HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        pageTable(value);
        markCurrentFrame(false);
    });
    connect(Picture1, &ResultTableWidget::columnClicked, this, &ResultWindow::columnClicked);
    connect(Picture2, &ResultGraphWidget::clicked, this, &ResultWindow::graphClicked);
}

void ResultWindow::linkFrames(FrameLink link)
{
    m_link = std::move(link);
}

void ResultWindow::showCurrentFrame(std::optional<qint32> frame)
{
    m_currentFrame = frame;
    markCurrentFrame(true);
}

void ResultWindow::markCurrentFrame(bool pageToIt)
{
    if (!m_link)
        return;
    const std::vector<results::LinkedItem> columns =
        results::linkedItems(m_frames, m_link->columns);
    const int item = m_currentFrame ? results::itemOfFrame(columns, *m_currentFrame) : -1;
    QScrollBar *scroll = Picture1->HScroll1;
    if (pageToIt && item >= 0 &&
        (item < scroll->value() || item >= scroll->value() + results::TableColumns))
        scroll->setValue(std::clamp(item, scroll->minimum(), scroll->maximum()));
    Picture1->setHighlightedColumn(item >= 0 ? item - scroll->value() : -1);

    std::optional<float> x;
    if (m_currentFrame && !m_frames.empty() && m_frameRate > 0 && m_link->timeScaleIndex) {
        const double seconds = double(*m_currentFrame - m_frames.front()) / m_frameRate;
        const int row = std::clamp(m_link->timeScaleIndex(), 1, results::TimeScaleRows);
        x = results::timeAxisX(results::TimeScaleTable()[row], seconds);
    }
    Picture2->setCurrentTimeX(x);
}

void ResultWindow::columnClicked(int column)
{
    if (!m_link)
        return;
    const std::vector<results::LinkedItem> items = results::linkedItems(m_frames, m_link->columns);
    const int item = Picture1->HScroll1->value() + column;
    if (item >= 0 && item < int(items.size()))
        emit frameChosen(items[item].frame);
}

void ResultWindow::graphClicked(QPointF twips)
{
    if (!m_link || !m_link->spots)
        return;
    const std::vector<results::LinkedItem> items = results::linkedItems(m_frames, m_link->markers);
    const int item = results::itemAt(m_link->spots(), twips);
    if (item >= 0 && item < int(items.size()))
        emit frameChosen(items[item].frame);
}

results::DataCheck ResultWindow::load()
{
    const MeasurementState &state = measurementState();
    {
        // A maximum below the current position moves the bar without paging:
        // the load fills the table from its first column anyway.
        QSignalBlocker block(Picture1->HScroll1);
        Picture1->HScroll1->setMaximum(scrollMaximum(results::resultPointCount(state)));
    }
    Picture1->clearCaptions();
    // With several objects the title names the one shown: "…－（物体Ｂ）".
    const QString object = m_titleNamesObject ? objects::titleSuffix(state) : QString();
    setWindowTitle(m_title.endsWith(QChar(u'－')) && !object.isEmpty() ? m_title + object.mid(1)
                                                                       : m_title + object);
    const results::DataCheck check = computeResults();
    m_frames.clear();
    if (check.ok()) {
        m_frames = results::sortedFrames(state);
        m_frameRate = state.FrameRate;
        showResults();
    }
    mnuFilePrint->setEnabled(results::resultPrintAllowed(state.PrintPermission));
    // The table opens at its first page, as always; the frame on show is
    // marked where it can be seen.
    markCurrentFrame(false);
    return check;
}

void ResultWindow::redisplay()
{
    // The measurement may have been cleared or changed in the main window
    // since the window opened; computing then would divide by nothing.
    const QString problem = m_openingCheck ? m_openingCheck() : QString();
    if (!problem.isEmpty()) {
        platform().prompts->message(problem);
        return;
    }
    const results::DataCheck check = load();
    if (!check.ok())
        platform().prompts->message(results::dataProblemMessage(check));
}

bool ResultWindow::reloadQuietly()
{
    if (m_openingCheck && !m_openingCheck().isEmpty())
        return false;
    return load().ok();
}

void ResultWindow::copyToClipboard()
{
    if (platform().clipboard)
        platform().clipboard->setText(results::tabSeparated(copyTable()));
}

void ResultWindow::setOpeningCheck(std::function<QString()> check)
{
    m_openingCheck = std::move(check);
}

void ResultWindow::setPreview(const QImage &preview)
{
    m_preview = preview;
    showPreview();
}

void ResultWindow::showPreview()
{
    // Without a picture the box is left as it is.
    if (m_preview.isNull())
        return;
    // The picture has the shape of the main window's picture region
    // (results/preview_picture.h) and is scaled evenly into the box, so the
    // video in it keeps its own shape. Scaled to the screen's pixels, not to
    // logical ones: on a screen scaled to 200 % a picture of the logical size
    // would be blown up and blurred.
    const QSize size(3315 / Twips, 2355 / Twips);
    const qreal ratio = Picture3->devicePixelRatioF();
    QImage picture = results::fittedPicture(
        m_preview, QSize(qRound(size.width() * ratio), qRound(size.height() * ratio)),
        Picture3->palette().color(QPalette::Window));
    picture.setDevicePixelRatio(ratio);
    Picture3->setPixmap(QPixmap::fromImage(picture));
}

std::pair<QAction *, QMenu *> ResultWindow::addMeasurementAndTableMenus()
{
    mnuFileSave->setText(QStringLiteral("データを書き込む(&S)"));
    connect(mnuFileSave, &QAction::triggered, this,
            [] { datafile::saveMainWindowMeasurement(measurementState()); });
    auto *exportTable = new QAction(QStringLiteral("表をCSVで書き出す(&E)"), this);
    exportTable->setObjectName(QStringLiteral("mnuFileExport"));
    mnuFile->insertAction(mnuFilePrint, exportTable);
    mnuFile->insertSeparator(mnuFilePrint)->setObjectName(QStringLiteral("mnuline2"));
    connect(exportTable, &QAction::triggered, this,
            [this] { datafile::saveTableWithDialog(results::commaSeparatedCp932(copyTable())); });
    auto *edit = new QMenu(QStringLiteral("編集(&E)"), this);
    edit->setObjectName(QStringLiteral("mnuEdit"));
    menuBar()->insertMenu(mnuDisp->menuAction(), edit);
    edit->addAction(mnuEditCopy);
    return {exportTable, edit};
}

void ResultWindow::setSummary(const QString &text)
{
    m_summary = text;
    Label11->setText(
        results::summaryLines(text, Label11->fontMetrics(), Label11->contentsRect().width())
            .join(QLatin1Char('\n')));
}

void ResultWindow::applyVisibility()
{
    const results::ResultVisibility v =
        results::resultVisibility(measurementState().ResultDisplayMode);
    Picture1->setVisible(v.table);
    Picture2->setVisible(v.graph);
    Frame1->setVisible(v.scaleButtons);
}

void ResultWindow::showLimitMessage()
{
    platform().prompts->message(results::graphLimitMessage());
}
