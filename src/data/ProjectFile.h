#pragma once

#include "app/core/AppState.h"
#include "data/CurveDocument.h"
#include "data/DataFileFormat.h"
#include "data/GridRows.h"
#include "data/HistoryRecord.h"

#include <QByteArray>
#include <QCborMap>
#include <QString>

#include <array>
#include <optional>
#include <variant>
#include <vector>

namespace tracella {

// The version this build writes; files of a later major version are refused.
constexpr int ProjectMajorVersion = 1;
constexpr int ProjectMinorVersion = 1;

// Where the picture came from, which decides what bytes are kept of it.
enum class PictureSource {
    File,    // the imported file's own bytes
    Png,     // pasted, captured, scanned or turned: kept as PNG
    PdfPage, // the drawn page as PNG, with the PDF's name, page and resolution
};

struct ProjectPicture {
    PictureSource source = PictureSource::Png;
    QString fileName; // the file it came from, when it came from one
    QByteArray bytes;
    int pdfPage = 0; // from 1
    double pdfDpi = 0;
};

struct ProjectCurve {
    QString name;
    std::optional<Colour> colour; // none: the settings' points colour
    QString dataFileName;
    DataFileLayout layout = DataFileLayout::Space;
    std::vector<GridRow> rows; // data rows, as the grid's cell texts
    int id = -1; // as the document knows it; -1 when the file gives none
};

// How a document numbers its curves, which its undo history refers to.
struct CurveNumbering {
    int nextId = 0;
    int added = 0; // curves ever added: the next palette colour
};

// A calibration by axes as plain numbers: the affine maps both ways
// (a, b, c, d, e, f), each axis's kind and date precision (X, then Y) and
// where the axes are drawn (xAxisAt, yAxisAt, xFrom, xTo, yFrom, yTo).
struct ProjectAxes {
    std::array<double, 6> toAxes{}, toPixels{};
    std::array<int, 2> kinds{}, precisions{};
    std::array<double, 6> extent{};
    friend bool operator==(const ProjectAxes&, const ProjectAxes&) = default;
};

// Everything needed to go on working on a picture.
struct Project {
    ProjectPicture picture;
    AppState state; // its settings and calibration are kept; the rest is not
    std::optional<ProjectAxes> axes; // the calibration by axes, when it is the one in use
    std::vector<ProjectCurve> curves;
    int current = 0;
    double zoom = 1;
    // Kept when every curve has an id of its own, below nextId.
    std::optional<CurveNumbering> numbering;
    std::optional<HistoryRecord> history;
    bool historyUnreadable = false; // a history was there but is not well formed
    // Fields of this major version that this build does not know, section
    // by section, written back as they came.
    QCborMap unknown, unknownPicture, unknownCalibration, unknownSettings;
};

// The project as a CBOR document (see docs/project-format.md).
QByteArray EncodeProject(const Project& project);

// The project, or why the bytes are not one, in words for the user.
std::variant<Project, QString> DecodeProject(const QByteArray& bytes);

// The curves of a document as a project keeps them, and back: the curves of
// a fresh document replaced by the project's, the current one chosen, with
// their ids when the project numbers them.
std::vector<ProjectCurve> ProjectCurvesOf(const CurveDocument& document);
std::optional<QString> RestoreCurves(CurveDocument& document, const std::vector<ProjectCurve>& curves, int current,
                                     const std::optional<CurveNumbering>& numbering = std::nullopt);

// The settings and calibration sections alone, as a map holding both.
QCborMap SettingsAsCbor(const AppState& state, const std::optional<ProjectAxes>& axes);
std::optional<QString> SettingsFromCbor(const QCborMap& map, AppState& state, std::optional<ProjectAxes>& axes);

const char* LayoutName(DataFileLayout layout);
DataFileLayout LayoutOfName(const QString& name);

} // namespace tracella
