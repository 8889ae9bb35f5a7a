#include "printhelp/frmAbout.h"

#include "platform/platform.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
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
        "　DirectX8.0a以上に対応し、多くのデジカメの映像を再生することができます。\r\n"
        "\r\n"
        "　avi・mov・mpg・mpeg の映像を開き、コマ送りで物体の位置を記録して、"
        "時間と速さ、時間と移動距離の関係を調べることができます。"));
    lblDisclaimer->setText(
        QStringLiteral("警告: このプログラムは理科の学習のために作られたものです。"
                       "このプログラムの使用や測定結果の利用によって生じたいかなる損害についても、"
                       "作者は責任を負いません。"));
}

void frmAbout::StartSysInfo()
{
    // The system-information tool and the store that would name it do not
    // exist on this platform.
    platform().prompts->message(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"),
                                Prompts::Buttons::Ok, Prompts::Icon::None);
}
