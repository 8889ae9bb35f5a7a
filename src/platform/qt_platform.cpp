#include "platform/qt_platform.h"

#include "platform/beeper.h"
#include "platform/clipboard.h"
#include "platform/file_dialogs.h"
#include "platform/prompts.h"
#include "platform/qt_print_services.h"
#include "platform/window_capture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QTreeView>
#include <QWidget>

namespace {

const QString kAppTitle = QStringLiteral("キネモ");

class QtPrompts : public Prompts
{
public:
    Answer message(const QString &text, Buttons buttons, Icon icon) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(kAppTitle);
        box.setText(text);
        box.setIcon(toQtIcon(icon));
        switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        setJapaneseButtonTexts(box);
        switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }

    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override
    {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(title.isEmpty() ? kAppTitle : title);
        dialog.setLabelText(prompt);
        dialog.setTextValue(defaultText);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("キャンセル"));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

private:
    static QMessageBox::Icon toQtIcon(Icon icon)
    {
        switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }

    static void setJapaneseButtonTexts(QMessageBox &box)
    {
        const std::pair<QMessageBox::StandardButton, const char *> texts[] = {
            {QMessageBox::Ok, "OK"},
            {QMessageBox::Cancel, "キャンセル"},
            {QMessageBox::Yes, "はい(&Y)"},
            {QMessageBox::No, "いいえ(&N)"},
        };
        for (const auto &[which, text] : texts) {
            if (QAbstractButton *button = box.button(which))
                button->setText(QString::fromUtf8(text));
        }
    }
};

// The file list writes sizes and dates in the desktop's language ("8 Dec
// 2024" on an English desktop), and Qt's translation leaves the kind of a
// folder in English; this writes them in the program's language, Japanese.
class JapaneseFileDetails : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const bool folder = files->isDir(source);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        switch (index.column()) {
        case 1:
            return folder ? QString() : japanese.formattedDataSize(files->size(source));
        case 2:
            return folder ? QCoreApplication::translate("QFileDialog", "Folder")
                          : QIdentityProxyModel::data(index, role);
        default:
            return japanese.toString(files->lastModified(source), QLocale::ShortFormat);
        }
    }
};

// Qt's own dialog rather than the desktop's: it shows Qt's Japanese texts on
// every desktop whatever language that is set to (the desktop's dialog
// follows the desktop), shows the filter captions as written, and is the
// same dialog everywhere, so the help page can describe it.
class QtFileDialogs : public FileDialogs
{
public:
    QString openFileName(const QString &title, const QString &filters,
                         const QString &startFolder) override
    {
        QFileDialog dialog(QApplication::activeWindow(), title, startFolder, filters);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return run(dialog);
    }

    QString saveFileName(const QString &title, const QString &filters, const QString &defaultSuffix,
                         const QString &startFolder) override
    {
        QFileDialog dialog(QApplication::activeWindow(), title, startFolder, filters);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(defaultSuffix);
        return run(dialog);
    }

private:
    static void prepare(QFileDialog &dialog)
    {
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setProxyModel(new JapaneseFileDetails(&dialog));
        // Wide enough for the name, size, kind and date of a video.
        dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
        if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
            const int widths[] = {260, 90, 90, 130};
            for (int column = 0; column < 4; ++column)
                list->header()->resizeSection(column, widths[column]);
        }
    }

    static QString run(QFileDialog &dialog)
    {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }
};

class QtBeeper : public Beeper
{
public:
    void beep() override { QApplication::beep(); }
};

class QtClipboard : public Clipboard
{
public:
    void setText(const QString &text) override { QGuiApplication::clipboard()->setText(text); }
    void setImage(const QImage &image) override { QGuiApplication::clipboard()->setImage(image); }
};

class QtWindowCapture : public WindowCapture
{
public:
    QImage capture(QWidget *window) override
    {
        if (!window)
            return QImage();
        return window->grab().toImage();
    }
};

} // namespace

Platform makeQtPlatform(PageDrawing page)
{
    Platform services;
    services.prompts = std::make_shared<QtPrompts>();
    services.fileDialogs = std::make_shared<QtFileDialogs>();
    services.beeper = std::make_shared<QtBeeper>();
    services.windowCapture = std::make_shared<QtWindowCapture>();
    services.printer = makeQtPrinter(std::move(page));
    services.browser = makeQtBrowser();
    services.clipboard = std::make_shared<QtClipboard>();
    return services;
}
