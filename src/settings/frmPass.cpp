#include "settings/frmPass.h"

#include "base/measurement_state.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "settings/frmSystem.h"
#include "settings/password_rules.h"
#include "settings/twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

// The sizes below are of the whole window; the frame and title bar take this
// much of them, the rest is the client area the controls are placed in.
constexpr int kFrameWidthTwips = 90;
constexpr int kFrameHeightTwips = 420;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QSize windowSize(int widthTwips, int heightTwips)
{
    return QSize(twipsToPixels(widthTwips - kFrameWidthTwips),
                 twipsToPixels(heightTwips - kFrameHeightTwips));
}

void placeButtons(QPushButton *password, QPushButton *ok, QPushButton *cancel, int topTwips)
{
    password->setGeometry(twipsRect(120, topTwips, 1455, 375));
    ok->setGeometry(twipsRect(1680, topTwips, 1125, 375));
    cancel->setGeometry(twipsRect(2880, topTwips, 1125, 375));
}

// Each line of a prompt stays on one line of the label where it can: the
// type gets smaller, down to 7 points, until the longest line fits.
void showPrompt(QLabel *label, const QString &text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    // Fractions count: a line 273.1 pixels wide wraps in a label of 273.
    auto widest = [&lines](const QFont &font) {
        const QFontMetricsF metrics(font);
        qreal width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        return width;
    };
    QFont font = label->parentWidget()->font();
    while (font.pointSizeF() > 7 && widest(font) > label->contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    label->setText(text);
}

} // namespace

frmPass::frmPass(QObject *owner, QWidget *parent) : QWidget(parent, Qt::Dialog), m_owner(owner)
{
    setObjectName(QStringLiteral("frmPass"));
    setWindowTitle(QStringLiteral("パスワードの入力"));
    QFont small = font();
    small.setPointSize(9);
    setFont(small);
    buildControls();
    applyEntryLayout();
    PasswordChangeMode = 0;
}

void frmPass::buildControls()
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 4095, 735));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Should even the smallest type not fit, a line wraps within the label.
    Label1->setWordWrap(true);

    const QStringList captions = {QStringLiteral("現在のパスワード"),
                                  QStringLiteral("新しいパスワード"),
                                  QStringLiteral("新しいパスワード（再入力）")};
    const int labelLefts[] = {360, 345, 360};
    const int tops[] = {1080, 1560, 2040};
    const int labelTops[] = {1125, 1605, 2040};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("lblPass_%1").arg(i));
        // Up to the box; a caption too long for one line wraps below.
        label->setGeometry(twipsRect(labelLefts[i], labelTops[i], 1875 - labelLefts[i], 510));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        lblPass.append(label);

        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtPass_%1").arg(i));
        box->setGeometry(twipsRect(1920, tops[i], 1935, 270));
        box->setEchoMode(QLineEdit::Password);
        // Every character shows as "*", whatever the style's own mask is.
        box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
        // Direct keyboard input only: no input-method editor, no prediction.
        box->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                 Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        connect(box, &QLineEdit::returnPressed, this, &frmPass::cmdOk_Click);
        txtPass.append(box);
    }

    auto makeButton = [this](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    cmdPassword = makeButton("cmdPassword", QStringLiteral("パスワード変更"));
    cmdOk = makeButton("cmdOk", QStringLiteral("O   K"));
    cmdCancel = makeButton("cmdCancel", QStringLiteral("キャンセル"));
    connect(cmdPassword, &QPushButton::clicked, this, &frmPass::cmdPassword_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmPass::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPass::cmdCancel_Click);
}

void frmPass::applyEntryLayout()
{
    setFixedSize(windowSize(4440, 2700));
    placeButtons(cmdPassword, cmdOk, cmdCancel, 1600);
    showPrompt(Label1, password::entryPrompt());
    for (int i = 0; i < 3; ++i) {
        lblPass[i]->hide();
        txtPass[i]->setVisible(i == 0);
    }
    setTabOrder(txtPass[0], cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdPassword);
    txtPass[0]->setFocus();
}

void frmPass::applyChangeLayout()
{
    setFixedSize(windowSize(4440, 3525));
    placeButtons(cmdPassword, cmdOk, cmdCancel, 2640);
    showPrompt(Label1, password::changePrompt());
    for (int i = 0; i < 3; ++i) {
        lblPass[i]->show();
        txtPass[i]->show();
    }
    setTabOrder(txtPass[0], txtPass[1]);
    setTabOrder(txtPass[1], txtPass[2]);
    setTabOrder(txtPass[2], cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdPassword);
    txtPass[0]->setFocus();
}

void frmPass::cmdPassword_Click()
{
    // What is already typed in the first box stays.
    PasswordChangeMode = -1;
    applyChangeLayout();
}

void frmPass::refuse()
{
    platform().prompts->message(password::refusalMessage());
}

void frmPass::cmdOk_Click()
{
    QString &stored = measurementState().SettingsPassword;
    if (PasswordChangeMode == 0) {
        if (!password::accepts(txtPass[0]->text(), stored)) {
            refuse();
            txtPass[0]->clear();
            txtPass[0]->setFocus();
            return;
        }
    } else {
        const std::optional<QString> fresh =
            password::changed(stored, txtPass[0]->text(), txtPass[1]->text(), txtPass[2]->text());
        if (!fresh) {
            refuse();
            for (QLineEdit *box : txtPass)
                box->clear();
            txtPass[0]->setFocus();
            return;
        }
        // Kept in memory; the settings file gets it when it is next written.
        stored = *fresh;
        PasswordChangeMode = 0;
    }
    frmSystem::showSettings(m_owner);
    close();
}

void frmPass::cmdCancel_Click()
{
    close();
}
