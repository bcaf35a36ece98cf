// The undo history goes into the project file with the work: opened again,
// every step is taken back and done again as it was before it was saved,
// and a history that does not belong to the curves it comes with is left out.
#include "data/EditHistory.h"
#include "data/GridEditing.h"
#include "data/HistoryCbor.h"
#include "data/ProjectFile.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tracella;

namespace {

// A side state of one number: what the settings are to the program's history.
class Number : public SideState {
public:
    int value = 0;
    std::any capture() const override { return value; }
    bool same(const std::any& a, const std::any& b) const override
    {
        return std::any_cast<int>(a) == std::any_cast<int>(b);
    }
    void restore(const std::any& s) override { value = std::any_cast<int>(s); }
    QCborValue encode(const std::any& s) const override { return std::any_cast<int>(s); }
    std::optional<std::any> decode(const QCborValue& v) const override
    {
        return v.isInteger() ? std::optional<std::any>(int(v.toInteger())) : std::nullopt;
    }
};

// The curves as the user sees them, and the number.
QString Shot(const CurveDocument& d, const Number& n)
{
    QString shot = QString::number(n.value);
    for (int i = 0; i < d.count(); ++i) {
        const Curve& c = d.curve(i);
        shot += QStringLiteral("|%1#%2:%3").arg(c.id).arg(c.name).arg(c.colour.value_or(0));
        for (int r = 1; r < c.rows.rowCount(); ++r)
            shot += QStringLiteral(";%1,%2,%3").arg(c.rows.cell(r, 0), c.rows.cell(r, 1), c.rows.cell(r, 2));
    }
    return shot;
}

void Click(CurveDocument& d, const char* x, const char* y)
{
    ASSERT_FALSE(d.appendRow({QString::number(d.rows().rowCount()), QString::fromLatin1(x), QString::fromLatin1(y)}));
}

// A document and its history after one step of every kind, the last two undone.
struct Work {
    CurveDocument curves;
    Number number;
    EditHistory history{curves, &number};

    Work()
    {
        const auto step = [&](const char* name, const std::function<void()>& change) {
            const HistoryStep s(history, QString::fromLatin1(name));
            change();
        };
        step("Points", [&] {
            for (const char* x : {" 3.5", " .25", "-1", "1E+03"})
                Click(curves, x, " 2");
        });
        step("Sort", [&] {
            curves.reorderRows([](GridRows& rows) {
                RowsReorder record;
                SortGridRows(rows, SortKey::X, record);
                return record;
            });
        });
        step("Add Curve", [&] { ASSERT_FALSE(curves.add(QStringLiteral("Second"))); });
        step("Point", [&] { Click(curves, "7", "8"); });
        step("Options", [&] { number.value = 5; });
        step("Delete Curve", [&] { ASSERT_FALSE(curves.remove(0)); });
        step("Remove All Values", [&] { curves.editRows(RemoveAllRows); });
        history.undo();
        history.undo();
    }
};

// Every state the history leads to, from the first step undone to the last done.
std::vector<QString> Walk(EditHistory& history, const CurveDocument& d, const Number& n)
{
    std::vector<QString> shots;
    while (history.stack().canUndo())
        history.undo();
    shots.push_back(Shot(d, n));
    while (history.stack().canRedo()) {
        shots.push_back(history.stack().undoText() + QStringLiteral(" > ") + history.stack().redoText());
        history.redo();
        shots.push_back(Shot(d, n));
    }
    return shots;
}

HistoryRecord ThroughBytes(const HistoryRecord& record)
{
    const auto back = HistoryFromCbor(QCborValue::fromCbor(HistoryAsCbor(record).toCbor()));
    EXPECT_TRUE(back);
    return back.value_or(HistoryRecord{});
}

} // namespace

