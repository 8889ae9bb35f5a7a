#include "results/frmResult4.h"

#include "base/measurement_state.h"
#include "base/numbers.h"
#include "platform/qt_event_hook.h"
#include "results/frame_link.h"
#include "results/result_graph_widget.h"
#include "results/result_table_widget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

constexpr int Twips = 15;

const QColor Selected(255, 240, 160);

std::optional<results::GraphCurve> curveOf(const results::MotionFit &fit)
{
    if (!fit.valid)
        return std::nullopt;
    return results::GraphCurve{[fit](double t) { return fit.valueAt(t); }, fit.firstTime,
                               fit.lastTime, fit.model == results::FitModel::Line};
}

} // namespace

frmResult4::frmResult4(QWidget *parent)
    : SeriesResultWindow(QStringLiteral("キネモ　－結果表示　位置と時間－"),
                         QStringLiteral("位　置"), QStringLiteral("位置"), parent)
{
    setObjectName(QStringLiteral("frmResult4"));
    linkFrames({results::LinkedItems::Points, results::LinkedItems::Points,
                [this] { return results::markerSpots(m_scales.graph()); },
                [this] { return int(m_scales.TimeScaleIndex); }});
    // The equations are long: the summary has a tall box, the scale
    // buttons stand under it.
    Label11->setGeometry(8160 / Twips, 5460 / Twips, 3375 / Twips, 1700 / Twips);
    Frame1->move(8160 / Twips, 7200 / Twips);
    buildFitControls();

    Picture1->setToolTip(QStringLiteral(
        "列をクリック（ドラッグ、Shift＋クリック）すると、その打点だけで近似します"));
    m_tableHook = EventHook::install(Picture1, [this](QEvent *event) { return tableMouse(event); });
}

frmResult4::~frmResult4()
{
    // The table outlives this class's part of the window while it closes:
    // its hide events must not reach the selection any more.
    delete m_tableHook;
}

void frmResult4::buildFitControls()
{
    lblFit = new QLabel(QStringLiteral("近似　x"), centre());
    lblFit->setObjectName(QStringLiteral("lblFit"));
    lblFit->setGeometry(8160 / Twips, 5100 / Twips, 780 / Twips, 300 / Twips);
    auto *yLabel = new QLabel(QStringLiteral("y"), centre());
    yLabel->setObjectName(QStringLiteral("lblFitY"));
    yLabel->setGeometry(9960 / Twips, 5100 / Twips, 180 / Twips, 300 / Twips);
    cmbFitX = new QComboBox(centre());
    cmbFitX->setObjectName(QStringLiteral("cmbFitX"));
    cmbFitX->setGeometry(8880 / Twips, 5085 / Twips, 1050 / Twips, 330 / Twips);
    cmbFitY = new QComboBox(centre());
    cmbFitY->setObjectName(QStringLiteral("cmbFitY"));
    cmbFitY->setGeometry(10200 / Twips, 5085 / Twips, 1050 / Twips, 330 / Twips);
    for (QComboBox *box : {cmbFitX, cmbFitY}) {
        box->addItems(results::fitModelNames());
        connect(box, &QComboBox::currentIndexChanged, this, &frmResult4::refit);
    }
}

results::DataCheck frmResult4::computeResults()
{
    const MeasurementState &state = measurementState();
    m_unit = state.LengthUnit;
    const results::DataCheck check = results::computePositionResults(state, m_results);
    results::GraphSeries series;
    for (const results::PositionRow &row : m_results.rows) {
        series.times.push_back(row.time);
        series.first.push_back(row.x);
        series.second.push_back(row.y);
    }
    series.names = QStringList{QStringLiteral("x"), QStringLiteral("y")};
    m_scales.load(series);
    // A selection beyond the new points goes.
    if (m_last >= int(m_results.rows.size()))
        m_anchor = m_first = m_last = -1;
    return check;
}

void frmResult4::showResults()
{
    const QStringList headers = results::positionHeaders(m_unit);
    Picture1->setHeaders(headers[0], headers[1]);
    Picture1->setSecondValueHeader(headers[2]);
    Picture2->Label3->setText(QStringLiteral("(") + m_unit + QStringLiteral(")"));
    pageTable(0);
    showPreview();
    standardScales();
    refit();
    applyVisibility();
}

