#pragma once

#include "data/CurveDocument.h"
#include "data/HistoryRecord.h"

#include <QString>
#include <QUndoStack>

#include <any>
#include <functional>
#include <map>
#include <optional>

namespace tracella {

// What a step may change beside the curves (the settings and the
// calibration), kept and brought back by its owner.
class SideState {
public:
    virtual ~SideState() = default;
    virtual std::any capture() const = 0;
    virtual bool same(const std::any& a, const std::any& b) const = 0;
    virtual void restore(const std::any& state) = 0;
    // As a history file keeps it; decode gives nothing for a value it
    // cannot take.
    virtual QCborValue encode(const std::any& state) const = 0;
    virtual std::optional<std::any> decode(const QCborValue& value) const = 0;
};

// The undo history of a document: every change of its curves, and of the
// side state, falls into a named step that can be taken back and done
// again. A step keeps only what changed: the rows that differ, and the curve
// list or side state only when the step changed them.
class EditHistory : private CurveEditRecorder {
public:
    static constexpr int StepLimit = 1000;

    explicit EditHistory(CurveDocument& curves, SideState* side = nullptr);
    ~EditHistory() override;
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Steps may nest: what happens until the outermost end() is one step,
    // named by the outermost begin(). A change made outside any step is a
    // step of its own, named "Edit".
    void begin(const QString& name);
    // The same for a step whose side state began to change before it did
    // (the Scale begins when scale mode is entered): undone, it gives that back.
    void begin(const QString& name, std::any sideBefore);
    void end();
    bool inStep() const { return depth_ > 0; }

    // Undo and redo as a QUndoStack: names, limits, and whether anything
    // changed since the stack was last marked clean.
    QUndoStack& stack() { return stack_; }
    // Nothing happens while a step is open: it was begun on what is there now.
    void undo()
    {
        if (!inStep())
            stack_.undo();
    }
    void redo()
    {
        if (!inStep())
            stack_.redo();
    }
    // Forgets every step, as when another picture starts afresh.
    void clear();

    // The steps as values, and back: a record is taken up only when undoing
    // and redoing every step fits the curves as they are now (its side
    // states decoded); otherwise nothing changes and the answer is false.
    HistoryRecord record() const;
    bool takeUp(HistoryRecord record);

private:
    class Step;
    friend class Step;

    void beforeRows(const Curve& curve) override;
    void reordered(const Curve& curve, RowsReorder reorder) override;
    void beforeList() override;
    void afterChange() override;
    void openImplicitStep();
    // The rows a curve had before its reorders in this step, kept as any
    // other change from here on.
    void keepRowsBeforeReorders(int id);

    CurveDocument& curves_;
    SideState* side_;
    QUndoStack stack_;
    int depth_ = 0;
    bool implicit_ = false;
    bool restoring_ = false;
    bool takingUp_ = false; // steps pushed as they stand: nothing to bring back
    QString name_;
    std::map<int, GridRows> rowsBefore_; // by curve id
    // Reorders of curves with no rows kept, in order.
    std::vector<std::pair<int, RowsReorder>> reorders_;
    CurveList listBefore_;
    std::any sideBefore_;
};

// Runs one step of the history for as long as it lives.
class HistoryStep {
public:
    HistoryStep(EditHistory& history, const QString& name) : history_(history) { history_.begin(name); }
    HistoryStep(EditHistory& history, const QString& name, std::any sideBefore) : history_(history)
    {
        history_.begin(name, std::move(sideBefore));
    }
    ~HistoryStep() { history_.end(); }
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;

private:
    EditHistory& history_;
};

} // namespace tracella
