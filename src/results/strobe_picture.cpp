#include "results/strobe_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace strobe {

cv::Mat viewOf(const QImage &rgb32)
{
    return cv::Mat(rgb32.height(), rgb32.width(), CV_8UC4, const_cast<uchar *>(rgb32.constBits()),
                   size_t(rgb32.bytesPerLine()));
}

cv::Mat rgbOf(const cv::Mat &view)
{
    cv::Mat rgb;
    cv::cvtColor(view, rgb,
                 Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? cv::COLOR_BGRA2RGB : cv::COLOR_RGBA2RGB);
    return rgb;
}

cv::Mat toMat(const QImage &image)
{
    return rgbOf(viewOf(image.convertToFormat(QImage::Format_RGB32)));
}

QImage toImage(const cv::Mat &rgb)
{
    return QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888).copy();
}

QImage strobePicture(const Plan &plan, const Material &material, const Choices &choices)
{
    struct Copy
    {
        qint32 frame;
        const Cutout *cutout;
        int number;
    };
    std::vector<Copy> chosen;
    QString step;
    for (size_t o = 0; o < plan.objects.size() && o < material.cutouts.size(); ++o) {
        if (o < choices.shown.size() && !choices.shown[o])
            continue;
        const PlottedObject &object = plan.objects[o];
        const std::vector<const PlottedPoint *> points = chosenPoints(object, choices.every);
        if (step.isEmpty())
            step = timeStepText(points, plan.frameRate);
        for (const PlottedPoint *p : points) {
            const Cutout &c = material.cutouts[o][size_t(p - object.points.data())];
            chosen.push_back({p->frame, &c, p->number});
        }
    }
    // Later frames on top, whichever object they belong to.
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const Copy &a, const Copy &b) { return a.frame < b.frame; });
    std::vector<const Cutout *> copies;
    for (const Copy &c : chosen)
        copies.push_back(c.cutout);
    QImage picture = toImage(compose(material.background, copies, material.discRadius));

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = std::max(1.0, picture.height() / 480.0);
    QFont font = painter.font();
    font.setPixelSize(int(std::lround(13 * unit)));
    font.setBold(true);
    painter.setFont(font);
    const auto outlined = [&](const QPointF &at, const QString &text, const QColor &colour) {
        QPainterPath path;
        path.addText(at, font, text);
        painter.strokePath(path,
                           QPen(Qt::white, 3 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, colour);
    };
    if (choices.markers) {
        const QColor red(220, 0, 0);
        const double ring = material.discRadius + 2 * unit;
        for (const Copy &c : chosen) {
            const QPointF centre(c.cutout->centre.x + 0.5, c.cutout->centre.y + 0.5);
            painter.setPen(QPen(red, 1.5 * unit));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre, ring, ring);
            outlined(centre + QPointF(ring + 2 * unit, -ring / 2), QString::number(c.number), red);
        }
    }
    if (!step.isEmpty())
        outlined(QPointF(8 * unit, 8 * unit + font.pixelSize()), step, Qt::black);
    return picture;
}

} // namespace strobe