TEST(ProjectHistory, StepsTakenUpAgainUndoAndRedoAsBefore)
{
    Work work;
    // What the project keeps of the curves: their rows, names and ids.
    CurveDocument opened;
    const CurveList list = work.curves.list();
    ASSERT_FALSE(RestoreCurves(opened, ProjectCurvesOf(work.curves), work.curves.currentIndex(),
                               CurveNumbering{list.nextId, list.added}));
    Number number;
    number.value = work.number.value;
    EditHistory history(opened, &number);
    ASSERT_TRUE(history.takeUp(ThroughBytes(work.history.record())));

    EXPECT_EQ(Shot(opened, number), Shot(work.curves, work.number));
    EXPECT_EQ(history.stack().index(), 5);
    EXPECT_EQ(history.stack().redoText(), QStringLiteral("Delete Curve"));
    EXPECT_EQ(Walk(history, opened, number), Walk(work.history, work.curves, work.number));
}

// A history is taken up only whole and only on the curves it was made on;
// what no history can be is refused as it is read. Either way nothing changes.
TEST(ProjectHistory, AHistoryThatDoesNotFitIsLeftOut)
{
    const struct {
        const char* name;
        std::function<void(HistoryRecord&)> damage;
        bool readable;
    } cases[] = {
        {"rows beyond the grid", [](HistoryRecord& r) { r.steps[0].changes.rows[0].second.first = 40; }, true},
        {"a reorder of another row count",
         [](HistoryRecord& r) { r.steps[1].changes.reorders[0].second = RowsReorder{{0}, {1}, {}, {}}; }, true},
        {"another text", [](HistoryRecord& r) { r.steps[0].changes.rows[0].second.held.push_back({"9", "9", "9"}); },
         true},
        {"a side state it cannot read", [](HistoryRecord& r) { r.steps[4].side->first = QStringLiteral("x"); }, true},
        {"an index beyond the steps", [](HistoryRecord& r) { r.index = 8; }, false},
        {"rows before the first", [](HistoryRecord& r) { r.steps[0].changes.rows[0].second.first = 0; }, false},
        {"a sort that is no permutation",
         [](HistoryRecord& r) { r.steps[1].changes.reorders[0].second.from = {0, 0, 1, 2}; }, false},
        {"one id for two curves",
         [](HistoryRecord& r) {
             auto& entries = r.steps[2].changes.list->second.entries;
             entries[1].id = entries[0].id;
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Work work;
        HistoryRecord record = work.history.record();
        c.damage(record);
        auto read = HistoryFromCbor(QCborValue::fromCbor(HistoryAsCbor(record).toCbor()));
        ASSERT_EQ(read.has_value(), c.readable);
        if (!read)
            continue;
        CurveDocument other = work.curves;
        Number number;
        EditHistory history(other, &number);
        {
            const HistoryStep step(history, QStringLiteral("Point"));
            Click(other, "1", "1");
        }
        const QString before = Shot(other, number);
        EXPECT_FALSE(history.takeUp(std::move(*read)));
        EXPECT_EQ(Shot(other, number), before);
        EXPECT_EQ(history.stack().count(), 1);
        EXPECT_EQ(history.stack().undoText(), QStringLiteral("Point"));
    }
}

// The project keeps how its curves are numbered, which its history refers
// to; ids that cannot be the document's are not kept.
TEST(ProjectHistory, CurveIdsAreKeptWhenEachIsItsOwn)
{
    Work work;
    Project p;
    p.picture.bytes = "png";
    p.curves = ProjectCurvesOf(work.curves);
    p.numbering = CurveNumbering{2, 1};
    p.history = work.history.record();
    const auto read = DecodeProject(EncodeProject(p));
    ASSERT_TRUE(std::holds_alternative<Project>(read));
    const Project& back = std::get<Project>(read);
    ASSERT_TRUE(back.numbering && back.history);
    EXPECT_EQ(back.numbering->nextId, 2);
    EXPECT_EQ(back.curves[1].id, 1);
    EXPECT_EQ(back.history->steps.size(), 7u);

    p.curves.push_back(p.curves[0]);
    p.curves.back().name = QStringLiteral("Third");
    const auto twice = DecodeProject(EncodeProject(p));
    ASSERT_TRUE(std::holds_alternative<Project>(twice));
    EXPECT_FALSE(std::get<Project>(twice).numbering) << "one id for two curves";
}
