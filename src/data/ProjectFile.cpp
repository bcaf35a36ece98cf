#include "data/ProjectFile.h"

#include "data/HistoryCbor.h"
#include "data/ProjectStart.h"
#include "data/RowsCbor.h"

#include <QBuffer>
#include <QCborArray>
#include <QCborStreamWriter>
#include <QCborValue>

#include <array>
#include <climits>
#include <set>
#include <type_traits>

namespace tracella {
namespace {

const QString FormatName = QStringLiteral("tracella-project");

// The settings and calibration fields kept, by their names in the file.
template <typename T> struct Field {
    const char* key;
    T AppState::*member;
};

constexpr std::array<Field<Colour>, 5> ColourFields{{{"splineColor", &AppState::SplineColor},
                                                     {"arDataColor", &AppState::ARDataColor},
                                                     {"arPointColor", &AppState::ARPointColor},
                                                     {"scaleColor", &AppState::ScaleColor},
                                                     {"pointsColor", &AppState::PointsColor}}};
constexpr std::array<Field<std::int32_t>, 4> IntFields{{{"dotSize", &AppState::DotSize},
                                                        {"splinePoints", &AppState::SplinePoints},
                                                        {"arCols", &AppState::ARCols},
                                                        {"arRows", &AppState::ARRows}}};
constexpr std::array<Field<bool>, 4> SettingFlags{{{"splineOnX", &AppState::SplineOnX},
                                                   {"xAxisLog", &AppState::XAxisLog},
                                                   {"yAxisLog", &AppState::YAxisLog},
                                                   {"escUndo", &AppState::EscUndo}}};
constexpr std::array<Field<double>, 12> CalibrationFields{{{"refX1", &AppState::RefX1},
                                                           {"refX2", &AppState::RefX2},
                                                           {"refY1", &AppState::RefY1},
                                                           {"refY2", &AppState::RefY2},
                                                           {"refPx1", &AppState::RefPx1},
                                                           {"refPx2", &AppState::RefPx2},
                                                           {"refPy1", &AppState::RefPy1},
                                                           {"refPy2", &AppState::RefPy2},
                                                           {"frameLeft", &AppState::FrameLeft},
                                                           {"frameTop", &AppState::FrameTop},
                                                           {"frameRight", &AppState::FrameRight},
                                                           {"frameBottom", &AppState::FrameBottom}}};

QString Key(const char* key)
{
    return QString::fromLatin1(key);
}

const char* SourceName(PictureSource source)
{
    switch (source) {
    case PictureSource::File:
        return "file";
    case PictureSource::Png:
        return "png";
    case PictureSource::PdfPage:
        return "pdfPage";
    }
    return "png";
}

// The keys a section knows, so that the others are kept as unknown.
template <typename... Tables>
std::set<QString> KnownKeys(std::initializer_list<const char*> extra, const Tables&... tables)
{
    std::set<QString> keys;
    for (const char* k : extra)
        keys.insert(Key(k));
    (
        [&] {
            for (const auto& f : tables)
                keys.insert(Key(f.key));
        }(),
        ...);
    return keys;
}

void WriteUnknown(QCborStreamWriter& w, const QCborMap& unknown)
{
    for (auto it = unknown.begin(); it != unknown.end(); ++it) {
        it.key().toCbor(w);
        it.value().toCbor(w);
    }
}

QCborMap Unknown(const QCborMap& map, const std::set<QString>& known)
{
    QCborMap rest;
    for (auto it = map.begin(); it != map.end(); ++it)
        if (!it.key().isString() || !known.contains(it.key().toString()))
            rest.insert(it.key(), it.value());
    return rest;
}

void WritePicture(QCborStreamWriter& w, const Project& p)
{
    const ProjectPicture& pic = p.picture;
    w.append(QLatin1StringView("picture"));
    w.startMap();
    w.append(QLatin1StringView("source"));
    w.append(QLatin1StringView(SourceName(pic.source)));
    w.append(QLatin1StringView("fileName"));
    w.append(pic.fileName);
    if (pic.source == PictureSource::PdfPage) {
        w.append(QLatin1StringView("pdfPage"));
        w.append(pic.pdfPage);
        w.append(QLatin1StringView("pdfDpi"));
        w.append(pic.pdfDpi);
    }
    // Stored once, as a byte string: no text encoding of a large picture.
    w.append(QLatin1StringView("bytes"));
    w.appendByteString(pic.bytes.constData(), pic.bytes.size());
    WriteUnknown(w, p.unknownPicture);
    w.endMap();
}

template <typename Number, std::size_t N>
void WriteNumbers(QCborStreamWriter& w, const char* key, const std::array<Number, N>& numbers)
{
    w.append(QLatin1StringView(key));
    w.startArray(N);
    for (Number n : numbers)
        w.append(n);
    w.endArray();
}

void WriteAxes(QCborStreamWriter& w, const ProjectAxes& axes)
{
    w.append(QLatin1StringView("axes"));
    w.startMap();
    WriteNumbers(w, "toAxes", axes.toAxes);
    WriteNumbers(w, "toPixels", axes.toPixels);
    WriteNumbers(w, "kinds", axes.kinds);
    WriteNumbers(w, "precisions", axes.precisions);
    WriteNumbers(w, "extent", axes.extent);
    w.endMap();
}

void WriteSections(QCborStreamWriter& w, const Project& p)
{
    w.append(QLatin1StringView("calibration"));
    w.startMap();
    for (const auto& f : CalibrationFields) {
        w.append(QLatin1StringView(f.key));
        w.append(p.state.*f.member);
    }
    if (p.axes)
        WriteAxes(w, *p.axes);
    WriteUnknown(w, p.unknownCalibration);
    w.endMap();

    w.append(QLatin1StringView("settings"));
    w.startMap();
    for (const auto& f : ColourFields) {
        w.append(QLatin1StringView(f.key));
        w.append(static_cast<qint64>(p.state.*f.member));
    }
    for (const auto& f : IntFields) {
        w.append(QLatin1StringView(f.key));
        w.append(static_cast<qint64>(p.state.*f.member));
    }
    for (const auto& f : SettingFlags) {
        w.append(QLatin1StringView(f.key));
        w.append(p.state.*f.member);
    }
    w.append(QLatin1StringView("pointerIndex"));
    w.append(static_cast<qint64>(p.state.PointerIndex));
    WriteUnknown(w, p.unknownSettings);
    w.endMap();
}

void WriteCurves(QCborStreamWriter& w, QIODevice& device, const Project& p)
{
    w.append(QLatin1StringView("curves"));
    w.startArray(static_cast<quint64>(p.curves.size()));
    for (const ProjectCurve& c : p.curves) {
        w.startMap();
        w.append(QLatin1StringView("name"));
        w.append(c.name);
        if (c.colour) {
            w.append(QLatin1StringView("colour"));
            w.append(static_cast<qint64>(*c.colour));
        }
        w.append(QLatin1StringView("dataFile"));
        w.append(c.dataFileName);
        w.append(QLatin1StringView("layout"));
        w.append(QLatin1StringView(LayoutName(c.layout)));
        if (c.id >= 0) {
            w.append(QLatin1StringView("id"));
            w.append(c.id);
        }
        w.append(QLatin1StringView("rows"));
        device.write(RowsAsCbor(c.rows)); // the writer keeps nothing back: the rows follow their key
        w.endMap();
    }
    w.endArray();
    w.append(QLatin1StringView("current"));
    w.append(static_cast<qint64>(p.current));
    if (p.numbering) {
        w.append(QLatin1StringView("curveNumbering"));
        w.startArray(2);
        w.append(p.numbering->nextId);
        w.append(p.numbering->added);
        w.endArray();
    }
}

// Ids kept only when each curve has its own, below the next one to give.
std::optional<CurveNumbering> ReadNumbering(const QCborMap& top, const std::vector<ProjectCurve>& curves)
{
    const QCborArray a = top.value(QStringLiteral("curveNumbering")).toArray();
    const qint64 next = a.at(0).toInteger(-1), added = a.at(1).toInteger(-1);
    if (a.size() != 2 || next < 0 || next > INT_MAX || added < 0 || added > INT_MAX)
        return std::nullopt;
    std::set<int> ids;
    for (const ProjectCurve& c : curves)
        if (c.id < 0 || c.id >= next || !ids.insert(c.id).second)
            return std::nullopt;
    return CurveNumbering{static_cast<int>(next), static_cast<int>(added)};
}

QString Damaged(const QString& what)
{
    return QStringLiteral("The project file is damaged: %1.").arg(what);
}

std::optional<QString> ReadCurve(const QCborValue& value, ProjectCurve& c)
{
    if (!value.isMap())
        return Damaged(QStringLiteral("a curve is not a record"));
    const QCborMap m = value.toMap();
    if (!m.value(QStringLiteral("name")).isString())
        return Damaged(QStringLiteral("a curve has no name"));
    c.name = m.value(QStringLiteral("name")).toString();
    const QCborValue colour = m.value(QStringLiteral("colour"));
    if (colour.isInteger())
        c.colour = static_cast<Colour>(colour.toInteger() & 0xFFFFFF);
    c.dataFileName = m.value(QStringLiteral("dataFile")).toString();
    c.layout = LayoutOfName(m.value(QStringLiteral("layout")).toString());
    const QCborValue id = m.value(QStringLiteral("id"));
    c.id = id.isInteger() && id.toInteger() >= 0 && id.toInteger() < INT_MAX ? static_cast<int>(id.toInteger()) : -1;
    const QCborArray rows = m.value(QStringLiteral("rows")).toArray();
    if (rows.size() > MaxGridRowCount - 1)
        return QStringLiteral("The curve \"%1\" holds %2 rows, more than the %3 a curve can hold.")
            .arg(c.name)
            .arg(rows.size())
            .arg(MaxGridRowCount - 1);
    c.rows.reserve(static_cast<std::size_t>(rows.size()));
    for (const QCborValue& row : rows) {
        const QCborArray cells = row.toArray();
        if (!row.isArray() || cells.size() != GridColumnCount)
            return Damaged(
                QStringLiteral("a row of the curve \"%1\" does not have %2 cells").arg(c.name).arg(GridColumnCount));
        GridRow r;
        for (int i = 0; i < GridColumnCount; ++i) {
            if (!cells.at(i).isString())
                return Damaged(QStringLiteral("a cell of the curve \"%1\" is not text").arg(c.name));
            r[static_cast<std::size_t>(i)] = cells.at(i).toString();
        }
        c.rows.push_back(std::move(r));
    }
    return std::nullopt;
}

std::optional<QString> ReadCurves(const QCborMap& top, Project& p)
{
    const QCborValue curves = top.value(QStringLiteral("curves"));
    if (!curves.isArray() || curves.toArray().isEmpty())
        return QStringLiteral("The project holds no curve.");
    std::set<QString> names;
    for (const QCborValue& value : curves.toArray()) {
        ProjectCurve c;
        if (auto problem = ReadCurve(value, c))
            return problem;
        if (!names.insert(c.name.trimmed()).second)
            return QStringLiteral("The project names the curve \"%1\" twice.").arg(c.name);
        p.curves.push_back(std::move(c));
    }
    const qint64 current = top.value(QStringLiteral("current")).toInteger(-1);
    if (current < 0 || current >= static_cast<qint64>(p.curves.size()))
        return Damaged(QStringLiteral("the current curve is not one of its curves"));
    p.current = static_cast<int>(current);
    return std::nullopt;
}

std::optional<QString> ReadPicture(const QCborMap& top, Project& p)
{
    const QCborMap m = top.value(QStringLiteral("picture")).toMap();
    const QCborValue bytes = m.value(QStringLiteral("bytes"));
    if (!bytes.isByteArray() || bytes.toByteArray().isEmpty())
        return QStringLiteral("The project holds no picture.");
    ProjectPicture& pic = p.picture;
    pic.bytes = bytes.toByteArray();
    const QString source = m.value(QStringLiteral("source")).toString();
    pic.source = source == QLatin1String("file")      ? PictureSource::File
                 : source == QLatin1String("pdfPage") ? PictureSource::PdfPage
                                                      : PictureSource::Png;
    pic.fileName = m.value(QStringLiteral("fileName")).toString();
    pic.pdfPage = static_cast<int>(m.value(QStringLiteral("pdfPage")).toInteger());
    pic.pdfDpi = m.value(QStringLiteral("pdfDpi")).toDouble();
    p.unknownPicture = Unknown(m, KnownKeys({"source", "fileName", "bytes", "pdfPage", "pdfDpi"}));
    return std::nullopt;
}

template <typename Number, std::size_t N>
bool ReadNumbers(const QCborMap& m, const char* key, std::array<Number, N>& numbers)
{
    const QCborArray a = m.value(Key(key)).toArray();
    if (a.size() != static_cast<qsizetype>(N))
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        const QCborValue v = a.at(static_cast<qsizetype>(i));
        if (!v.isDouble() && !v.isInteger())
            return false;
        if constexpr (std::is_integral_v<Number>)
            numbers[i] = static_cast<Number>(v.toInteger());
        else
            numbers[i] = v.toDouble();
    }
    return true;
}

std::optional<QString> ReadAxes(const QCborMap& calibration, Project& p)
{
    const QCborValue value = calibration.value(QStringLiteral("axes"));
    if (value.isUndefined())
        return std::nullopt;
    const QCborMap m = value.toMap();
    ProjectAxes axes;
    if (!ReadNumbers(m, "toAxes", axes.toAxes) || !ReadNumbers(m, "toPixels", axes.toPixels) ||
        !ReadNumbers(m, "kinds", axes.kinds) || !ReadNumbers(m, "precisions", axes.precisions) ||
        !ReadNumbers(m, "extent", axes.extent))
        return Damaged(QStringLiteral("its calibration by axes is incomplete"));
    p.axes = axes;
    return std::nullopt;
}

std::optional<QString> ReadSections(const QCborMap& top, Project& p)
{
    const QCborMap calibration = top.value(QStringLiteral("calibration")).toMap();
    for (const auto& f : CalibrationFields)
        p.state.*f.member = calibration.value(Key(f.key)).toDouble(p.state.*f.member);
    if (auto problem = ReadAxes(calibration, p))
        return problem;
    p.unknownCalibration = Unknown(calibration, KnownKeys({"axes"}, CalibrationFields));

    const QCborMap settings = top.value(QStringLiteral("settings")).toMap();
    for (const auto& f : ColourFields)
        p.state.*f.member = static_cast<Colour>(settings.value(Key(f.key)).toInteger(p.state.*f.member) & 0xFFFFFF);
    for (const auto& f : IntFields)
        p.state.*f.member = static_cast<std::int32_t>(settings.value(Key(f.key)).toInteger(p.state.*f.member));
    for (const auto& f : SettingFlags)
        p.state.*f.member = settings.value(Key(f.key)).toBool(p.state.*f.member);
    p.state.PointerIndex = static_cast<std::int16_t>(settings.value(QStringLiteral("pointerIndex")).toInteger());
    p.unknownSettings = Unknown(settings, KnownKeys({"pointerIndex"}, ColourFields, IntFields, SettingFlags));
    return std::nullopt;
}

} // namespace

