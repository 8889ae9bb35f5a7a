#include "results/result_graph_widget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

using namespace results;

namespace {

constexpr float NumberHeight = 200; // twips
constexpr float FontHeight = 165;   // twips, about 11 pixels
constexpr float AxisTop = GraphOriginY - ValueAxisLength;
constexpr float AxisRight = GraphOriginX + TimeAxisLength;

QLabel *graphLabel(const char *name, const QString &text, int left, int top, int width, int height,
                   QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left / 15, top / 15, width / 15, height / 15);
    return label;
}

} // namespace

ResultGraphWidget::ResultGraphWidget(QColor markerBorder, float valueNumberLeft, QWidget *parent)
    : QWidget(parent), m_markerBorder(markerBorder), m_valueNumberLeft(valueNumberLeft)
{
    setObjectName(QStringLiteral("Picture2"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Label1 = graphLabel("Label1", QStringLiteral("時　間"), 3480, 5280, 1000, 255, this);
    Label4 = graphLabel("Label4", QStringLiteral("(秒)"), 7080, 5280, 700, 255, this);
    Label2 = graphLabel("Label2", QString(), 120, 1800, 240, 975, this);
    QFont small = Label2->font();
    small.setPixelSize(11);
    Label2->setFont(small);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label3 = graphLabel("Label3", QString(), 0, 480, 1200, 255, this);
    Label9 = graphLabel("Label9", QStringLiteral("0"), 840, 4950, 200, 255, this);
    Label10 = graphLabel("Label10", QStringLiteral("0"), 700, 4830, 200, 255, this);
}

void ResultGraphWidget::setValueTitle(const QString &title)
{
    // The label is one character wide, so word wrap puts each character of
    // the title on its own line.
    Label2->setText(title);
}

void ResultGraphWidget::setContentPainter(std::function<void(QPainter &)> content)
{
    m_content = std::move(content);
    update();
}

void ResultGraphWidget::setGraph(const GraphState &graph)
{
    m_graph = graph;
    update();
}

void ResultGraphWidget::paint(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / GraphWidth, target.height() / GraphHeight);
    painter.setClipRect(QRectF(0, 0, GraphWidth, GraphHeight));
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (m_content) {
        m_content(painter);
        paintCurrentTime(painter);
        painter.restore();
        return;
    }

    // Grid lines span the axes; the last one may stand a spacing beyond.
    QPen grid(QColor(160, 160, 160), 0, Qt::DotLine);
    painter.setPen(grid);
    for (const GridLine &line : m_graph.LineX)
        if (line.visible)
            painter.drawLine(QPointF(line.position, AxisTop), QPointF(line.position, GraphOriginY));
    for (const GridLine &line : m_graph.LineY)
        if (line.visible)
            painter.drawLine(QPointF(GraphOriginX, line.position),
                             QPointF(AxisRight, line.position));

    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(GraphOriginX, AxisTop), QPointF(GraphOriginX, GraphOriginY));
    painter.drawLine(QPointF(GraphOriginX, GraphOriginY), QPointF(AxisRight, GraphOriginY));

    QFont font = painter.font();
    font.setPixelSize(int(FontHeight));
    painter.setFont(font);
    for (const AxisNumber &number : m_graph.Labelxx)
        if (number.visible && !number.caption.isEmpty())
            painter.drawText(QRectF(number.position, 4950, 1200, NumberHeight),
                             Qt::AlignLeft | Qt::AlignTop, number.caption);
    for (const AxisNumber &number : m_graph.Labelyy)
        if (number.visible && !number.caption.isEmpty())
            painter.drawText(QRectF(m_valueNumberLeft, number.position,
                                    GraphOriginX - 40 - m_valueNumberLeft, NumberHeight),
                             Qt::AlignRight | Qt::AlignTop, number.caption);

    painter.setPen(QPen(m_markerBorder, 20));
    painter.setBrush(Qt::white);
    for (const GraphMarker &marker : m_graph.Shapep)
        if (marker.visible)
            painter.drawEllipse(QRectF(marker.left, marker.top, MarkerSize, MarkerSize));
    paintCurrentTime(painter);
    painter.restore();
}

void ResultGraphWidget::paintCurrentTime(QPainter &painter) const
{
    if (!m_currentTimeX)
        return;
    painter.setPen(QPen(QColor(255, 160, 0), 0));
    painter.drawLine(QPointF(*m_currentTimeX, AxisTop), QPointF(*m_currentTimeX, GraphOriginY));
}

void ResultGraphWidget::setCurrentTimeX(std::optional<float> x)
{
    if (x == m_currentTimeX)
        return;
    m_currentTimeX = x;
    update();
}

void ResultGraphWidget::mousePressEvent(QMouseEvent *event)
{
    if (width() <= 0 || height() <= 0)
        return;
    emit clicked(QPointF(event->position().x() * GraphWidth / width(),
                         event->position().y() * GraphHeight / height()));
}

void ResultGraphWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}
