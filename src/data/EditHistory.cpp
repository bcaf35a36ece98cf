#include "data/EditHistory.h"

#include <QUndoCommand>

#include <algorithm>
#include <utility>
#include <vector>

namespace tracella {
namespace {

bool NothingMoved(const RowsReorder& reorder)
{
    for (std::size_t i = 0; i < reorder.from.size(); ++i)
        if (reorder.from[i] != static_cast<int>(i))
            return false;
    return reorder.mends.empty();
}

// Whether a change of rows can be swapped with the rows there now.
bool Fits(const GridRows& rows, const RowsChange& change)
{
    const auto held = static_cast<qsizetype>(change.held.size());
    return change.first >= 1 && change.inPlace >= 0 && change.first + change.inPlace <= rows.rowCount() &&
           rows.rowCount() - change.inPlace + held <= MaxGridRowCount;
}

bool SameRows(const GridRows& a, const GridRows& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (int r = 0; r < a.rowCount(); ++r)
        if (a.row(r) != b.row(r))
            return false;
    return true;
}

// The same curves, named, coloured and holding the same rows.
bool SameCurves(const CurveDocument& a, const CurveDocument& b)
{
    if (!a.list().sameCurves(b.list()))
        return false;
    for (int i = 0; i < a.count(); ++i)
        if (!SameRows(a.curve(i).rows, b.curve(i).rows))
            return false;
    return true;
}

bool Fits(const GridRows& rows, const RowsReorder& reorder)
{
    return static_cast<int>(reorder.from.size()) == rows.dataRowCount();
}

// A reordered curve was there before the step and stays after it: a change
// of the list that deletes it keeps its rows instead.
bool Reorder(CurveDocument& curves, StepChanges& changes, bool forward)
{
    bool fits = true;
    const auto once = [&](std::pair<int, RowsReorder>& r) {
        const int index = curves.indexOf(r.first);
        if (index < 0 || !fits)
            return;
        curves.editRows(index, [&](GridRows& rows) {
            if (!(fits = Fits(rows, r.second)))
                return;
            forward ? RedoReorder(rows, r.second) : UndoReorder(rows, r.second);
        });
    };
    if (forward)
        std::for_each(changes.reorders.begin(), changes.reorders.end(), once);
    else
        std::for_each(changes.reorders.rbegin(), changes.reorders.rend(), once);
    return fits;
}

} // namespace

// The rows of a curve the step deleted are taken before it goes again,
// those of a curve it added put back once it is there again.
bool ApplyChanges(CurveDocument& curves, StepChanges& changes, bool forward)
{
    std::vector<bool> swapped(changes.rows.size(), false);
    bool fits = true;
    const auto swapPresent = [&] {
        for (std::size_t i = 0; i < changes.rows.size() && fits; ++i) {
            const int index = curves.indexOf(changes.rows[i].first);
            if (swapped[i] || index < 0)
                continue;
            RowsChange& change = changes.rows[i].second;
            curves.editRows(index, [&](GridRows& r) {
                if ((fits = Fits(r, change)))
                    SwapRows(r, change);
            });
            swapped[i] = true;
        }
    };
    swapPresent();
    fits = fits && Reorder(curves, changes, forward);
    if (fits && changes.list) {
        curves.setList(forward ? changes.list->second : changes.list->first);
        swapPresent();
    }
    return fits;
}

// One step as the stack keeps it. It is pushed after its change is made, so
// the stack's first redo() has nothing to do.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, const QString& name) : QUndoCommand(name), history_(history) {}

    StepChanges changes;
    std::optional<std::pair<std::any, std::any>> side;

    bool empty() const { return changes.rows.empty() && changes.reorders.empty() && !changes.list && !side; }

    void undo() override { bringBack(false); }
    void redo() override
    {
        if (pushed_)
            bringBack(true);
        pushed_ = true;
    }

private:
    void bringBack(bool forward)
    {
        if (history_.takingUp_)
            return;
        CurveDocument& curves = history_.curves_;
        history_.restoring_ = true;
        ApplyChanges(curves, changes, forward);
        // The points taken back or done again are shown.
        const auto& rows = changes.rows;
        if (!changes.list && (!rows.empty() || !changes.reorders.empty()))
            curves.setCurrent(curves.indexOf(rows.empty() ? changes.reorders.front().first : rows.front().first));
        if (side && history_.side_)
            history_.side_->restore(forward ? side->second : side->first);
        history_.restoring_ = false;
    }

    EditHistory& history_;
    bool pushed_ = false;
};

EditHistory::EditHistory(CurveDocument& curves, SideState* side) : curves_(curves), side_(side)
{
    stack_.setUndoLimit(StepLimit);
    curves_.setRecorder(this);
}

EditHistory::~EditHistory()
{
    curves_.setRecorder(nullptr);
}

void EditHistory::begin(const QString& name)
{
    if (depth_++ > 0)
        return;
    name_ = name;
    listBefore_ = curves_.list();
    if (side_)
        sideBefore_ = side_->capture();
}

void EditHistory::begin(const QString& name, std::any sideBefore)
{
    const bool outermost = depth_ == 0;
    begin(name);
    if (outermost && side_)
        sideBefore_ = std::move(sideBefore);
}