QByteArray EncodeProject(const Project& p)
{
    QByteArray out;
    out.reserve(p.picture.bytes.size() + 4096);
    QBuffer device(&out);
    device.open(QIODevice::WriteOnly);
    QCborStreamWriter w(&device);
    w.startMap();
    w.append(QLatin1StringView("format"));
    w.append(FormatName);
    w.append(QLatin1StringView("version"));
    w.startArray(2);
    w.append(ProjectMajorVersion);
    w.append(ProjectMinorVersion);
    w.endArray();
    WritePicture(w, p);
    WriteSections(w, p);
    WriteCurves(w, device, p);
    w.append(QLatin1StringView("zoom"));
    w.append(p.zoom);
    if (p.history && !p.history->steps.empty()) {
        w.append(QLatin1StringView("history"));
        HistoryAsCbor(*p.history).toCbor(w);
    }
    WriteUnknown(w, p.unknown);
    w.endMap();
    return out;
}

std::variant<Project, QString> DecodeProject(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("The project file is empty.");
    QCborParserError error;
    const QCborValue root = QCborValue::fromCbor(bytes, &error);
    // The partial map a failed parse leaves is not read: see IsProjectStart.
    if (error.error != QCborError::NoError)
        return IsProjectStart(bytes) ? Damaged(error.errorString())
                                     : QStringLiteral("This is not a Tracella project file.");
    const QCborMap top = root.toMap();
    if (top.value(QStringLiteral("format")).toString() != FormatName)
        return QStringLiteral("This is not a Tracella project file.");
    const QCborArray version = top.value(QStringLiteral("version")).toArray();
    const qint64 major = version.at(0).toInteger(-1), minor = version.at(1).toInteger(0);
    if (major < 1)
        return Damaged(QStringLiteral("it has no format version"));
    if (major > ProjectMajorVersion)
        return QStringLiteral("This project was saved in project format %1.%2, which is newer than this Tracella "
                              "reads (%3.x). Open it with a newer Tracella.")
            .arg(major)
            .arg(minor)
            .arg(ProjectMajorVersion);
    Project p;
    if (auto problem = ReadPicture(top, p))
        return *problem;
    if (auto problem = ReadSections(top, p))
        return *problem;
    if (auto problem = ReadCurves(top, p))
        return *problem;
    p.zoom = top.value(QStringLiteral("zoom")).toDouble(1);
    p.numbering = ReadNumbering(top, p.curves);
    if (top.contains(QStringLiteral("history"))) {
        p.history = HistoryFromCbor(top.value(QStringLiteral("history")));
        p.historyUnreadable = !p.history;
    }
    p.unknown = Unknown(top, KnownKeys({"format", "version", "picture", "calibration", "settings", "curves",
                                        "current", "zoom", "curveNumbering", "history"}));
    return p;
}

