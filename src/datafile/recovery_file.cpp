#include "datafile/recovery_file.h"

#include "base/measurement_objects.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>
#include <cfloat>
#include <cmath>
#include <optional>

namespace recovery {

namespace {

const QByteArray kMagic = "KINEMO-RECOVERY 1";
const QByteArray kMeasurementMagic = "KINEMO-MEASUREMENT 1";
const char *const kCodePage = "CP932";
// A mass beyond this (in kilograms) is not one typed for a lesson.
constexpr double kMaxMass = 1e6;
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
    // The next line starts with "<key> " (and is not read).
    bool nextIs(const QByteArray &key) const
    {
        return QByteArrayView(m_bytes).sliced(m_pos, m_end - m_pos).startsWith(key + ' ');
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

// The embedded measurement file: CP932 as the program writes it, or, in a
// measurement file, the same text in UTF-8.
QByteArray embedded(const QByteArray &csv, Kind kind)
{
    if (kind == Kind::Recovery)
        return csv;
    QStringDecoder cp932(kCodePage);
    return QString(cp932.decode(csv)).toUtf8();
}

std::optional<QByteArray> unembedded(const QByteArray &bytes, Kind kind)
{
    if (kind == Kind::Recovery)
        return bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    QStringEncoder cp932(kCodePage);
    QByteArray csv = cp932.encode(text);
    if (cp932.hasError())
        return std::nullopt;
    return csv;
}

// One object's points as a measurement with the snapshot's calibration.
MeasurementState pointsOf(const Snapshot &snapshot, const QList<datafile::PointRow> &rows,
                          qint16 count)
{
    Snapshot one = snapshot;
    one.rows = rows;
    one.pointCount = count;
    one.others = {};
    MeasurementState points;
    apply(one, points);
    return points;
}

// "<count>\n[tracked ...\n]csv <size>\n<bytes>" of one object's measurement file.
QByteArray pointsBlock(const MeasurementState &points, const QMap<qint32, double> &tracked,
                       Kind kind)
{
    const QByteArray csv = embedded(datafile::mainWindowCsv(points), kind);
    QByteArray out = QByteArray::number(points.PointCount) + '\n';
    if (!tracked.isEmpty()) {
        out += "tracked";
        for (auto it = tracked.begin(); it != tracked.end(); ++it)
            out += ' ' + QByteArray::number(it.key()) + ':' + numberText(it.value());
        out += '\n';
    }
    return out + "csv " + QByteArray::number(csv.size()) + '\n' + csv;
}

// The optional "tracked" line before an embedded measurement file: files of
// tracking-free measurements (and older ones) have none.
bool readTracked(LineReader &lines, QMap<qint32, double> &scores)
{
    if (!lines.nextIs("tracked"))
        return true;
    const QList<QByteArray> entries = lines.value("tracked").value_or(QByteArray()).split(' ');
    for (const QByteArray &entry : entries) {
        const QList<QByteArray> pair = entry.split(':');
        bool frameOk = false, scoreOk = false;
        const int frame = pair.value(0).toInt(&frameOk);
        const double score = pair.value(1).toDouble(&scoreOk);
        if (pair.size() != 2 || !frameOk || !scoreOk || frame < 0 || !(score >= 0) || score > 1 ||
            scores.size() >= MeasurementState::MaxPoints)
            return false;
        scores[frame] = score;
    }
    return true;
}

// The rows of one embedded measurement file of `count` points.
std::optional<QList<datafile::PointRow>> readPoints(LineReader &lines, int count, Kind kind,
                                                    QMap<qint32, double> &tracked, QString &error)
{
    if (!readTracked(lines, tracked)) {
        error = badValue("自動追跡");
        return std::nullopt;
    }
    bool ok = false;
    const std::optional<QByteArray> sizeText = lines.value("csv");
    const qlonglong size = sizeText ? sizeText->toLongLong(&ok) : -1;
    const std::optional<QByteArray> raw = ok ? lines.take(qsizetype(size)) : std::nullopt;
    const std::optional<QByteArray> csv = raw ? unembedded(*raw, kind) : std::nullopt;
    if (!csv) {
        error = damaged();
        return std::nullopt;
    }
    const datafile::MeasurementFileRead points = datafile::parseMeasurementCsv(*csv);
    if (!points.ok) {
        error = points.error;
        return std::nullopt;
    }
    if (points.data.rows.size() != count) {
        error = badValue("打点の数");
        return std::nullopt;
    }
    return points.data.rows;
}

std::optional<int> readObject(const QByteArray &text)
{
    bool ok = false;
    const int object = text.toInt(&ok);
    if (!ok || object < 0 || object >= MeasurementState::MaxObjects ||
        text != QByteArray::number(object))
        return std::nullopt;
    return object;
}

} // namespace

bool Snapshot::empty() const
{
    return totalPoints() == 0;
}

int Snapshot::totalPoints() const
{
    int n = pointCount;
    for (const ObjectRows &other : others)
        n += other.pointCount;
    return n;
}

bool Snapshot::operator==(const Snapshot &other) const
{
    return videoPath == other.videoPath && videoFrameRate == other.videoFrameRate &&
           frameRate == other.frameRate && refLengthPixels == other.refLengthPixels &&
           refLengthValue == other.refLengthValue && lengthUnit == other.lengthUnit &&
           shakeCorrection == other.shakeCorrection && shakeOriginX == other.shakeOriginX &&
           shakeOriginY == other.shakeOriginY && plotInterval == other.plotInterval &&
           axes == other.axes && pointCount == other.pointCount && rows == other.rows &&
           trackedScores == other.trackedScores && chosenObject == other.chosenObject &&
           others == other.others && masses == other.masses && videoRelative == other.videoRelative;
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
    s.chosenObject = state.ChosenObject;
    for (int object = 0; object < MeasurementState::MaxObjects; ++object) {
        s.masses[object] = state.ObjectMass[object];
        if (object == state.ChosenObject)
            continue;
        const MeasurementState::ObjectPoints &points = state.OtherObjects[object];
        ObjectRows &other = s.others[object];
        other.pointCount = qint16(qBound(0, int(points.Count), int(MeasurementState::MaxPoints)));
        for (int r = 1; r <= other.pointCount; ++r) {
            datafile::PointRow row;
            std::copy(std::begin(points.Table[r]), std::end(points.Table[r]), row.begin());
            other.rows.append(row);
        }
        other.trackedScores = points.TrackedScores;
    }
    return s;
}

QByteArray encode(const Snapshot &snapshot, Kind kind)
{
    QByteArray out;
    out.reserve(4096 + snapshot.totalPoints() * 64);
    out += (kind == Kind::Recovery ? kMagic : kMeasurementMagic) + '\n';
    out += "video " + textField(snapshot.videoPath) + '\n';
    if (kind == Kind::Measurement)
        out += "video-relative " + textField(snapshot.videoRelative) + '\n';
    out += "video-rate " + numberText(snapshot.videoFrameRate) + '\n';
    out += "frame-rate " + numberText(snapshot.frameRate) + '\n';
    out += "ref-pixels " + numberText(double(snapshot.refLengthPixels)) + '\n';
    out += "ref-value " + QByteArray::number(snapshot.refLengthValue) + '\n';
    out += "unit " + textField(snapshot.lengthUnit) + '\n';
    out += QByteArray("shake ") + (snapshot.shakeCorrection ? '1' : '0') + '\n';
    out += "shake-origin " + QByteArray::number(snapshot.shakeOriginX) + ' ' +
           QByteArray::number(snapshot.shakeOriginY) + '\n';
    out += "interval " + textField(snapshot.plotInterval) + '\n';
    if (snapshot.chosenObject != 0)
        out += "object " + QByteArray::number(snapshot.chosenObject) + '\n';
    for (int object = 0; object < MeasurementState::MaxObjects; ++object)
        if (snapshot.masses[object] > 0)
            out += "mass " + QByteArray::number(object) + ' ' +
                   numberText(snapshot.masses[object]) + '\n';
    if (snapshot.axes.set) {
        const CoordinateAxes &a = snapshot.axes;
        out += "axes " + numberText(a.origin.x()) + ' ' + numberText(a.origin.y()) + ' ' +
               numberText(a.xPoint.x()) + ' ' + numberText(a.xPoint.y()) + '\n';
    }
    out += "points " + pointsBlock(pointsOf(snapshot, snapshot.rows, snapshot.pointCount),
                                   snapshot.trackedScores, kind);
    for (int object = 0; object < MeasurementState::MaxObjects; ++object) {
        const ObjectRows &other = snapshot.others[object];
        if (object == snapshot.chosenObject || other.pointCount == 0)
            continue;
        out += "object-points " + QByteArray::number(object) + ' ' +
               pointsBlock(pointsOf(snapshot, other.rows, other.pointCount), other.trackedScores,
                           kind);
    }
    out += kDigestKey + QCryptographicHash::hash(out, QCryptographicHash::Sha256).toHex() + '\n';
    return out;
}

Read decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return failure(QStringLiteral("ファイルが空です。"));
    const bool measurementFile = bytes.startsWith(kMeasurementMagic + '\n');
    if (bytes.size() > MaxFileBytes || (!bytes.startsWith(kMagic + '\n') && !measurementFile))
        return failure(notRecoveryFile());
    const Kind kind = measurementFile ? Kind::Measurement : Kind::Recovery;

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
    read.kind = kind;
    Snapshot &s = read.snapshot;