void frmResult4::pageTable(int first)
{
    results::TablePage page;
    for (int c = 0; c < results::TableColumns; ++c) {
        const int row = first + c;
        if (first < 0 || row >= int(m_results.rows.size()))
            break;
        const QStringList cells = results::positionCells(m_results.rows[size_t(row)]);
        page[c] = {cells[0], cells[1], cells[2]};
    }
    Picture1->setPage(page);
    m_pageFirst = std::max(first, 0);
    markSelection();
}

int frmResult4::scrollMaximum(int pointCount) const
{
    // One column per point, as in the distance window.
    return results::distanceScrollMaximum(pointCount);
}

results::TextTable frmResult4::copyTable() const
{
    return results::positionTable(m_results, m_unit);
}

std::optional<std::pair<int, int>> frmResult4::selection() const
{
    if (m_first < 0)
        return std::nullopt;
    return std::pair{m_first, m_last};
}

void frmResult4::selectRows(int first, int last)
{
    const int rows = int(m_results.rows.size());
    if (rows == 0)
        return;
    m_anchor = std::clamp(first, 0, rows - 1);
    m_first = std::min(m_anchor, std::clamp(last, 0, rows - 1));
    m_last = std::max(m_anchor, std::clamp(last, 0, rows - 1));
    markSelection();
    refit();
}

void frmResult4::clearSelection()
{
    m_anchor = m_first = m_last = -1;
    markSelection();
    refit();
}

int frmResult4::columnAt(QPoint position) const
{
    for (int i = 0; i < results::TableColumns; ++i) {
        QRect column = Picture1->Labelx[i]->geometry().united(Picture1->Labelz[i]->geometry());
        if (column.adjusted(-2, -2, 2, 2).contains(position))
            return i;
    }
    return -1;
}

bool frmResult4::tableMouse(QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!press && event->type() != QEvent::MouseMove)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (press ? mouse->button() != Qt::LeftButton : !(mouse->buttons() & Qt::LeftButton))
        return false;
    const QPoint at = Picture1->mapFromGlobal(mouse->globalPosition().toPoint());
    const int column = columnAt(at);
    const int row = column < 0 ? -1 : m_pageFirst + column;
    if (row < 0 || row >= int(m_results.rows.size())) {
        // A press beside the columns ends the selection; a drag off them keeps it.
        if (press && !Picture1->HScroll1->geometry().contains(at))
            clearSelection();
        return false;
    }
    const bool extend = !press || (mouse->modifiers() & Qt::ShiftModifier);
    if (extend && m_anchor >= 0)
        selectRows(m_anchor, row);
    else
        selectRows(row, row);
    return false;
}

void frmResult4::markSelection()
{
    const int first = m_pageFirst;
    for (int i = 0; i < results::TableColumns; ++i) {
        const int row = first + i;
        const bool on =
            m_first >= 0 && row >= m_first && row <= m_last && row < int(m_results.rows.size());
        for (QLabel *cell : {Picture1->Labelx[i], Picture1->Labely[i], Picture1->Labelz[i]}) {
            QPalette pal = cell->palette();
            pal.setColor(QPalette::Window, Selected);
            cell->setPalette(pal);
            cell->setAutoFillBackground(on);
        }
    }
}

void frmResult4::refit()
{
    const auto model = [](const QComboBox *box) {
        return static_cast<results::FitModel>(std::max(0, box->currentIndex()));
    };
    m_fits = results::fitPositions(m_results, model(cmbFitX), model(cmbFitY), m_first, m_last);
    QString summary = results::positionSummary(m_fits, m_unit);
    if (m_first >= 0 &&
        (m_fits.x.model != results::FitModel::None || m_fits.y.model != results::FitModel::None))
        summary = QStringLiteral("  %1秒から%2秒までの打点で近似しました。")
                      .arg(num::fixed3(m_results.rows[size_t(m_first)].time),
                           num::fixed3(m_results.rows[size_t(m_last)].time)) +
                  QStringLiteral("\r\n") + summary;
    setSummary(summary);
    m_scales.setCurves(curveOf(m_fits.x), curveOf(m_fits.y));
    Picture2->update();
}
