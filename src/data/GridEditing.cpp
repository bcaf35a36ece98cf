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
    std::size_t row = 0;
};

std::size_t KeyColumn(SortKey key) { return key == SortKey::X ? 1 : 2; }
std::size_t OtherColumn(SortKey key) { return key == SortKey::X ? 2 : 1; }

// Rewrites a text as the sort writes it back and gives the value it reads
// as. Most texts are nearly in that form already and are mended in place:
// reading and formatting tens of thousands of numbers in full would cost
// far more than the sort.
double WritePlainForm(QString& text)
{
    // A date of a date axis keeps its text and sorts by its time.
    if (const auto date = ParseIsoDate(text))
        return date->seconds;
    if (const std::optional<double> mended = RewriteInPlainForm(text)) {
        return *mended;
    }
    const double value = LeadingNumber(text);
    text = PlainNumberText(value);
    return value;
}

// Gives place i the texts of row order[i].row, following each cycle of the
// permutation so that no texts are copied.
void PlaceSortedTexts(std::span<GridRow> data, std::vector<KeyedRow>& order, std::size_t keyColumn,
                      std::size_t otherColumn)
{
    constexpr std::size_t Placed = std::numeric_limits<std::size_t>::max();
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start].row == Placed) {
            continue;
        }
        QString key = std::move(data[start][keyColumn]);
        QString other = std::move(data[start][otherColumn]);
        std::size_t place = start;
        for (;;) {
            const std::size_t from = std::exchange(order[place].row, Placed);
            if (from == start) {
                data[place][keyColumn] = std::move(key);
                data[place][otherColumn] = std::move(other);
                break;
            }
            data[place][keyColumn] = std::move(data[from][keyColumn]);
            data[place][otherColumn] = std::move(data[from][otherColumn]);
            place = from;
        }
    }
}

} // namespace

void SortGridRows(GridRows& rows, SortKey key)
{
    const std::size_t keyColumn = KeyColumn(key);
    const std::size_t otherColumn = OtherColumn(key);
    const std::span<GridRow> data = rows.dataRows();

    std::vector<KeyedRow> order;
    order.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        order.push_back({WritePlainForm(data[i][keyColumn]), i});
        WritePlainForm(data[i][otherColumn]);
    }
    // Equal keys keep their order, as a straight insertion would leave them.
    std::stable_sort(order.begin(), order.end(), [](const KeyedRow& a, const KeyedRow& b) { return a.key < b.key; });
    // Column 0 stays, so the points take the numbers of their new rows.
    PlaceSortedTexts(data, order, keyColumn, otherColumn);
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
