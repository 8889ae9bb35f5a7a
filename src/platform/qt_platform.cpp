#include "platform/qt_platform.h"

#include "platform/beeper.h"
#include "platform/file_dialogs.h"
#include "platform/prompts.h"
#include "platform/qt_print_services.h"
#include "platform/window_capture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
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

class QtFileDialogs : public FileDialogs
{
public:
    QString openFileName(const QString &title, const QString &filters) override
    {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(),
                                            filters);
    }

    QString saveFileName(const QString &title, const QString &filters,
                         const QString &defaultSuffix) override
    {
        QFileDialog dialog(QApplication::activeWindow(), title, QString(), filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(defaultSuffix);
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
    return services;
}
