#pragma once

#include "app/core/AppState.h"
#include "data/DataFileFormat.h"
#include "data/GridRows.h"
#include "data/RowsReorder.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace tracella {

// One curve of the picture: its own rows, name and marker colour, and the
// data file its Save writes.
struct Curve {
    int id = 0; // stays with the curve whatever is added or removed
    QString name;
    std::optional<Colour> colour; // none: the settings' PointsColor
    QString dataFileName;
    DataFileLayout layout = DataFileLayout::Space;
    GridRows rows;
};

// What a list of curves is without their rows: enough to bring the list
// back as it was, the rows kept by curve id.
struct CurveEntry {
    int id = 0;
    QString name;
    std::optional<Colour> colour;
    QString dataFileName;
    DataFileLayout layout = DataFileLayout::Space;
};

struct CurveList {
    std::vector<CurveEntry> entries;
    int current = 0;
    int nextId = 0;
    int added = 0;
    // The same curves in the same order, named and coloured alike; which one
    // is current and where they are saved do not count.
    bool sameCurves(const CurveList& other) const;
};

// Hears of every change of the curves before it is made, so that an undo
// history can keep what the change replaces.
class CurveEditRecorder {
public:
    virtual ~CurveEditRecorder() = default;
    virtual void beforeRows(const Curve& curve) = 0;
    // After a reorder of rows not heard of by beforeRows: how to take it back.
    virtual void reordered(const Curve& curve, RowsReorder reorder) = 0;
    // Before curves are added, renamed, deleted or coloured.
    virtual void beforeList() = 0;
    // After either change.
    virtual void afterChange() = 0;
};

// The curves of the picture and which one is current: the only store of
// the collected points. There is always at least one curve.
class CurveDocument {
public:
    static constexpr int MaxCurveCount = 1000;
    static constexpr int MaxNameLength = 200;

    CurveDocument();

    int count() const { return static_cast<int>(curves_.size()); }
    int currentIndex() const { return current_; }
    const Curve& curve(int index) const { return curves_[static_cast<std::size_t>(index)]; }
    const Curve& current() const { return curve(current_); }
    const GridRows& rows() const { return current().rows; }
    // The index of the curve with this id, or -1.
    int indexOf(int id) const;

    // The colour its markers are drawn in.
    Colour colourOf(int index, Colour pointsColor) const;
    // The colours added curves take in turn: safe for colour-blind eyes and
    // none of them black, the usual colour of the plotted lines.
    static const std::vector<Colour>& Palette();

    // Why a name cannot be given to a curve (other than the one at except),
    // or nothing when it can. Names are compared after trimming blanks.
    std::optional<QString> nameProblem(const QString& name, int except = -1) const;
    // "Curve N" with the lowest N from count() + 1 on that is free.
    QString freeName() const;

    // Each refused with the reason, nothing changed. An added curve becomes
    // the current one and takes the next colour of the palette.
    std::optional<QString> add(const QString& name);
    std::optional<QString> rename(int index, const QString& name);
    std::optional<QString> remove(int index);

    void setCurrent(int index);
    void setColour(int index, Colour colour);
    void setDataFile(int index, const QString& fileName, DataFileLayout layout);
    void clearDataFileNames();

    bool anyPoints() const;

    // The one place every change of any curve's points passes through.
    void editRows(int index, const std::function<void(GridRows&)>& change);
    // The same for the current curve.
    void editRows(const std::function<void(GridRows&)>& change) { editRows(current_, change); }
    // A change of the current curve's rows that says how to take itself back.
    void reorderRows(const std::function<RowsReorder(GridRows&)>& change);
    // Refused with GridFull, the rows untouched, when the current curve is full.
    std::optional<AppError> appendRow(GridRow cells);
    std::optional<AppError> appendTabText(QStringView text);

    CurveList list() const;
    // The curves of the list in its order, each keeping its rows; a curve
    // new to the document starts without rows. The curves kept keep their
    // data files: saving is no change to take back.
    void setList(const CurveList& list);

    // Not copied with the curves: a history stays with its document.
    void setRecorder(CurveEditRecorder* recorder) { recorder_.to = recorder; }

private:
    struct RecorderLink {
        CurveEditRecorder* to = nullptr;
        RecorderLink() = default;
        RecorderLink(const RecorderLink&) {}
        RecorderLink& operator=(const RecorderLink&) { return *this; }
    };
    void beforeList() const;
    void afterChange() const;

    RecorderLink recorder_;

    std::vector<Curve> curves_;
    int current_ = 0;
    int nextId_ = 0;
    int added_ = 0; // curves ever added: the next palette colour
};

} // namespace tracella
