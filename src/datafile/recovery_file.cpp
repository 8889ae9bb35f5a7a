#include "datafile/recovery_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>
#include <QUrl>
#include <cfloat>
#include <cmath>
#include <optional>

namespace recovery {

namespace {

const QByteArray kMagic = "KINEMO-RECOVERY 1";
const QByteArray kDigestKey = "sha256 ";
constexpr int kDigestHexLength = 64;
// A path or a typed unit longer than this is not one the program wrote.
constexpr qsizetype kMaxTextBytes = 16 * 1024;

QString notRecoveryFile()
{
    return QStringLiteral("キネモの記録ファイルではありません。");
}
QString damaged()
{
    return QStringLiteral("ファイルが途中で切れているか、壊れています。");
}
QString badValue(const char *what)
{
    return QStringLiteral("ファイルの「%1」の値が正しくありません。").arg(QString::fromUtf8(what));
}

Read failure(const QString &message)
{
    Read read;
    read.error = message;
    return read;
}

QByteArray numberText(double value)
{
    return QByteArray::number(value, 'g', 17);
}

QByteArray textField(const QString &text)
{
    return QUrl::toPercentEncoding(text);
}

// The lines of the header, read one after the other.
class LineReader
{
public:
    LineReader(const QByteArray &bytes, qsizetype end) : m_bytes(bytes), m_end(end) {}

