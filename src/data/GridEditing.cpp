#include "data/GridEditing.h"

#include "app/core/IsoDate.h"
#include "app/core/NumberReading.h"
#include "data/PlainNumberForm.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tracella {

namespace {

// A row's place in the sort: its key and where it stood.
struct KeyedRow {
    double key = 0;
    int row = 0;
};

int KeyColumn(SortKey key) { return key == SortKey::X ? 1 : 2; }
int OtherColumn(SortKey key) { return key == SortKey::X ? 2 : 1; }

// Rewrites a text as the sort writes it back and gives the value it reads
// as. Most texts are nearly in that form already and are mended in place:
// reading and formatting tens of thousands of numbers in full would cost
// far more than the sort. What was changed goes to `record` when given, at
// `place`.
double WritePlainForm(QString& text, RowsReorder* record, std::size_t place, std::size_t places)
{
    // A date of a date axis keeps its text and sorts by its time.
    if (const auto date = ParseIsoDate(text))
        return date->seconds;
    const auto note = [&](std::uint8_t how) {
        if (record->mends.empty())
            record->mends.resize(places);
        record->mends[place] = how;
    };
    PlainMend mend;
    if (const std::optional<double> mended = RewriteInPlainForm(text, &mend)) {
        if (record && (mend.blankRemoved || mend.zeroInserted))
            note(std::uint8_t((mend.blankRemoved ? RowsReorder::BlankRemoved : 0) |
                              (mend.zeroInserted ? RowsReorder::ZeroInserted : 0) |
                              (mend.negative ? RowsReorder::Negative : 0)));
        return *mended;
    }
    const double value = LeadingNumber(text);
    QString written = PlainNumberText(value);
    if (written == text)
        return value;
    if (record) {
        note(RowsReorder::WrittenAnew);
        record->written.emplace_back(place, std::exchange(text, std::move(written)));
    } else {
        text = std::move(written);
    }
    return value;
}

void SortRows(GridRows& rows, SortKey key, RowsReorder* record)
{
    const int keyColumn = KeyColumn(key);
    const int otherColumn = OtherColumn(key);
    const std::span<GridRow> data = rows.dataRows();

    // The key column's texts, then the other's, as the record places them.
    const std::size_t places = data.size() * 2;
    std::vector<KeyedRow> order;
    order.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int row = static_cast<int>(i);
        order.push_back({WritePlainForm(data[i][std::size_t(keyColumn)], record, 2 * i, places), row});
        WritePlainForm(data[i][std::size_t(otherColumn)], record, 2 * i + 1, places);
    }
    // Equal keys keep their order, as a straight insertion would leave them.
    std::stable_sort(order.begin(), order.end(), [](const KeyedRow& a, const KeyedRow& b) { return a.key < b.key; });
    std::vector<int> from(order.size());
    std::transform(order.begin(), order.end(), from.begin(), [](const KeyedRow& k) { return k.row; });
    // Column 0 stays, so the points take the numbers of their new rows.
    std::vector<int> columns{keyColumn, otherColumn};
    PermuteTexts(rows, from, columns);
    if (record) {
        record->from = std::move(from);
        record->columns = std::move(columns);
    }
}

} // namespace

void SortGridRows(GridRows& rows, SortKey key)
{
    SortRows(rows, key, nullptr);
}

void SortGridRows(GridRows& rows, SortKey key, RowsReorder& record)
{
    SortRows(rows, key, &record);
}

double SinglePrecisionKey(double value)
{
    if (!std::isfinite(value) || std::fabs(value) <= std::numeric_limits<float>::max()) {
        return static_cast<float>(value);
    }
    int exponent = 0;
    const double significand = std::frexp(value, &exponent);
    return std::ldexp(static_cast<double>(static_cast<float>(significand)), exponent);
}

void RemoveRepeatedRows(GridRows& rows, SortKey key)
{
    SortGridRows(rows, key);

    const std::span<GridRow> data = rows.dataRows();
    const auto pointOf = [](const GridRow& row) {
        const auto read = [](const QString& cell) {
            const auto date = ParseIsoDate(cell);
            return date ? date->seconds : SinglePrecisionKey(LeadingNumber(cell));
        };
        return std::pair{read(row[1]), read(row[2])};
    };
    // One pass: each row is compared with the last one kept, which is the
    // neighbour it has once the rows between them are gone.
    std::size_t kept = 0;
    std::pair<double, double> lastKept;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto point = pointOf(data[i]);
        if (kept > 0 && point == lastKept) {
            continue;
        }
        if (i != kept) {
            data[kept] = std::move(data[i]);
        }
        lastKept = point;
        ++kept;
    }
    rows.truncate(static_cast<int>(kept) + 1);
    RenumberPoints(rows);
}

void RenumberPoints(GridRows& rows)
{
    for (int r = 1; r < rows.rowCount(); ++r) {
        rows.setCell(r, 0, QString::number(r));
    }
}

RowRange SelectedDataRows(const GridRows& rows, int firstSelected, int lastSelected)
{
    const int first = std::max(std::min(firstSelected, lastSelected), 1);
    const int last = std::min(std::max(firstSelected, lastSelected), rows.rowCount() - 1);
    return {first, std::max(last - first + 1, 0)};
}

void RemoveSelectedRows(GridRows& rows, int firstSelected, int lastSelected)
{
    const RowRange range = SelectedDataRows(rows, firstSelected, lastSelected);
    if (range.count > 0) {
        rows.removeRows(range.first, range.count);
    }
    RenumberPoints(rows);
}

void RemoveAllRows(GridRows& rows)
{
    rows.truncate(1);
}

} // namespace tracella
