#include "printhelp/frmAbout.h"

#include "platform/clipboard.h"
#include "platform/platform.h"
#include "printhelp/system_info.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString kAppTitle = QStringLiteral("キネモ");
// The version of the project, the same one the package and its metainfo carry.
constexpr int kMajor = KINEMO_VERSION_MAJOR;
constexpr int kMinor = KINEMO_VERSION_MINOR;
constexpr int kRevision = KINEMO_VERSION_PATCH;

QPointer<frmAbout> &instance()
{
    static QPointer<frmAbout> dialog;
    return dialog;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmAbout *frmAbout::showDialog()
{
    if (!instance()) {
        instance() = new frmAbout;
        instance()->setAttribute(Qt::WA_DeleteOnClose);
    }
    frmAbout *dialog = instance();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

frmAbout *frmAbout::openDialog()
{
    return instance();
}

QString frmAbout::versionText()
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(false);
    buildControls();
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    connect(cmdCopy, &QPushButton::clicked, this, [this] {
        if (platform().clipboard)
            platform().clipboard->setText(txtSysInfo->toPlainText());
    });
    Form_Load();
}

void frmAbout::buildControls()
{
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon->setPixmap(icon.pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        return l;
    };
    lblTitle = label("lblTitle", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = label("lblVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ"));
    lblDescription = label("lblDescription", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"));
    lblDisclaimer = label("lblDisclaimer", QStringLiteral("警告"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    txtSysInfo = new QPlainTextEdit(this);
    txtSysInfo->setObjectName(QStringLiteral("txtSysInfo"));
    txtSysInfo->setReadOnly(true);
    txtSysInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Every line of the information without a scroll bar.
    txtSysInfo->setFixedSize(580, txtSysInfo->fontMetrics().lineSpacing() * 10 + 12);
    txtSysInfo->hide();
    cmdCopy = new QPushButton(QStringLiteral("コピー(&C)"), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setToolTip(QStringLiteral("この情報をコピーして、メールなどに貼り付けられます"));
    cmdCopy->hide();

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(texts, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator(this));
    layout->addWidget(separator(this));
    layout->addLayout(bottom);
    auto *info = new QHBoxLayout;
    info->addWidget(txtSysInfo, 1);
    info->addWidget(cmdCopy, 0, Qt::AlignTop);
    layout->addLayout(info);
    // Wrapped labels only find their height once their width is known.
    for (QLabel *l : {lblTitle, lblVersion, lblDescription})
        l->setFixedWidth(500);
    lblDisclaimer->setFixedWidth(420);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::Form_Load()
{
    setWindowTitle(kAppTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(versionText());
    lblTitle->setText(kAppTitle);
    lblDescription->setText(QStringLiteral(
        "　このアプリケーションは運動体の位置を記録し、解析するものです。\r\n"
        "　スマートフォンやデジカメの映像（mp4・mov・avi・mpg・mts・mkv・webm・wmv など）を、"
        "FFmpeg で読み込んで再生することができます。\r\n"
        "\r\n"
        "　映像を開き、コマ送りで物体の位置を記録して、"
        "時間と速さ、時間と移動距離の関係を調べることができます。"));
    lblDisclaimer->setText(
        QStringLiteral("警告: このプログラムは理科の学習のために作られたものです。"
                       "このプログラムの使用や測定結果の利用によって生じたいかなる損害についても、"
                       "作者は責任を負いません。"));
}

void frmAbout::StartSysInfo()
{
    SystemFacts facts;
    facts.programVersion = QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision);
    if (QScreen *shown = screen()) {
        facts.screenScale = shown->devicePixelRatio();
        facts.logicalDpi = shown->logicalDotsPerInch();
    }
    txtSysInfo->setPlainText(systemInfoText(facts));
    txtSysInfo->show();
    cmdCopy->show();
}