std::vector<ProjectCurve> ProjectCurvesOf(const CurveDocument& document)
{
    std::vector<ProjectCurve> curves;
    for (int i = 0; i < document.count(); ++i) {
        const Curve& c = document.curve(i);
        ProjectCurve pc{c.name, c.colour, c.dataFileName, c.layout, {}, c.id};
        for (int r = 1; r < c.rows.rowCount(); ++r)
            pc.rows.push_back(c.rows.row(r));
        curves.push_back(std::move(pc));
    }
    return curves;
}

std::optional<QString> RestoreCurves(CurveDocument& document, const std::vector<ProjectCurve>& curves, int current,
                                     const std::optional<CurveNumbering>& numbering)
{
    CurveDocument restored;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const ProjectCurve& c = curves[i];
        if (auto problem = i == 0 ? restored.rename(0, c.name) : restored.add(c.name))
            return problem;
    }
    // The names are the document's to refuse; with ids, the curves are made
    // again as the project numbered them.
    if (numbering) {
        CurveList list{{}, current, numbering->nextId, numbering->added};
        for (const ProjectCurve& c : curves)
            list.entries.push_back({c.id, restored.curve(static_cast<int>(list.entries.size())).name, c.colour,
                                    c.dataFileName, c.layout});
        restored = CurveDocument();
        restored.setList(list);
    }
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const ProjectCurve& c = curves[i];
        const int index = static_cast<int>(i);
        if (c.colour)
            restored.setColour(index, *c.colour);
        restored.setDataFile(index, c.dataFileName, c.layout);
        restored.editRows(index, [&](GridRows& rows) {
            for (const GridRow& row : c.rows)
                (void)rows.appendRow(row);
        });
    }
    restored.setCurrent(current);
    document = std::move(restored);
    return std::nullopt;
}

const char* LayoutName(DataFileLayout layout)
{
    switch (layout) {
    case DataFileLayout::Space:
        return "space";
    case DataFileLayout::Tab:
        return "tab";
    case DataFileLayout::Comma:
        return "comma";
    }
    return "space";
}

DataFileLayout LayoutOfName(const QString& name)
{
    return name == QLatin1String("tab")     ? DataFileLayout::Tab
           : name == QLatin1String("comma") ? DataFileLayout::Comma
                                            : DataFileLayout::Space;
}

QCborMap SettingsAsCbor(const AppState& state, const std::optional<ProjectAxes>& axes)
{
    Project p;
    p.state = state;
    p.axes = axes;
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QCborStreamWriter w(&device);
    w.startMap();
    WriteSections(w, p);
    w.endMap();
    return QCborValue::fromCbor(bytes).toMap();
}

std::optional<QString> SettingsFromCbor(const QCborMap& map, AppState& state, std::optional<ProjectAxes>& axes)
{
    Project p;
    if (auto problem = ReadSections(map, p))
        return problem;
    state = p.state;
    axes = p.axes;
    return std::nullopt;
}

} // namespace tracella
