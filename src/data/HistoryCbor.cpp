#include "data/HistoryCbor.h"

#include "data/EditHistory.h"
#include "data/ProjectFile.h"

#include <QCborArray>
#include <QCborMap>

#include <algorithm>
#include <climits>
#include <set>

namespace tracella {
namespace {

QString Key(const char* key)
{
    return QString::fromLatin1(key);
}

QCborArray RowsArray(const std::vector<GridRow>& rows)
{
    QCborArray out;
    for (const GridRow& row : rows)
        out.append(QCborArray{row[0], row[1], row[2]});
    return out;
}

QCborMap ListMap(const CurveList& list)
{
    QCborArray entries;
    for (const CurveEntry& e : list.entries) {
        QCborMap m{{Key("id"), e.id}, {Key("name"), e.name}, {Key("dataFile"), e.dataFileName},
                   {Key("layout"), Key(LayoutName(e.layout))}};
        if (e.colour)
            m.insert(Key("colour"), static_cast<qint64>(*e.colour));
        entries.append(m);
    }
    return {{Key("curves"), entries},
            {Key("current"), list.current},
            {Key("nextId"), list.nextId},
            {Key("added"), list.added}};
}

QCborMap StepMap(const HistoryRecord::Step& step)
{
    QCborMap m{{Key("name"), step.name}};
    QCborArray rows;
    for (const auto& [id, change] : step.changes.rows)
        rows.append(QCborMap{{Key("curve"), id},
                             {Key("first"), change.first},
                             {Key("inPlace"), change.inPlace},
                             {Key("held"), RowsArray(change.held)}});
    QCborArray reorders;
    for (const auto& [id, reorder] : step.changes.reorders) {
        QCborArray from, columns, written;
        for (int f : reorder.from)
            from.append(f);
        for (int c : reorder.columns)
            columns.append(c);
        for (const auto& [place, text] : reorder.written)
            written.append(QCborArray{static_cast<qint64>(place), text});
        const QByteArray mends(reinterpret_cast<const char*>(reorder.mends.data()),
                               static_cast<qsizetype>(reorder.mends.size()));
        reorders.append(QCborMap{{Key("curve"), id},
                                 {Key("from"), from},
                                 {Key("columns"), columns},
                                 {Key("mends"), mends},
                                 {Key("written"), written}});
    }
    if (!rows.isEmpty())
        m.insert(Key("rows"), rows);
    if (!reorders.isEmpty())
        m.insert(Key("reorders"), reorders);
    if (step.changes.list)
        m.insert(Key("list"), QCborArray{ListMap(step.changes.list->first), ListMap(step.changes.list->second)});
    if (step.side)
        m.insert(Key("side"), QCborArray{step.side->first, step.side->second});
    return m;
}

// A non-negative integer up to limit, or -1.
qint64 Count(const QCborValue& v, qint64 limit)
{
    return v.isInteger() && v.toInteger() >= 0 && v.toInteger() <= limit ? v.toInteger() : -1;
}

std::optional<std::vector<GridRow>> ReadRows(const QCborValue& value)
{
    const QCborArray rows = value.toArray();
    if (!value.isArray() || rows.size() > MaxGridRowCount)
        return std::nullopt;
    std::vector<GridRow> out;
    out.reserve(static_cast<std::size_t>(rows.size()));
    for (const QCborValue& row : rows) {
        const QCborArray cells = row.toArray();
        if (cells.size() != GridColumnCount)
            return std::nullopt;
        GridRow r;
        for (int c = 0; c < GridColumnCount; ++c) {
            if (!cells.at(c).isString())
                return std::nullopt;
            r[std::size_t(c)] = cells.at(c).toString();
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::optional<RowsChange> ReadChange(const QCborMap& m)
{
    RowsChange change;
    const qint64 first = Count(m.value(Key("first")), MaxGridRowCount);
    const qint64 inPlace = Count(m.value(Key("inPlace")), MaxGridRowCount);
    auto held = ReadRows(m.value(Key("held")));
    if (first < 1 || inPlace < 0 || !held)
        return std::nullopt;
    change.first = static_cast<int>(first);
    change.inPlace = static_cast<int>(inPlace);
    change.held = std::move(*held);
    return change;
}

std::optional<std::vector<int>> ReadInts(const QCborValue& value, qint64 limit)
{
    std::vector<int> out;
    for (const QCborValue& v : value.toArray()) {
        const qint64 n = Count(v, limit);
        if (n < 0)
            return std::nullopt;
        out.push_back(static_cast<int>(n));
    }
    return out;
}

std::optional<RowsReorder> ReadReorder(const QCborMap& m)
{
    RowsReorder r;
    auto from = ReadInts(m.value(Key("from")), MaxGridRowCount - 2);
    auto columns = ReadInts(m.value(Key("columns")), GridColumnCount - 1);
    if (!from || !columns || from->size() > std::size_t(MaxGridRowCount - 1) || columns->empty())
        return std::nullopt;
    std::vector<bool> seen(from->size(), false);
    for (int f : *from) {
        if (std::size_t(f) >= seen.size() || seen[std::size_t(f)])
            return std::nullopt; // not a permutation
        seen[std::size_t(f)] = true;
    }
    if (std::set<int>(columns->begin(), columns->end()).size() != columns->size())
        return std::nullopt;
    r.from = std::move(*from);
    r.columns = std::move(*columns);
    const QByteArray mends = m.value(Key("mends")).toByteArray();
    if (!mends.isEmpty() && std::size_t(mends.size()) != r.from.size() * r.columns.size())
        return std::nullopt;
    r.mends.assign(mends.begin(), mends.end());
    for (const QCborValue& w : m.value(Key("written")).toArray()) {
        const QCborArray pair = w.toArray();
        const qint64 place = Count(pair.at(0), static_cast<qint64>(r.mends.size()) - 1);
        if (place < 0 || !pair.at(1).isString())
            return std::nullopt;
        r.written.emplace_back(std::size_t(place), pair.at(1).toString());
    }
    return r;
}

std::optional<CurveList> ReadList(const QCborValue& value)
{
    const QCborMap m = value.toMap();
    const QCborArray entries = m.value(Key("curves")).toArray();
    if (entries.isEmpty() || entries.size() > CurveDocument::MaxCurveCount)
        return std::nullopt;
    CurveList list;
    list.nextId = static_cast<int>(Count(m.value(Key("nextId")), INT_MAX));
    list.added = static_cast<int>(Count(m.value(Key("added")), INT_MAX));
    list.current = static_cast<int>(Count(m.value(Key("current")), entries.size() - 1));
    if (list.nextId < 0 || list.added < 0 || list.current < 0)
        return std::nullopt;
    std::set<int> ids;
    for (const QCborValue& v : entries) {
        const QCborMap e = v.toMap();
        CurveEntry entry;
        entry.id = static_cast<int>(Count(e.value(Key("id")), list.nextId - 1));
        if (entry.id < 0 || !ids.insert(entry.id).second || !e.value(Key("name")).isString())
            return std::nullopt;
        entry.name = e.value(Key("name")).toString();
        if (e.value(Key("colour")).isInteger())
            entry.colour = static_cast<Colour>(e.value(Key("colour")).toInteger() & 0xFFFFFF);
        entry.dataFileName = e.value(Key("dataFile")).toString();
        entry.layout = LayoutOfName(e.value(Key("layout")).toString());
        list.entries.push_back(std::move(entry));
    }
    return list;
}

std::optional<HistoryRecord::Step> ReadStep(const QCborValue& value)
{
    const QCborMap m = value.toMap();
    if (!m.value(Key("name")).isString())
        return std::nullopt;
    HistoryRecord::Step step;
    step.name = m.value(Key("name")).toString();
    for (const QCborValue& r : m.value(Key("rows")).toArray()) {
        const qint64 id = Count(r.toMap().value(Key("curve")), INT_MAX);
        auto change = ReadChange(r.toMap());
        if (id < 0 || !change)
            return std::nullopt;
        step.changes.rows.emplace_back(static_cast<int>(id), std::move(*change));
    }
    for (const QCborValue& r : m.value(Key("reorders")).toArray()) {
        const qint64 id = Count(r.toMap().value(Key("curve")), INT_MAX);
        auto reorder = ReadReorder(r.toMap());
        if (id < 0 || !reorder)
            return std::nullopt;
        step.changes.reorders.emplace_back(static_cast<int>(id), std::move(*reorder));
    }
    if (m.contains(Key("list"))) {
        const QCborArray pair = m.value(Key("list")).toArray();
        auto before = ReadList(pair.at(0)), after = ReadList(pair.at(1));
        if (!before || !after)
            return std::nullopt;
        step.changes.list.emplace(std::move(*before), std::move(*after));
    }
    if (m.contains(Key("side"))) {
        const QCborArray pair = m.value(Key("side")).toArray();
        if (pair.size() != 2)
            return std::nullopt;
        step.side.emplace(pair.at(0), pair.at(1));
    }
    return step;
}

} // namespace

QCborValue HistoryAsCbor(const HistoryRecord& history)
{
    QCborArray steps;
    for (const HistoryRecord::Step& step : history.steps)
        steps.append(StepMap(step));
    return QCborMap{{Key("index"), history.index}, {Key("steps"), steps}};
}

std::optional<HistoryRecord> HistoryFromCbor(const QCborValue& value)
{
    const QCborMap m = value.toMap();
    const QCborArray steps = m.value(Key("steps")).toArray();
    if (!value.isMap() || steps.size() > EditHistory::StepLimit)
        return std::nullopt;
    HistoryRecord history;
    history.index = static_cast<int>(Count(m.value(Key("index")), steps.size()));
    if (history.index < 0)
        return std::nullopt;
    for (const QCborValue& s : steps) {
        auto step = ReadStep(s);
        if (!step)
            return std::nullopt;
        history.steps.push_back(std::move(*step));
    }
    return history;
}

} // namespace tracella
