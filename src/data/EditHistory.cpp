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

} // namespace

// One step as the stack keeps it. It is pushed after its change is made, so
// the stack's first redo() has nothing to do.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, const QString& name) : QUndoCommand(name), history_(history) {}

    std::vector<std::pair<int, RowsChange>> rows; // by curve id
    std::vector<std::pair<int, RowsReorder>> reorders; // curves without rows kept, in order
    std::optional<std::pair<CurveList, CurveList>> list;
    std::optional<std::pair<std::any, std::any>> side;

    bool empty() const { return rows.empty() && reorders.empty() && !list && !side; }

    void undo() override { bringBack(false); }
    void redo() override
    {
        if (pushed_)
            bringBack(true);
        pushed_ = true;
    }

private:
    // The rows of a curve the step deleted are taken before it goes again,
    // those of a curve it added put back once it is there again.
    void bringBack(bool forward)
    {
        CurveDocument& curves = history_.curves_;
        history_.restoring_ = true;
        std::vector<bool> swapped(rows.size(), false);
        const auto swapPresent = [&] {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const int index = curves.indexOf(rows[i].first);
                if (swapped[i] || index < 0)
                    continue;
                RowsChange& change = rows[i].second;
                curves.editRows(index, [&change](GridRows& r) { SwapRows(r, change); });
                swapped[i] = true;
            }
        };
        swapPresent();
        reorder(forward);
        if (list) {
            curves.setList(forward ? list->second : list->first);
            swapPresent();
        }
        // The points taken back or done again are shown.
        if (!list && (!rows.empty() || !reorders.empty()))
            curves.setCurrent(curves.indexOf(rows.empty() ? reorders.front().first : rows.front().first));
        if (side && history_.side_)
            history_.side_->restore(forward ? side->second : side->first);
        history_.restoring_ = false;
    }

    // A reordered curve was there before the step and stays after it: a
    // change of the list that deletes it keeps its rows instead.
    void reorder(bool forward)
    {
        CurveDocument& curves = history_.curves_;
        const auto once = [&](std::pair<int, RowsReorder>& r) {
            const int index = curves.indexOf(r.first);
            if (index >= 0)
                curves.editRows(index, [&](GridRows& rows) {
                    forward ? RedoReorder(rows, r.second) : UndoReorder(rows, r.second);
                });
        };
        if (forward)
            std::for_each(reorders.begin(), reorders.end(), once);
        else
            std::for_each(reorders.rbegin(), reorders.rend(), once);
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
            step->rows.emplace_back(id, std::move(change));
    }
    rowsBefore_.clear();
    step->reorders = std::move(reorders_);
    reorders_.clear();
    CurveList listAfter = curves_.list();
    if (!listAfter.sameCurves(listBefore_))
        step->list.emplace(std::move(listBefore_), std::move(listAfter));
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
