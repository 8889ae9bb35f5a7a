#include "print_doubles.h"

#include "printhelp/print_page.h"

#include <QFile>
#include <QRegularExpression>

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