    // The value after "<key> " on the next line.
    std::optional<QByteArray> value(const QByteArray &key)
    {
        const std::optional<QByteArray> line = next();
        if (!line || !line->startsWith(key) || line->size() <= key.size() ||
            line->at(key.size()) != ' ')
            return std::nullopt;
        return line->mid(key.size() + 1);
    }
    // The same for a line that files of the first programs lack: the next
    // line is taken only when it carries `key`.
    std::optional<QByteArray> optionalValue(const QByteArray &key)
    {
        const qsizetype pos = m_pos;
        std::optional<QByteArray> found = value(key);
        if (!found)
            m_pos = pos;
        return found;
    }
    std::optional<QByteArray> next()
    {
        const qsizetype lf = m_bytes.indexOf('\n', m_pos);
        if (lf < 0 || lf >= m_end)
            return std::nullopt;
        QByteArray line = m_bytes.mid(m_pos, lf - m_pos);
        m_pos = lf + 1;
        return line;
    }
    // The next `count` bytes as they are.
    std::optional<QByteArray> take(qsizetype count)
    {
        if (count < 0 || count > m_end - m_pos)
            return std::nullopt;
        QByteArray bytes = m_bytes.mid(m_pos, count);
        m_pos += count;
        return bytes;
    }
    bool atEnd() const { return m_pos == m_end; }
    // The next line without reading past it (empty at the end).
    QByteArray peek() const
    {
        const qsizetype lf = m_bytes.indexOf('\n', m_pos);
        return lf < 0 || lf >= m_end ? QByteArray() : m_bytes.mid(m_pos, lf - m_pos);
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_end;
    qsizetype m_pos = 0;
};

std::optional<double> readRate(const std::optional<QByteArray> &text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double value = text->toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

std::optional<qint16> readInt16(const QByteArray &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

std::optional<QString> readText(const std::optional<QByteArray> &text)
{
    if (!text || text->size() > kMaxTextBytes)
        return std::nullopt;
    // Only the percent-encoded form the writer makes: no blanks, no controls.
    for (char c : *text)
        if (uchar(c) <= 0x20 || uchar(c) >= 0x7f)
            return std::nullopt;
    const QByteArray raw = QByteArray::fromPercentEncoding(*text);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8.decode(raw);
    if (utf8.hasError() || decoded.contains(QChar(0)))
        return std::nullopt;
    return decoded;
}

} // namespace

bool Snapshot::operator==(const Snapshot &other) const
{
    return videoPath == other.videoPath && videoFrameRate == other.videoFrameRate &&
           frameRate == other.frameRate && refLengthPixels == other.refLengthPixels &&
           refLengthValue == other.refLengthValue && lengthUnit == other.lengthUnit &&
           shakeCorrection == other.shakeCorrection && shakeOriginX == other.shakeOriginX &&
           shakeOriginY == other.shakeOriginY && plotInterval == other.plotInterval &&
           axes == other.axes && pointCount == other.pointCount && rows == other.rows &&
           trackedScores == other.trackedScores;
}

Snapshot snapshotOf(const MeasurementState &state, bool videoOpen)
{
    Snapshot s;
    if (videoOpen)
        s.videoPath = state.VideoPath;
    s.frameRate = state.FrameRate;
    s.refLengthPixels = state.RefLengthPixels;
    s.refLengthValue = state.RefLengthValue;
    s.lengthUnit = state.LengthUnit;
    s.axes = state.Axes;
    s.pointCount = qint16(qBound(0, int(state.PointCount), int(MeasurementState::MaxPoints)));
    s.trackedScores = state.TrackedScores;
    s.rows.reserve(s.pointCount);
    for (int r = 1; r <= s.pointCount; ++r) {
        datafile::PointRow row;
        std::copy(std::begin(state.PointTable[r]), std::end(state.PointTable[r]), row.begin());
        s.rows.append(row);
    }
    return s;
}

QByteArray encode(const Snapshot &snapshot)
{
    MeasurementState points;
    apply(snapshot, points);
    const QByteArray csv = datafile::mainWindowCsv(points);

    QByteArray out;
    out.reserve(csv.size() + 512);
    out += kMagic + '\n';
    out += "video " + textField(snapshot.videoPath) + '\n';
    out += "video-rate " + numberText(snapshot.videoFrameRate) + '\n';
    out += "frame-rate " + numberText(snapshot.frameRate) + '\n';
    out += "ref-pixels " + numberText(double(snapshot.refLengthPixels)) + '\n';
    out += "ref-value " + QByteArray::number(snapshot.refLengthValue) + '\n';
    out += "unit " + textField(snapshot.lengthUnit) + '\n';
    out += QByteArray("shake ") + (snapshot.shakeCorrection ? '1' : '0') + '\n';
    out += "shake-origin " + QByteArray::number(snapshot.shakeOriginX) + ' ' +
           QByteArray::number(snapshot.shakeOriginY) + '\n';
    out += "interval " + textField(snapshot.plotInterval) + '\n';
    if (snapshot.axes.set) {
        const CoordinateAxes &a = snapshot.axes;
        out += "axes " + numberText(a.origin.x()) + ' ' + numberText(a.origin.y()) + ' ' +
               numberText(a.xPoint.x()) + ' ' + numberText(a.xPoint.y()) + '\n';
    }
    out += "points " + QByteArray::number(snapshot.pointCount) + '\n';
    if (!snapshot.trackedScores.isEmpty()) {
        out += "tracked";
        for (auto it = snapshot.trackedScores.begin(); it != snapshot.trackedScores.end(); ++it)
            out += ' ' + QByteArray::number(it.key()) + ':' + numberText(it.value());
        out += '\n';
    }
    out += "csv " + QByteArray::number(csv.size()) + '\n';
    out += csv;
    out += kDigestKey + QCryptographicHash::hash(out, QCryptographicHash::Sha256).toHex() + '\n';
    return out;
}

Read decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return failure(QStringLiteral("ファイルが空です。"));
    if (bytes.size() > MaxFileBytes || !bytes.startsWith(kMagic + '\n'))
        return failure(notRecoveryFile());

    // The last line holds the digest of everything before it.
    if (!bytes.endsWith('\n'))
        return failure(damaged());
    const qsizetype digestLine = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    const QByteArray last = bytes.mid(digestLine);
    if (last.size() != kDigestKey.size() + kDigestHexLength + 1 || !last.startsWith(kDigestKey))
        return failure(damaged());
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(bytes).first(digestLine),
                                                       QCryptographicHash::Sha256)
                                  .toHex();
    if (last.mid(kDigestKey.size(), kDigestHexLength) != digest)
        return failure(damaged());

    LineReader lines(bytes, digestLine);
    lines.next(); // the version, checked above
    Read read;
    Snapshot &s = read.snapshot;

