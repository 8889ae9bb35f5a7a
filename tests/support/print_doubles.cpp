#include "print_doubles.h"

#include "printhelp/print_page.h"

#include <QFile>
#include <QRegularExpression>
#include <QStack>
#include <QTransform>

bool PdfPrinter::printPage(const QImage &picture)
{
    if (onPrint)
        onPrint();
    lastPicture = picture;
    if (refuses)
        return false;
    const QString path = m_folder.filePath(QStringLiteral("page%1.pdf").arg(pages.size() + 1));
    if (!printpage::writePrintPagePdf(path, picture))
        return false;
    pages.append(path);
    return true;
}

bool RecordingBrowser::openLocalFile(const QString &path)
{
    opened.append(path);
    return starts;
}

QSizeF pdfMediaBoxPoints(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSizeF();
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    const QRegularExpressionMatch m = box.match(text);
    if (!m.hasMatch())
        return QSizeF();
    return QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                  m.captured(4).toDouble() - m.captured(2).toDouble());
}

namespace {

// The uncompressed page-content streams of the file.
QList<QByteArray> pdfContentStreams(const QByteArray &pdf)
{
    QList<QByteArray> streams;
    qsizetype from = 0;
    while (true) {
        const qsizetype start = pdf.indexOf("stream", from);
        if (start < 0)
            break;
        qsizetype body = start + 6;
        if (pdf.mid(body, 2) == "\r\n")
            body += 2;
        else if (pdf.mid(body, 1) == "\n")
            body += 1;
        else {
            from = body; // "endstream"
            continue;
        }
        const qsizetype end = pdf.indexOf("endstream", body);
        if (end < 0)
            break;
        const qsizetype dictStart = pdf.lastIndexOf("<<", start);
        const QByteArray dict = pdf.mid(dictStart, start - dictStart);
        QByteArray data = pdf.mid(body, end - body);
        if (!dict.contains("/Subtype /Image")) {
            if (dict.contains("/FlateDecode")) {
                QByteArray sized(4, '\0');
                const quint32 guess = quint32(data.size()) * 50 + 1024;
                for (int i = 0; i < 4; ++i)
                    sized[i] = char((guess >> (24 - 8 * i)) & 0xff);
                data = qUncompress(sized + data);
            }
            streams.append(data);
        }
        from = end + 9;
    }
    return streams;
}

} // namespace

QRectF pdfPictureRectMm(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QRectF();
    const QByteArray pdf = file.readAll();
    const QSizeF page = pdfMediaBoxPoints(path);
    const double mmPerPoint = 25.4 / 72.0;
    for (const QByteArray &content : pdfContentStreams(pdf)) {
        // A small interpreter for the graphics state: q / Q save and restore
        // the transformation, cm multiplies it, Do draws the picture into the
        // unit square.
        QTransform ctm;
        QStack<QTransform> saved;
        QList<double> numbers;
        const QList<QByteArray> tokens = content.simplified().split(' ');
        for (const QByteArray &token : tokens) {
            bool isNumber = false;
            const double value = token.toDouble(&isNumber);
            if (isNumber) {
                numbers.append(value);
                continue;
            }
            if (token == "q") {
                saved.push(ctm);
            } else if (token == "Q") {
                if (!saved.isEmpty())
                    ctm = saved.pop();
            } else if (token == "cm" && numbers.size() >= 6) {
                const auto n = numbers.mid(numbers.size() - 6);
                ctm = QTransform(n[0], n[1], n[2], n[3], n[4], n[5]) * ctm;
            } else if (token == "Do") {
                const QRectF points = ctm.mapRect(QRectF(0, 0, 1, 1));
                return QRectF(points.left() * mmPerPoint,
                              (page.height() - points.bottom()) * mmPerPoint,
                              points.width() * mmPerPoint, points.height() * mmPerPoint);
            }
            if (!token.startsWith('/'))
                numbers.clear();
        }
    }
    return QRectF();
}
