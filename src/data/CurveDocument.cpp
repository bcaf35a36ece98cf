#include "data/CurveDocument.h"

#include <algorithm>

namespace tracella {

CurveDocument::CurveDocument()
{
    Curve first;
    first.id = nextId_++;
    first.name = QStringLiteral("Curve 1");
    curves_.push_back(std::move(first));
}

int CurveDocument::indexOf(int id) const
{
    const auto found = std::find_if(curves_.begin(), curves_.end(), [id](const Curve& c) { return c.id == id; });
    return found == curves_.end() ? -1 : static_cast<int>(found - curves_.begin());
}

const std::vector<Colour>& CurveDocument::Palette()
{
    // Okabe and Ito's colours for colour-blind readers, black left out.
    static const std::vector<Colour> colours{Rgb(230, 159, 0),  Rgb(86, 180, 233), Rgb(0, 158, 115),
                                             Rgb(240, 228, 66), Rgb(0, 114, 178),  Rgb(213, 94, 0),
                                             Rgb(204, 121, 167)};
    return colours;
}

Colour CurveDocument::colourOf(int index, Colour pointsColor) const
{
    return curve(index).colour.value_or(pointsColor);
}

std::optional<QString> CurveDocument::nameProblem(const QString& name, int except) const
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("A curve needs a name.");
    if (trimmed.size() > MaxNameLength)
        return QStringLiteral("A curve name may have at most %1 characters.").arg(MaxNameLength);
    const bool control = std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
    if (control)
        return QStringLiteral("A curve name may not hold tabs, line breaks or other control characters.");
    for (int i = 0; i < count(); ++i) {
        if (i != except && curve(i).name == trimmed)
            return QStringLiteral("There is already a curve named \"%1\".").arg(trimmed);
    }
    return std::nullopt;
}

QString CurveDocument::freeName() const
{
    for (int n = count() + 1;; ++n) {
        const QString name = QStringLiteral("Curve %1").arg(n);
        if (!nameProblem(name))
            return name;
    }
}

std::optional<QString> CurveDocument::add(const QString& name)
{
    if (count() >= MaxCurveCount)
        return QStringLiteral("A picture holds at most %1 curves.").arg(MaxCurveCount);
    if (auto problem = nameProblem(name))
        return problem;
    beforeList();
    Curve added;
    added.id = nextId_++;
    added.name = name.trimmed();
    added.colour = Palette()[static_cast<std::size_t>(added_++) % Palette().size()];
    curves_.push_back(std::move(added));
    current_ = count() - 1;
    afterChange();
    return std::nullopt;
}

std::optional<QString> CurveDocument::rename(int index, const QString& name)
{
    if (auto problem = nameProblem(name, index))
        return problem;
    beforeList();
    curves_[static_cast<std::size_t>(index)].name = name.trimmed();
    afterChange();
    return std::nullopt;
}

std::optional<QString> CurveDocument::remove(int index)
{
    if (count() == 1)
        return QStringLiteral("The last curve cannot be deleted: there is always one.");
    if (recorder_.to)
        recorder_.to->beforeRows(curve(index));
    beforeList();
    curves_.erase(curves_.begin() + index);
    // The current curve stays current; in place of a deleted one, its neighbour.
    if (current_ > index || current_ == count())
        --current_;
    afterChange();
    return std::nullopt;
}

void CurveDocument::setCurrent(int index)
{
    current_ = std::clamp(index, 0, count() - 1);
}

void CurveDocument::setColour(int index, Colour colour)
{
    beforeList();
    curves_[static_cast<std::size_t>(index)].colour = colour;
    afterChange();
}

void CurveDocument::setDataFile(int index, const QString& fileName, DataFileLayout layout)
{
    Curve& c = curves_[static_cast<std::size_t>(index)];
    c.dataFileName = fileName;
    c.layout = layout;
}

void CurveDocument::clearDataFileNames()
{
    for (Curve& c : curves_)
        c.dataFileName.clear();
}

bool CurveDocument::anyPoints() const
{
    return std::any_of(curves_.begin(), curves_.end(), [](const Curve& c) { return c.rows.dataRowCount() > 0; });
}

void CurveDocument::editRows(int index, const std::function<void(GridRows&)>& change)
{
    Curve& edited = curves_[static_cast<std::size_t>(index)];
    if (recorder_.to)
        recorder_.to->beforeRows(edited);
    change(edited.rows);
    afterChange();
}

void CurveDocument::reorderRows(const std::function<RowsReorder(GridRows&)>& change)
{
    Curve& edited = curves_[static_cast<std::size_t>(current_)];
    RowsReorder reorder = change(edited.rows);
    if (recorder_.to)
        recorder_.to->reordered(edited, std::move(reorder));
    afterChange();
}

std::optional<AppError> CurveDocument::appendRow(GridRow cells)
{
    std::optional<AppError> refused;
    editRows([&](GridRows& rows) { refused = rows.appendRow(std::move(cells)); });
    return refused;
}

std::optional<AppError> CurveDocument::appendTabText(QStringView text)
{
    std::optional<AppError> refused;
    editRows([&](GridRows& rows) { refused = rows.appendTabText(text); });
    return refused;
}

bool CurveList::sameCurves(const CurveList& other) const
{
    return std::equal(entries.begin(), entries.end(), other.entries.begin(), other.entries.end(),
                      [](const CurveEntry& a, const CurveEntry& b) {
                          return a.id == b.id && a.name == b.name && a.colour == b.colour;
                      });
}

CurveList CurveDocument::list() const
{
    CurveList list{{}, current_, nextId_, added_};
    for (const Curve& c : curves_)
        list.entries.push_back({c.id, c.name, c.colour, c.dataFileName, c.layout});
    return list;
}

void CurveDocument::setList(const CurveList& list)
{
    std::vector<Curve> curves;
    for (const CurveEntry& entry : list.entries) {
        const int kept = indexOf(entry.id);
        Curve c;
        if (kept >= 0) {
            c = std::move(curves_[static_cast<std::size_t>(kept)]);
        } else {
            c.id = entry.id;
            c.dataFileName = entry.dataFileName;
            c.layout = entry.layout;
        }
        c.name = entry.name;
        c.colour = entry.colour;
        curves.push_back(std::move(c));
    }
    if (curves.empty())
        return; // there is always a curve
    curves_ = std::move(curves);
    current_ = std::clamp(list.current, 0, count() - 1);
    nextId_ = std::max(nextId_, list.nextId);
    added_ = list.added;
}

void CurveDocument::beforeList() const
{
    if (recorder_.to)
        recorder_.to->beforeList();
}

void CurveDocument::afterChange() const
{
    if (recorder_.to)
        recorder_.to->afterChange();
}

} // namespace tracella
