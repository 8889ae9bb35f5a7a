#include "results/result_opening.h"

#include "base/numbers.h"
#include "results/result_computation.h"

namespace results {

QString resultOpeningProblem(QStringView lengthText, const MeasurementState &state)
{
    if (lengthText.isEmpty() || num::leadingNumber(lengthText) == 0)
        return QStringLiteral(
            "「長さを決める」欄の「長さの設定」ボタンを押し、空欄に数値を入力してください");
    if (state.RefLengthPixels == 0)
        return QStringLiteral(
            "　「長さを決める」欄の「長さの設定」ボタンを押したあと、画面上の物体をクリックして、"
            "\r\n基準となる長さを決めてください");
    if (state.PointCount < 3)
        return QStringLiteral(
            "画面上の点を３回以上クリックしないと、\r\n結果を表示することはできません");
    return dataProblemMessage(checkResultData(state));
}

} // namespace results
