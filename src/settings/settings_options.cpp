#include "settings/settings_options.h"

const std::array<SettingOption, SettingCount> &settingOptions()
{
    static const std::array<SettingOption, SettingCount> options = {{
        {QStringLiteral("optDisp1"),
         QStringLiteral("frameDisp1"),
         QStringLiteral("実験結果の表示・非表示"),
         {QStringLiteral("表もグラフも表示する"),
          QStringLiteral("表を表示するがグラフは表示しない"),
          QStringLiteral("グラフは表示するが表は表示しない"),
          QStringLiteral("表もグラフも表示しない")},
         &MeasurementState::ResultDisplayMode},
        {QStringLiteral("optDisp2"),
         QStringLiteral("frameDisp2"),
         QStringLiteral("表とグラフの種類"),
         {QStringLiteral("時間と速さの関係の表とグラフを表示する"),
          QStringLiteral("時間と移動距離の関係を表示する"),
          QStringLiteral("時間と速さ、時間と移動距離の両方の関係を表示する")},
         &MeasurementState::ResultKindMode},
        {QStringLiteral("optPrint"),
         QStringLiteral("framePrint"),
         QStringLiteral("印刷の設定"),
         {QStringLiteral("映像印刷と、表・グラフ印刷の両方を許可する"),
          QStringLiteral("映像印刷のみ許可する"), QStringLiteral("表・グラフ印刷のみ許可する"),
          QStringLiteral("印刷を許可しない")},
         &MeasurementState::PrintPermission},
        {QStringLiteral("optProt"),
         QStringLiteral("frameProt"),
         QStringLiteral("距離の測定方法の設定"),
         {QStringLiteral("各打点間の距離を合計し、移動距離とする"),
          QStringLiteral("最初の打点から個々の打点までの距離を単純に距離とする"),
          QStringLiteral("単位時間の区間距離を距離とする")},
         &MeasurementState::DistanceMethod},
        {QStringLiteral("optAction"),
         QStringLiteral("frameAction"),
         QStringLiteral("座標クリック後の動作"),
         {QStringLiteral("座標をクリックしても、次のコマに進まない"),
          QStringLiteral("座標をクリック後、自動的に次のコマに進む")},
         &MeasurementState::ClickAction},
        {QStringLiteral("optAll"),
         QStringLiteral("frameAll"),
         QStringLiteral("全打点の表示方法"),
         {QStringLiteral("全打点ボタンを押したときのみ、すべての打点を表示する"),
          QStringLiteral("常に全打点を表示する")},
         &MeasurementState::AllPointsMode},
        {QStringLiteral("optTrack"),
         QStringLiteral("frameTrack"),
         QStringLiteral("自動追跡の使用"),
         {QStringLiteral("自動追跡を使わせる"), QStringLiteral("使わせない")},
         &MeasurementState::TrackingPermission},
        {QStringLiteral("optCmp"),
         QStringLiteral("frameCmp"),
         QStringLiteral("速度の成分と加速度"),
         {QStringLiteral("速度の成分と加速度を表示させる"), QStringLiteral("表示させない")},
         &MeasurementState::ComponentsPermission},
        {QStringLiteral("optPos"),
         QStringLiteral("framePos"),
         QStringLiteral("位置と時間"),
         {QStringLiteral("位置と時間を表示させる"), QStringLiteral("表示させない")},
         &MeasurementState::PositionPermission},
        {QStringLiteral("optMomentum"),
         QStringLiteral("frameMomentum"),
         QStringLiteral("運動量"),
         {QStringLiteral("運動量を表示させる"), QStringLiteral("表示させない")},
         &MeasurementState::MomentumPermission},
    }};
    return options;
}

QString optionButtonName(const QString &arrayName, int index)
{
    return arrayName + QLatin1Char('_') + QString::number(index);
}

QStringList settingsTabCaptions()
{
    return {QStringLiteral("結果表示"), QStringLiteral("表とグラフ"), QStringLiteral("印刷"),
            QStringLiteral("測定方法"), QStringLiteral("動作")};
}

QList<int> framesOfTab(int tab)
{
    switch (tab) {
    case 1:
        return {OptDisp1, OptMomentum};
    case 2:
        return {OptDisp2, OptCmp, OptPos};
    case 3:
        return {OptPrint};
    case 4:
        // Whether points are measured by clicks only belongs with how
        // distances are measured.
        return {OptProt, OptTrack};
    case 5:
        return {OptAction, OptAll};
    default:
        return {};
    }
}

int selectionForValue(const SettingOption &option, qint16 value)
{
    return value >= 0 && value < option.captions.size() ? value : -1;
}

void storeSelection(MeasurementState &state, const SettingOption &option, int selected)
{
    if (selected >= 0 && selected < option.captions.size())
        state.*option.field = static_cast<qint16>(selected);
}