    const std::optional<QString> video = readText(lines.value("video"));
    if (!video)
        return failure(badValue("映像"));
    s.videoPath = *video;
    const std::optional<double> videoRate = readRate(lines.value("video-rate"));
    const std::optional<double> rate = readRate(lines.value("frame-rate"));
    if (!videoRate || !rate)
        return failure(badValue("フレームレート"));
    s.videoFrameRate = *videoRate;
    s.frameRate = *rate;
    const std::optional<double> pixels = readRate(lines.value("ref-pixels"));
    if (!pixels || *pixels > double(FLT_MAX))
        return failure(badValue("画面上の長さ"));
    s.refLengthPixels = float(*pixels);
    const std::optional<QByteArray> valueText = lines.value("ref-value");
    const std::optional<qint16> value = valueText ? readInt16(*valueText) : std::nullopt;
    if (!value)
        return failure(badValue("基準の長さ"));
    s.refLengthValue = *value;
    const std::optional<QString> unit = readText(lines.value("unit"));
    if (!unit)
        return failure(badValue("単位"));
    s.lengthUnit = *unit;
    const std::optional<QByteArray> shake = lines.value("shake");
    if (!shake || (*shake != "0" && *shake != "1"))
        return failure(badValue("手ぶれ補正"));
    s.shakeCorrection = *shake == "1";
    const std::optional<QByteArray> origin = lines.value("shake-origin");
    const QList<QByteArray> xy = origin ? origin->split(' ') : QList<QByteArray>();
    const std::optional<qint16> originX = xy.size() == 2 ? readInt16(xy[0]) : std::nullopt;
    const std::optional<qint16> originY = xy.size() == 2 ? readInt16(xy[1]) : std::nullopt;
    if (!originX || !originY)
        return failure(badValue("手ぶれ補正"));
    s.shakeOriginX = *originX;
    s.shakeOriginY = *originY;
    if (const std::optional<QByteArray> interval = lines.optionalValue("interval")) {
        const std::optional<QString> text = readText(interval);
        if (!text)
            return failure(badValue("打点間隔"));
        s.plotInterval = *text;
    }
    bool ok = false;
    // Set axes, in files written since the student can set them.
    if (const std::optional<QByteArray> axes = lines.optionalValue("axes")) {
        const QList<QByteArray> values = axes->split(' ');
        double numbers[4] = {};
        for (int i = 0; i < 4; ++i) {
            numbers[i] = values.size() == 4 ? values[i].toDouble(&ok) : 0;
            if (!ok || !std::isfinite(numbers[i]) || std::fabs(numbers[i]) > 1e6)
                return failure(badValue("座標軸"));
        }
        s.axes = {true, QPointF(numbers[0], numbers[1]), QPointF(numbers[2], numbers[3])};
        if (!axesClicksUsable(s.axes.origin, s.axes.xPoint))
            return failure(badValue("座標軸"));
    }
    const std::optional<QByteArray> countText = lines.value("points");
    const int count = countText ? countText->toInt(&ok) : 0;
    if (!ok || count < 1 || count > MeasurementState::MaxPoints)
        return failure(badValue("打点の数"));
    s.pointCount = qint16(count);

    // Files of tracking-free measurements (and older ones) have no such line.
    if (lines.peek().startsWith("tracked ")) {
        const QList<QByteArray> entries = lines.value("tracked")->split(' ');
        for (const QByteArray &entry : entries) {
            const QList<QByteArray> pair = entry.split(':');
            bool frameOk = false, scoreOk = false;
            const int frame = pair.value(0).toInt(&frameOk);
            const double score = pair.value(1).toDouble(&scoreOk);
            if (pair.size() != 2 || !frameOk || !scoreOk || frame < 0 || !(score >= 0) ||
                score > 1 || s.trackedScores.size() >= MeasurementState::MaxPoints)
                return failure(badValue("自動追跡"));
            s.trackedScores[frame] = score;
        }
    }
    const std::optional<QByteArray> sizeText = lines.value("csv");
    const qlonglong size = sizeText ? sizeText->toLongLong(&ok) : -1;
    const std::optional<QByteArray> csv = ok ? lines.take(qsizetype(size)) : std::nullopt;
    if (!csv || !lines.atEnd())
        return failure(damaged());
    const datafile::MeasurementFileRead points = datafile::parseMeasurementCsv(*csv);
    if (!points.ok)
        return failure(points.error);
    if (points.data.rows.size() != count)
        return failure(badValue("打点の数"));
    s.rows = points.data.rows;
    read.ok = true;
    return read;
}

Read readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("ファイルを読み込めませんでした。"));
    if (file.size() > MaxFileBytes)
        return failure(notRecoveryFile());
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("ファイルを読み込めませんでした。"));
    return decode(bytes);
}

void apply(const Snapshot &snapshot, MeasurementState &state)
{
    datafile::MeasurementFileData data;
    data.rows = snapshot.rows;
    data.pointCount = snapshot.pointCount;
    data.lengthUnit = snapshot.lengthUnit;
    data.refLengthPixels = snapshot.refLengthPixels;
    data.refLengthValue = snapshot.refLengthValue;
    data.frameRate = snapshot.frameRate;
    datafile::applyMeasurementFile(data, state);
    // Also without points: the snapshot's values are the measurement's.
    state.RefLengthPixels = snapshot.refLengthPixels;
    state.RefLengthValue = snapshot.refLengthValue;
    state.FrameRate = snapshot.frameRate;
    state.TrackedScores = snapshot.trackedScores;
    state.Axes = snapshot.axes;
}

} // namespace recovery
