#include "platform/qt_print_services.h"

#include "platform/browser.h"
#include "platform/printer.h"

#include <QDesktopServices>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

namespace {

class QtPrinter : public Printer
{
public:
    explicit QtPrinter(PageDrawing page) : m_page(std::move(page)) {}

    bool available() override { return !QPrinterInfo::availablePrinters().isEmpty(); }

    bool printPage(const QImage &picture) override
    {
        if (picture.isNull())
            return false;
        QPrinterInfo target = QPrinterInfo::defaultPrinter();
        if (target.isNull())
            target = QPrinterInfo::availablePrinters().value(0);
        if (target.isNull())
            return false;
        QPrinter printer(target, QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("キネモ"));
        printer.setCreator(QStringLiteral("キネモ"));
        // Keep the printer's own margins: the page's coordinates cover the
        // area it can actually print on.
        const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
        if (!printer.setPageLayout(m_page.layout(margins)))
            return false;
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        m_page.paint(painter, QRect(0, 0, printer.width(), printer.height()), picture);
        return painter.end() && printer.printerState() != QPrinter::Error;
    }

private:
    PageDrawing m_page;
};

class DesktopBrowser : public Browser
{
public:
    bool openLocalFile(const QString &path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

} // namespace

std::shared_ptr<Printer> makeQtPrinter(PageDrawing page)
{
    return std::make_shared<QtPrinter>(std::move(page));
}

std::shared_ptr<Browser> makeQtBrowser()
{
    return std::make_shared<DesktopBrowser>();
}
