#include "platform/qt_print_services.h"

#include "platform/browser.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
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

// The desktop's opener (xdg-open) is asked, as the desktop itself would.
// Without a browser it starts and then fails at once; it is given a moment to
// say so, and a failure is reported instead of nothing happening. An opener
// still running after that moment has started the browser.
class DesktopBrowser : public Browser
{
public:
    bool openLocalFile(const QString &path) override
    {
        const QUrl url = QUrl::fromLocalFile(path);
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return QDesktopServices::openUrl(url);
        auto *process = new QProcess(QCoreApplication::instance());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        QObject::connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
        process->start(opener, {url.toString()});
        if (!process->waitForStarted(kOpenerWaitMs))
            return false;
        if (!process->waitForFinished(kOpenerWaitMs))
            return true;
        return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }

private:
    static constexpr int kOpenerWaitMs = 3000;
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
