#include "printhelp/print_page.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace printpage {

namespace {
constexpr int kLeft = -19;
constexpr int kTop = -25;
constexpr int kRight = 178;
constexpr int kBottom = 261;
constexpr double kPictureWidth = 150.0;
constexpr double kHeightPerAspect = 300.0; // y units per unit of height / width
} // namespace

QRect pageWindow()
{
    return QRect(QPoint(kLeft, kTop), QSize(kRight - kLeft, kBottom - kTop));
}

QRectF picturePlacement(const QSize &pictureSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return QRectF();
    const double aspect = double(pictureSize.height()) / double(pictureSize.width());
    double width = kPictureWidth;
    double height = kHeightPerAspect * aspect;
    // A tall window would lose its lower part below the printable area.
    if (height > kBottom) {
        width *= kBottom / height;
        height = kBottom;
    }
    return QRectF(0.0, 0.0, width, height);
}

QPageLayout pageLayout(const QMarginsF &marginsMm)
{
    return QPageLayout(QPageSize(QPageSize::JisB5), QPageLayout::Landscape, marginsMm,
                       QPageLayout::Millimeter);
}

QMarginsF pdfMarginsMm()
{
    return QMarginsF(5.0, 5.0, 5.0, 5.0);
}

void paintPrintPage(QPainter &painter, const QRect &printable, const QImage &picture)
{
    const QRectF target = picturePlacement(picture.size());
    if (target.isEmpty())
        return;
    painter.save();
    painter.setViewport(printable);
    painter.setWindow(pageWindow());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    painter.restore();
}

bool writePrintPagePdf(const QString &path, const QImage &picture)
{
    if (picture.isNull())
        return false;
    // Written beside the old file and put in its place only when complete,
    // so a failed save never leaves half a PDF or loses an earlier one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("キネモ"));
        writer.setCreator(QStringLiteral("キネモ"));
        writer.setResolution(300);
        if (!writer.setPageLayout(pageLayout(pdfMarginsMm())))
            return false;
        QPainter painter;
        if (painter.begin(&writer)) {
            paintPrintPage(painter, QRect(0, 0, writer.width(), writer.height()), picture);
            written = painter.end();
        }
    }
    // QSaveFile::commit() does not notice a failed write of its buffer.
    return written && file.flush() && file.error() == QFileDevice::NoError && file.commit();
}

PageDrawing drawing()
{
    return {[](const QMarginsF &margins) { return pageLayout(margins); }, &paintPrintPage};
}

} // namespace printpage
