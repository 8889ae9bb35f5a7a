#include "datafile/measurement_csv.h"

#include "base/numbers.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <cfloat>
#include <cmath>

namespace datafile {

namespace {

const char *const kCodePage = "CP932";

QString notReadable()
{
    return QStringLiteral("ファイルを読み込めませんでした。");
}
QString notMeasurementFile()
{
    return QStringLiteral("キネモデータのファイルではありません。");
}

// Names of the nine columns in messages about a damaged file.
QString columnName(int field)
{
    static const char *const names[FieldsPerLine] = {"カウント",
                                                     "フレーム",
                                                     "Ｘ座標",
                                                     "Ｙ座標",
                                                     "5番目の項目",
                                                     "6番目の項目",
                                                     "画面上の長さ（ピクセル）",
                                                     "基準の長さ",
                                                     "フレームレート"};
    return QString::fromUtf8(names[field]);
}

const QString kLengthLabelStart = QStringLiteral("画面上の長さ(");
const QString kDefaultUnit = QStringLiteral("cm");

QString headerLabel8(bool mainWindow, const QString &unit)
{
    // Before a length is set there is no unit; the unit box then shows cm.
    if (mainWindow && unit.isEmpty())
        return kLengthLabelStart + kDefaultUnit + QLatin1Char(')');
    // A typed unit must not break the line: quotes and line breaks would end
    // the field early, and a character without a CP932 code would be lost.
    QString clean;
    const QList<uint> codePoints = unit.toUcs4();
    for (uint cp : codePoints) {
        const char32_t c = char32_t(cp);
        const QString one = QString::fromUcs4(&c, 1);
        if (one == QStringLiteral("\"") || QChar::category(c) == QChar::Other_Control)
            continue;
        QStringEncoder probe(kCodePage);
        const QByteArray encoded = probe.encode(one);
        clean += (probe.hasError() || encoded.isEmpty()) ? QStringLiteral("?") : one;
    }
    return kLengthLabelStart + clean + QLatin1Char(')');
}

// The unit in the eighth header label, "画面上の長さ(m)"; cm when the label
// has another form or no unit (files of other programs, or written before
// the main window wrote its unit).
QString unitOfHeader(const QString &label)
{
    if (!label.startsWith(kLengthLabelStart) || !label.endsWith(QLatin1Char(')')))
        return kDefaultUnit;
    const QString unit =
        label.mid(kLengthLabelStart.size(), label.size() - kLengthLabelStart.size() - 1);
    return unit.isEmpty() ? kDefaultUnit : unit;
}

void appendLine(QString &out, const QStringList &fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += QLatin1Char('"') + fields[i] + QLatin1Char('"');
    }
    out += QStringLiteral("\r\n");
}

QString intText(qint32 value)
{
    return num::fileNumberText(double(value));
}

int writtenPointCount(const MeasurementState &state)
{
    return qBound(0, int(state.PointCount), int(MeasurementState::MaxPoints));
}

QByteArray buildCsv(const MeasurementState &state, const TimedValues *resultRows)
{
    QString text;
    appendLine(text, {QStringLiteral("カウント"), QStringLiteral("フレーム"),
                      QStringLiteral("Ｘ座標"), QStringLiteral("Ｙ座標"), QStringLiteral("時間"),
                      QStringLiteral("移動距離"), QStringLiteral("画面上の長さ（ピクセル）"),
                      headerLabel8(resultRows == nullptr, state.LengthUnit),
                      QStringLiteral("フレームレート")});

    const QString pixels = num::fileNumberText(state.RefLengthPixels);
    const QString value = intText(state.RefLengthValue);
    const QString rate = num::fileNumberText(state.FrameRate);
    const int n = writtenPointCount(state);
    for (int i = 0; i < n; ++i) {
        const qint32 *row = state.PointTable[i + 1];
        QStringList fields{intText(row[0]), intText(row[1]), intText(row[2]), intText(row[3])};
        if (resultRows) {
            const TimedValue result = resultRows->value(i);
            fields << num::fileNumberText(result.time) << num::fileNumberText(result.value);
        } else {
            fields << intText(row[4]) << intText(row[5]);
        }
        fields << pixels << value << rate;
        appendLine(text, fields);
    }
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

// The fields of a text read as one stream: commas and line ends both end a
// field; a quoted field is taken up to its closing quote (anything after it
// up to the next comma is dropped), an unquoted one is trimmed. Blank lines
// hold no fields.
QStringList splitFields(const QString &text)
{
    QStringList fields;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    bool afterComma = false;
    auto isLineEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (true) {
        while (pos < n && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
            ++pos;
        if (pos == n) {
            if (afterComma)
                fields.append(QString());
            break;
        }
        if (isLineEnd(text[pos])) {
            if (afterComma)
                fields.append(QString());
            afterComma = false;
            if (text[pos] == QLatin1Char('\r') && pos + 1 < n && text[pos + 1] == QLatin1Char('\n'))
                ++pos;
            ++pos;
            continue;
        }
        QString value;
        if (text[pos] == QLatin1Char('"')) {
            const qsizetype start = ++pos;
            while (pos < n && text[pos] != QLatin1Char('"') && !isLineEnd(text[pos]))
                ++pos;
            value = text.mid(start, pos - start);
            if (pos < n && text[pos] == QLatin1Char('"'))
                ++pos;
            while (pos < n && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos]))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos]))
                ++pos;
            value = text.mid(start, pos - start).trimmed();
        }
        fields.append(value);
        afterComma = pos < n && text[pos] == QLatin1Char(',');
        if (afterComma)
            ++pos;
    }
    return fields;
}