void EditHistory::end()
{
    if (depth_ == 0 || --depth_ > 0)
        return;
    implicit_ = false;
    auto step = std::make_unique<Step>(*this, name_);
    for (auto& [id, before] : rowsBefore_) {
        const int index = curves_.indexOf(id);
        RowsChange change = RowsDifference(std::move(before), index >= 0 ? curves_.curve(index).rows : GridRows());
        if (!change.empty())
            step->changes.rows.emplace_back(id, std::move(change));
    }
    rowsBefore_.clear();
    step->changes.reorders = std::move(reorders_);
    reorders_.clear();
    CurveList listAfter = curves_.list();
    if (!listAfter.sameCurves(listBefore_))
        step->changes.list.emplace(std::move(listBefore_), std::move(listAfter));
    if (side_) {
        std::any sideAfter = side_->capture();
        if (!side_->same(sideBefore_, sideAfter))
            step->side.emplace(std::move(sideBefore_), std::move(sideAfter));
    }
    sideBefore_.reset();
    if (!step->empty())
        stack_.push(step.release());
}

void EditHistory::clear()
{
    stack_.clear();
}

HistoryRecord EditHistory::record() const
{
    HistoryRecord record;
    record.index = stack_.index();
    for (int i = 0; i < stack_.count(); ++i) {
        const auto* step = static_cast<const Step*>(stack_.command(i));
        HistoryRecord::Step kept{step->text(), step->changes, std::nullopt};
        if (step->side && side_)
            kept.side.emplace(side_->encode(step->side->first), side_->encode(step->side->second));
        record.steps.push_back(std::move(kept));
    }
    return record;
}

bool EditHistory::takeUp(HistoryRecord record)
{
    const int count = static_cast<int>(record.steps.size());
    if (inStep() || count > StepLimit || record.index < 0 || record.index > count)
        return false;
    std::vector<std::optional<std::pair<std::any, std::any>>> sides;
    for (const HistoryRecord::Step& step : record.steps) {
        sides.emplace_back();
        if (!step.side)
            continue;
        if (!side_)
            return false;
        std::optional<std::any> before = side_->decode(step.side->first), after = side_->decode(step.side->second);
        if (!before || !after)
            return false;
        sides.back().emplace(std::move(*before), std::move(*after));
    }
    // Every step undone and done again on a copy: what a file holds may
    // belong to other curves. Each step is applied twice, so it ends as it came.
    CurveDocument trial = curves_;
    for (int i = record.index - 1; i >= 0; --i)
        if (!ApplyChanges(trial, record.steps[std::size_t(i)].changes, false))
            return false;
    for (int i = 0; i < count; ++i)
        if (!ApplyChanges(trial, record.steps[std::size_t(i)].changes, true))
            return false;
    for (int i = count - 1; i >= record.index; --i)
        if (!ApplyChanges(trial, record.steps[std::size_t(i)].changes, false))
            return false;
    if (!SameCurves(trial, curves_))
        return false;

    stack_.clear();
    takingUp_ = true;
    for (int i = 0; i < count; ++i) {
        HistoryRecord::Step& kept = record.steps[std::size_t(i)];
        auto step = std::make_unique<Step>(*this, kept.name);
        step->changes = std::move(kept.changes);
        step->side = std::move(sides[std::size_t(i)]);
        stack_.push(step.release());
    }
    stack_.setIndex(record.index);
    takingUp_ = false;
    return true;
}

void EditHistory::openImplicitStep()
{
    if (depth_ == 0 && !restoring_) {
        begin(QStringLiteral("Edit"));
        implicit_ = true;
    }
}

void EditHistory::beforeRows(const Curve& curve)
{
    if (restoring_)
        return;
    openImplicitStep();
    keepRowsBeforeReorders(curve.id);
    rowsBefore_.try_emplace(curve.id, curve.rows);
}

void EditHistory::reordered(const Curve& curve, RowsReorder reorder)
{
    if (restoring_)
        return;
    openImplicitStep();
    if (rowsBefore_.count(curve.id) || NothingMoved(reorder))
        return;
    reorders_.emplace_back(curve.id, std::move(reorder));
}

void EditHistory::keepRowsBeforeReorders(int id)
{
    const auto of = [id](const auto& r) { return r.first == id; };
    const int index = curves_.indexOf(id);
    if (index >= 0 && std::any_of(reorders_.begin(), reorders_.end(), of)) {
        GridRows before = curves_.curve(index).rows;
        for (auto r = reorders_.rbegin(); r != reorders_.rend(); ++r)
            if (r->first == id)
                UndoReorder(before, r->second);
        rowsBefore_.try_emplace(id, std::move(before));
    }
    std::erase_if(reorders_, of);
}

void EditHistory::beforeList()
{
    if (restoring_)
        return;
    openImplicitStep();
    while (!reorders_.empty())
        keepRowsBeforeReorders(reorders_.front().first);
}

void EditHistory::afterChange()
{
    if (implicit_ && depth_ == 1)
        end();
}

} // namespace tracella
