// Building the main window's controls and menus, each named as the rest of
// the program knows it.

#include "app/frmMain.h"

#include "app/plain_disabled_icon.h"
#include "platform/qt_named_menus.h"
#include "video/preview_widget.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    return named(new QLabel(text, parent), name);
}

QPushButton *button(const char *name, const QString &text, const QString &tip, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setToolTip(tip);
    return b;
}

QToolButton *pictureButton(const char *name, QStyle::StandardPixmap icon, const QString &tip,
                           QWidget *parent)
{
    auto *b = named(new QToolButton(parent), name);
    // Disabled, the picture greys out like the captions of the disabled
    // buttons beside it; screen readers read what the button does.
    b->setIcon(withPlainDisabledLook(parent->style()->standardIcon(icon)));
    b->setIconSize(QSize(28, 28));
    b->setMinimumSize(44, 40);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    return b;
}

QTimer *timer(const char *name, int intervalMs, QObject *parent)
{
    auto *t = named(new QTimer(parent), name);
    t->setInterval(intervalMs);
    return t;
}

} // namespace

void frmMain::buildMenus()
{
    auto menu = [this](const char *name, const QString &title) {
        return addNamedMenu(menuBar(), name, title);
    };
    auto item = addNamedItem;

    mnuFile = menu("mnuFile", QStringLiteral("ファイル(&M)"));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", QStringLiteral("映像を開く(&O)"));
    mnuFileClose = item(mnuFile, "mnuFileClose", QStringLiteral("映像を閉じる(&C)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileStep1"));
    mnuFileSave = item(mnuFile, "mnuFileSave", QStringLiteral("データを保存する(&S)"));
    mnuFileLoad = item(mnuFile, "mnuFileLoad", QStringLiteral("データを取り込む(&L)"));
    mnuFileSaveMeasurement =
        item(mnuFile, "mnuFileSaveMeasurement", QStringLiteral("測定を保存する(&W)…"));
    mnuFileOpenMeasurement =
        item(mnuFile, "mnuFileOpenMeasurement", QStringLiteral("測定を開く(&R)…"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileStep3"));
    mnuFilePrint = item(mnuFile, "mnuFilePrint", QStringLiteral("画面の印刷(&P)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileStep2"));
    mnuFileEnd = item(mnuFile, "mnuFileEnd", QStringLiteral("キネモの終了(&E)"));

    mnuEdit = menu("mnuEdit", QStringLiteral("編集(&E）"));
    mnuEditSingle = item(mnuEdit, "mnuEditSingle", QStringLiteral("打点を一つ消す(&S)"));
    mnuEditAll = item(mnuEdit, "mnuEditAll", QStringLiteral("打点を全部消す(&A)"));

    mnuView = menu("mnuView", QStringLiteral("表示(&V)"));
    mnuViewResult1 = item(mnuView, "mnuViewResult1", QStringLiteral("時間と速さの結果表示(&S)"));
    mnuViewResult2 =
        item(mnuView, "mnuViewResult2", QStringLiteral("時間と移動距離の結果表示(&D)"));
    mnuViewResult3 = item(mnuView, "mnuViewResult3", QStringLiteral("速度の成分と加速度(&A)"));
    mnuViewMomentum = item(mnuView, "mnuViewMomentum", QStringLiteral("運動量(&M)"));
    mnuViewResult4 = item(mnuView, "mnuViewResult4", QStringLiteral("位置と時間(&P)"));
    mnuViewStrobe = item(mnuView, "mnuViewStrobe", QStringLiteral("ストロボ写真(&T)"));
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuViewStep1"));
    mnuViewMagnifier = item(mnuView, "mnuViewMagnifier", QStringLiteral("拡大鏡(&Z)"));
    mnuViewMagnifier->setCheckable(true);

    mnuSystem = menu("mnuSystem", QStringLiteral("設定(&S)"));
    mnuSystemChenge = item(mnuSystem, "mnuSystemChenge", QStringLiteral("手ぶれ補正切り替え(&C)"));
    mnuSystemDisp = item(mnuSystem, "mnuSystemDisp", QStringLiteral("環境設定(&D)"));
    mnuSystem->addSeparator()->setObjectName(QStringLiteral("mnuSystemStep1"));
    mnuSystemAxes = item(mnuSystem, "mnuSystemAxes", QStringLiteral("座標軸の設定(&X)"));
    mnuSystemAxesReset =
        item(mnuSystem, "mnuSystemAxesReset", QStringLiteral("座標軸を元に戻す(&R)"));

    mnuHelp = menu("mnuHelp", QStringLiteral("ヘルプ(&H)"));
    mnuHelpHowto = item(mnuHelp, "mnuHelpHowto", QStringLiteral("キネモの使い方(&H)"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("バージョン情報(&A)"));

    connect(mnuFileEnd, &QAction::triggered, this, &QWidget::close);
}

void frmMain::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    // Left: the picture, the slider under it, the position read-out.
    auto *left = new QVBoxLayout;
    picPreview = named(new PreviewWidget(central), "picPreview");
    picPreview->setFixedSize(640, 480);
    lblKijun = label("lblKijun", QStringLiteral("基準"), picPreview);
    lblKijun->setAutoFillBackground(true);
    // A narrower (upright) video stands in the middle, as the result
    // windows show it.
    left->addWidget(picPreview, 0, Qt::AlignHCenter | Qt::AlignTop);

    ctrlSlider = named(new QSlider(Qt::Horizontal, central), "ctrlSlider");
    ctrlSlider->setToolTip(QStringLiteral("ボタンをドラッグして位置を決めて下さい"));
    ctrlSlider->setTickPosition(QSlider::TicksBelow);
    ctrlSlider->setTickInterval(100);
    ctrlSlider->setFixedWidth(640);
    left->addWidget(ctrlSlider);

    fraPreviewControl = named(new QGroupBox(central), "fraPreviewControl");
    auto *readout = new QGridLayout(fraPreviewControl);
    lblCurrentFrame =
        label("lblCurrentFrame", QStringLiteral("現在のコマ / 総コマ数"), fraPreviewControl);
    lblCurrentFrameValue = label("lblCurrentFrameValue", QStringLiteral("000"), fraPreviewControl);
    lblCount = label("lblCount", QStringLiteral("/ 000"), fraPreviewControl);
    lblCurrentTime =
        label("lblCurrentTime", QStringLiteral("現在の時間 / 総時間"), fraPreviewControl);
    lblCurrentTimeValue =
        label("lblCurrentTimeValue", QStringLiteral("00.00秒 / 00.00秒"), fraPreviewControl);
    lblFPS = label("lblFPS", QStringLiteral("１秒間に"), fraPreviewControl);
    lblFPSValue = label("lblFPSValue", QStringLiteral("00.00"), fraPreviewControl);
    lblFps2 = label("lblFps2", QStringLiteral("コマの映像"), fraPreviewControl);
    cmdFPS = named(new QToolButton(fraPreviewControl), "cmdFPS");
    cmdFPS->setText(QStringLiteral("変更"));
    auto *frameValue = new QHBoxLayout;
    frameValue->addWidget(lblCurrentFrameValue);
    frameValue->addWidget(lblCount);
    frameValue->addStretch();
    auto *fps = new QHBoxLayout;
    fps->addWidget(lblFPS);
    fps->addWidget(lblFPSValue);
    fps->addWidget(lblFps2);
    fps->addWidget(cmdFPS);
    fps->addStretch();
    readout->addWidget(lblCurrentFrame, 0, 0);
    readout->addLayout(frameValue, 1, 0);
    readout->addWidget(lblCurrentTime, 0, 1);
    readout->addWidget(lblCurrentTimeValue, 1, 1);
    readout->addLayout(fps, 0, 2, 2, 1);

    lblHosei = label("lblHosei", QStringLiteral("手ぶれ補正ＯＦＦ"), central);
    lblHosei->setToolTip(QStringLiteral("手ぶれ映像の補正をするかどうか決めます"));
    lblHosei->setAlignment(Qt::AlignCenter);
    lblHosei->setFrameShape(QFrame::Panel);
    lblHosei->setFrameShadow(QFrame::Raised);
    lblHosei->setMinimumWidth(96);
    lblHosei->setCursor(Qt::PointingHandCursor);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(fraPreviewControl, 1);
    bottom->addWidget(lblHosei);
    left->addLayout(bottom);
    left->addStretch();

    auto *columns = new QHBoxLayout(central);
    columns->addLayout(left);
    columns->addWidget(buildRightColumn());

    tmrWait = timer("tmrWait", 100, this);
    tmrTimer = timer("tmrTimer", 100, this);
    tmrPlay = timer("tmrPlay", 200, this);
}

QWidget *frmMain::buildRightColumn()
{
    auto *column = new QWidget(centralWidget());
    column->setFixedWidth(300);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    Frame1 = named(new QGroupBox(QStringLiteral("位置を合わせる"), column), "Frame1");
    auto *nav = new QGridLayout(Frame1);
    cmdBackFrame = pictureButton("cmdBackFrame", QStyle::SP_MediaSeekBackward,
                                 QStringLiteral("１コマ戻します"), Frame1);
    cmdFwdFrame = pictureButton("cmdFwdFrame", QStyle::SP_MediaSeekForward,
                                QStringLiteral("１コマ進みます"), Frame1);
    cmdPlay = pictureButton("cmdPlay", QStyle::SP_MediaPlay, QStringLiteral("コマ送り再生します"),
                            Frame1);
    cmdStop = pictureButton("cmdStop", QStyle::SP_MediaStop, QStringLiteral("停止します"), Frame1);
    cmdPlayer = button("cmdPlayer", QStringLiteral("連続再生"),
                       QStringLiteral("別ウインドウで映像を連続再生します"), Frame1);
    nav->addWidget(cmdBackFrame, 0, 0);
    nav->addWidget(cmdFwdFrame, 0, 1);
    nav->addWidget(cmdPlay, 0, 2);
    nav->addWidget(cmdStop, 0, 3);
    nav->addWidget(cmdPlayer, 1, 0, 1, 4);
    layout->addWidget(Frame1);

    frmPlot = named(new QGroupBox(QStringLiteral("印をつける"), column), "frmPlot");
    auto *plot = new QGridLayout(frmPlot);
    lblDistanse = label("lblDistanse", QStringLiteral("打点間隔は"), frmPlot);
    txtRate = named(new QLineEdit(QStringLiteral("1"), frmPlot), "txtRate");
    txtRate->setMaximumWidth(60);
    txtRate->setAlignment(Qt::AlignRight);
    lblFlame = label("lblFlame", QStringLiteral("コマ"), frmPlot);
    cmdBack = button("cmdBack", QStringLiteral("前へ戻る"), QString(), frmPlot);
    cmdStep = button("cmdStep", QStringLiteral("次へ進む"), QString(), frmPlot);
    cmdErase = button("cmdErase", QStringLiteral("印を消す"),
                      QStringLiteral("表示されている打点を消します"), frmPlot);
    cmdProtDisp = button("cmdProtDisp", QStringLiteral("全打点表示"),
                         QStringLiteral("すべての打点を表示します"), frmPlot);
    auto *rate = new QHBoxLayout;
    rate->addWidget(lblDistanse);
    rate->addWidget(txtRate);
    rate->addWidget(lblFlame);
    rate->addStretch();
    lblObject = label("lblObject", QStringLiteral("物体"), frmPlot);
    cmbObject = named(new QComboBox(frmPlot), "cmbObject");
    cmbObject->setToolTip(QStringLiteral("印をつける物体を選びます"));
    rate->addWidget(lblObject);
    rate->addWidget(cmbObject);
    plot->addLayout(rate, 0, 0, 1, 2);
    plot->addWidget(cmdBack, 1, 0);
    plot->addWidget(cmdStep, 1, 1);
    plot->addWidget(cmdErase, 2, 0);
    plot->addWidget(cmdProtDisp, 2, 1);
    cmdTrack =
        button("cmdTrack", QStringLiteral("自動追跡"),
               QStringLiteral("このコマの印から先を、映像を追って自動で打点します"), frmPlot);
    plot->addWidget(cmdTrack, 3, 0, 1, 2);
    layout->addWidget(frmPlot);

    frmLength = named(new QGroupBox(QStringLiteral("長さを決める"), column), "frmLength");
    auto *length = new QGridLayout(frmLength);
    cmdLength = button("cmdLength", QStringLiteral("設定"), QStringLiteral("基準の長さを決めます"),
                       frmLength);
    lblLength =
        label("lblLength",
              QStringLiteral("　映像の画面から基準となる２点クリックし、長さを入力してください。"),
              frmLength);
    lblLength->setWordWrap(true);
    lblLength->setMinimumHeight(44);
    lblLength1 = label("lblLength1", QStringLiteral("この長さは"), frmLength);
    txtLengthValue = named(new QLineEdit(frmLength), "txtLengthValue");
    txtLengthValue->setMaximumWidth(80);
    txtLengthValue->setAlignment(Qt::AlignRight);
    cmbTanni = named(new QComboBox(frmLength), "cmbTanni");
    cmbTanni->setEditable(true);
    cmbTanni->addItems({QStringLiteral("cm"), QStringLiteral("m"), QStringLiteral("km")});
    cmbTanni->setCurrentText(QStringLiteral("cm"));
    cmbTanni->setMaximumWidth(70);
    auto *value = new QHBoxLayout;
    value->addWidget(lblLength1);
    value->addWidget(txtLengthValue);
    value->addWidget(cmbTanni);
    value->addStretch();
    length->addWidget(lblLength, 0, 0);
    length->addLayout(value, 1, 0);
    length->addWidget(cmdLength, 2, 0);
    layout->addWidget(frmLength);

    frmAxes = named(new QGroupBox(QStringLiteral("座標軸を決める"), column), "frmAxes");
    auto *axes = new QHBoxLayout(frmAxes);
    lblAxes = label("lblAxes", QString(), frmAxes);
    lblAxes->setWordWrap(true);
    lblAxes->setMinimumHeight(32);
    cmdAxes = button("cmdAxes", QStringLiteral("座標軸"),
                     QStringLiteral("原点とx軸の向きを、画面を２回クリックして決めます"), frmAxes);
    axes->addWidget(lblAxes, 1);
    axes->addWidget(cmdAxes);
    layout->addWidget(frmAxes);

    cmdSpd = button("cmdSpd", QStringLiteral("速さ"), QString(), column);
    cmdDis = button("cmdDis", QStringLiteral("距離"), QString(), column);
    cmdCmp = button("cmdCmp", QStringLiteral("成分"),
                    QStringLiteral("速度の水平・鉛直の成分と、加速度を表示します"), column);
    cmdMomentum = button("cmdMomentum", QStringLiteral("運動量"),
                         QStringLiteral("物体ごとの運動量と、その和を表示します"), column);
    cmdPos =
        button("cmdPos", QStringLiteral("位置"),
               QStringLiteral("x・y の位置と時間の表とグラフを表示し、式を当てはめます"), column);
    for (QPushButton *b : {cmdSpd, cmdDis, cmdCmp, cmdPos, cmdMomentum}) {
        b->setMinimumHeight(48);
        QFont f = b->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        b->setFont(f);
    }
    auto *results = new QHBoxLayout;
    results->addWidget(cmdSpd);
    results->addWidget(cmdDis);
    results->addWidget(cmdCmp);
    results->addWidget(cmdMomentum);
    results->addWidget(cmdPos);
    layout->addLayout(results);
    layout->addStretch();
    return column;
}

void frmMain::registerControls()
{
    for (QWidget *w : findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty())
            m_controls.insert(w->objectName(), w);
    }
    for (QAction *a : findChildren<QAction *>()) {
        if (!a->objectName().isEmpty())
            m_controls.insert(a->objectName(), a);
    }
}