bool isBinary(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\r') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\t'))
            return true;
    }
    return false;
}

MeasurementFileRead failure(const QString &message)
{
    MeasurementFileRead read;
    read.error = message;
    return read;
}

QString outOfRange(int record, int field)
{
    return QStringLiteral("%1番目のデータの「%2」の値が正しくありません。")
        .arg(record)
        .arg(columnName(field));
}

} // namespace

QString measurementFileFilter()
{
    return QStringLiteral("キネモデータ(*.csv)");
}

QString measurementFileSuffix()
{
    return QStringLiteral("csv");
}

QByteArray mainWindowCsv(const MeasurementState &state)
{
    return buildCsv(state, nullptr);
}

QByteArray resultWindowCsv(const MeasurementState &state, const TimedValues &rows)
{
    return buildCsv(state, &rows);
}

MeasurementFileRead parseMeasurementCsv(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || isBinary(text))
        return failure(notMeasurementFile());

    const QStringList fields = splitFields(text);
    if (fields.isEmpty())
        return failure(QStringLiteral("ファイルが空です。") + notMeasurementFile());
    if (fields.size() % FieldsPerLine != 0)
        return failure(QStringLiteral("データの項目の数が合いません。"
                                      "1行に9項目ずつ必要です。"));
    const qsizetype records = fields.size() / FieldsPerLine - 1;
    if (records > MaxDataLines)
        return failure(
            QStringLiteral("データが多すぎます。読み込めるのは%1行までです。").arg(MaxDataLines));

    MeasurementFileRead read;
    MeasurementFileData &data = read.data;
    data.lengthUnit = unitOfHeader(fields[7]);
    for (qsizetype r = 0; r < records; ++r) {
        const int record = int(r) + 1;
        double v[FieldsPerLine];
        for (int f = 0; f < FieldsPerLine; ++f)
            v[f] = num::leadingNumber(fields[(r + 1) * FieldsPerLine + f]);

        PointRow row{};
        const auto count = num::toInt16(v[0]);
        if (!count || *count < 0 || *count > MeasurementState::MaxPoints)
            return failure(outOfRange(record, 0));
        row[0] = *count;
        const auto frame = num::toInt32(v[1]);
        if (!frame)
            return failure(outOfRange(record, 1));
        row[1] = *frame;
        for (int f = 2; f < 6; ++f) {
            const auto cell = num::toInt16(v[f]);
            if (!cell)
                return failure(outOfRange(record, f));
            row[size_t(f)] = *cell;
        }
        // The program never writes a negative or infinite length or rate.
        if (!(v[6] >= 0 && v[6] <= double(FLT_MAX)))
            return failure(outOfRange(record, 6));
        const auto refValue = num::toInt16(v[7]);
        if (!refValue)
            return failure(outOfRange(record, 7));
        if (!(v[8] >= 0 && std::isfinite(v[8])))
            return failure(outOfRange(record, 8));

        data.rows.append(row);
        data.pointCount = *count;
        data.refLengthPixels = float(v[6]);
        data.refLengthValue = *refValue;
        data.frameRate = v[8];
    }
    read.ok = true;
    return read;
}

MeasurementFileRead readMeasurementFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(notReadable());
    if (file.size() > MaxFileBytes)
        return failure(QStringLiteral("ファイルが大きすぎます。") + notMeasurementFile());
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(notReadable());
    if (bytes.size() > MaxFileBytes)
        return failure(QStringLiteral("ファイルが大きすぎます。") + notMeasurementFile());
    return parseMeasurementCsv(bytes);
}

void applyMeasurementFile(const MeasurementFileData &data, MeasurementState &state)
{
    for (auto &row : state.PointTable)
        for (qint32 &cell : row)
            cell = 0;
    const qsizetype n = qMin<qsizetype>(data.rows.size(), MaxDataLines);
    for (qsizetype i = 0; i < n; ++i)
        for (int c = 0; c < MeasurementState::TableColumns; ++c)
            state.PointTable[i + 1][c] = data.rows[i][size_t(c)];
    state.PointCount = data.pointCount;
    state.LengthUnit = data.lengthUnit;
    state.RefLengthPixels = 0;
    // The file carries no axes: a loaded measurement has the default ones.
    state.Axes = CoordinateAxes{};
    if (n > 0) {
        state.RefLengthPixels = data.refLengthPixels;
        state.RefLengthValue = data.refLengthValue;
        state.FrameRate = data.frameRate;
    }
}

bool writeMeasurementFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The content is only buffered so far: a full disk shows when it is
    // flushed. commit() would flush it too, but it does not count a failure
    // there and would put the short file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace datafile