    const std::optional<QString> video = readText(lines.value("video"));
    if (!video)
        return failure(badValue("映像"));
    s.videoPath = *video;
    if (kind == Kind::Measurement) {
        const std::optional<QString> relative = readText(lines.value("video-relative"));
        if (!relative)
            return failure(badValue("映像"));
        s.videoRelative = *relative;
    }
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
    if (lines.nextIs("object")) {
        const std::optional<QByteArray> text = lines.value("object");
        const std::optional<int> chosen = text ? readObject(*text) : std::nullopt;
        if (!chosen || *chosen == 0)
            return failure(badValue("物体"));
        s.chosenObject = qint16(*chosen);
    }
    int lastMass = -1;
    while (lines.nextIs("mass")) {
        const QList<QByteArray> fields = lines.value("mass").value_or(QByteArray()).split(' ');
        const std::optional<int> object = fields.size() == 2 ? readObject(fields[0]) : std::nullopt;
        const std::optional<double> mass = object ? readRate(fields[1]) : std::nullopt;
        if (!object || *object <= lastMass || !mass || !(*mass > 0) || *mass > kMaxMass)
            return failure(badValue("質量"));
        s.masses[*object] = *mass;
        lastMass = *object;
    }
    QString error;
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
    if (!ok || count < 0 || count > MeasurementState::MaxPoints)
        return failure(badValue("打点の数"));
    s.pointCount = qint16(count);
    const std::optional<QList<datafile::PointRow>> rows =
        readPoints(lines, count, kind, s.trackedScores, error);
    if (!rows)
        return failure(error);
    s.rows = *rows;

