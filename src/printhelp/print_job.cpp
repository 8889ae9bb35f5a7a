#include "printhelp/print_job.h"

#include "platform/dialog_folders.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "printhelp/print_page.h"

#include <QDir>
#include <QFileInfo>

namespace printtexts {

QString insertB5Paper()
{
    return QStringLiteral("プリンタにＢ５用紙を入れてください");
}

QString noPrinter()
{
    return QStringLiteral("プリンタが見つかりません。\r\n"
                          "印刷するかわりに、同じページをPDFファイルに保存しますか？");
}

QString pdfDialogTitle()
{
    return QStringLiteral("PDFファイルに保存");
}

QString pdfFilter()
{
    return QStringLiteral("PDFファイル (*.pdf)");
}

QString overwrite(const QString &path)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(" は既にあります。\r\n上書きしますか？");
}

QString pdfFailed()
{
    return QStringLiteral("PDFファイルを保存できませんでした。\r\n"
                          "保存先のフォルダに書き込めるかどうか確かめてください。");
}

QString printFailed()
{
    return QStringLiteral("印刷できませんでした。\r\nプリンタの状態を確かめてください。");
}

QString captureFailed()
{
    return QStringLiteral("画面を取り込めなかったため、印刷できませんでした。");
}

} // namespace printtexts

namespace {

PrintOutcome saveAsPdfInstead(const QImage &picture)
{
    Prompts &prompts = *platform().prompts;
    if (prompts.message(printtexts::noPrinter(), Prompts::Buttons::YesNo,
                        Prompts::Icon::Question) != Prompts::Answer::Yes)
        return PrintOutcome::Abandoned;
    if (!platform().fileDialogs)
        return PrintOutcome::Abandoned;
    // Beside the measurement files; a PDF does not move where they are saved.
    const QString path = platform().fileDialogs->saveFileName(
        printtexts::pdfDialogTitle(), printtexts::pdfFilter(), QStringLiteral("pdf"),
        dialogfolders::startFolder(dialogfolders::Kind::Measurements));
    if (path.isEmpty())
        return PrintOutcome::Abandoned;
    if (QFileInfo::exists(path) &&
        prompts.message(printtexts::overwrite(path), Prompts::Buttons::YesNo,
                        Prompts::Icon::Exclamation) != Prompts::Answer::Yes)
        return PrintOutcome::Abandoned;
    if (!printpage::writePrintPagePdf(path, picture)) {
        prompts.message(printtexts::pdfFailed(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::SavedAsPdf;
}

} // namespace

PrintOutcome printWindowPicture(const QImage &picture)
{
    Prompts &prompts = *platform().prompts;
    if (picture.isNull()) {
        prompts.message(printtexts::captureFailed(), Prompts::Buttons::Ok,
                        Prompts::Icon::Exclamation);
        return PrintOutcome::Failed;
    }
    Printer *printer = platform().printer.get();
    if (!printer || !printer->available())
        return saveAsPdfInstead(picture);
    if (!printer->printPage(picture)) {
        prompts.message(printtexts::printFailed(), Prompts::Buttons::Ok,
                        Prompts::Icon::Exclamation);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

bool paperReady()
{
    Printer *printer = platform().printer.get();
    if (!printer || !printer->available())
        return true;
    return platform().prompts->message(printtexts::insertB5Paper(), Prompts::Buttons::OkCancel,
                                       Prompts::Icon::None) == Prompts::Answer::Ok;
}