    int lastObject = -1;
    while (lines.nextIs("object-points")) {
        const QList<QByteArray> fields =
            lines.value("object-points").value_or(QByteArray()).split(' ');
        const std::optional<int> object = fields.size() == 2 ? readObject(fields[0]) : std::nullopt;
        const int points = object ? fields[1].toInt(&ok) : 0;
        if (!object || *object == s.chosenObject || *object <= lastObject || !ok || points < 1 ||
            points > MeasurementState::MaxPoints)
            return failure(badValue("物体"));
        const std::optional<QList<datafile::PointRow>> objectRows =
            readPoints(lines, points, kind, s.others[*object].trackedScores, error);
        if (!objectRows)
            return failure(error);
        s.others[*object].pointCount = qint16(points);
        s.others[*object].rows = *objectRows;
        lastObject = *object;
    }
    if (!lines.atEnd())
        return failure(damaged());
    if (s.empty())
        return failure(badValue("打点の数"));
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
    state.ChosenObject = qint16(qBound(0, int(snapshot.chosenObject), objects::Count - 1));
    objects::clearOthers(state);
    for (int object = 0; object < objects::Count; ++object) {
        state.ObjectMass[object] = snapshot.masses[object];
        const ObjectRows &other = snapshot.others[object];
        if (object == state.ChosenObject || other.pointCount == 0)
            continue;
        MeasurementState::ObjectPoints &points = state.OtherObjects[object];
        points.Count = other.pointCount;
        for (int r = 1; r <= other.rows.size() && r < MeasurementState::TableRows; ++r)
            std::copy(other.rows[r - 1].begin(), other.rows[r - 1].end(), points.Table[r]);
        points.TrackedScores = other.trackedScores;
    }
}

} // namespace recovery
