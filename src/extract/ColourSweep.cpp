#include "extract/ColourSweep.h"

#include "extract/PictureColours.h"
#include "extract/SingleArithmetic.h"
#include "extract/SweepProgress.h"

#include <algorithm>
#include <vector>

namespace tracella {
namespace {

struct SweepSteps {
    float column;
    float row;
};

// A count of 0 gives an infinite step (only the first column or row); a
// negative count points the step away from the far edge (none at all).
SweepSteps StepsOf(const SweepSettings& s)
{
    return {ToSingle((s.frame.right - s.frame.left) / s.columns), ToSingle((s.frame.bottom - s.frame.top) / s.rows)};
}

// Positions start, start + step, ... while they have not passed end: up to
// end for a step that is not negative, down to it for a negative step; end
// itself is visited when the additions reach it exactly. A step that no
// longer moves the position (zero, or below the precision of T there) ends
// the walk rather than repeating the same position for ever.
template <typename T>
class AxisWalk {
public:
    AxisWalk(T start, T end, T step) : m_position(start), m_end(end), m_step(step) {}

    bool valid() const { return !m_stuck && (m_step < 0 ? m_position >= m_end : m_position <= m_end); }
    T position() const { return m_position; }
    void next()
    {
        const T next = m_position + m_step;
        m_stuck = next == m_position;
        m_position = next;
    }

private:
    T m_position;
    T m_end;
    T m_step;
    bool m_stuck = false;
};

// Columns advance in double precision, rows in single.
using ColumnWalk = AxisWalk<double>;
using RowWalk = AxisWalk<float>;

class Sweep {
public:
    Sweep(const QImage& picture, const SweepSettings& settings, const SweepHandlers& handlers,
          const SweepLimits& limits)
        : m_colours(picture, settings.frame, settings.backdrop), m_settings(settings), m_handlers(handlers),
          m_limits(limits), m_steps(StepsOf(settings)), m_progress(SweepProgressMaximum(settings), handlers.progress)
    {
    }

    SweepResult run();

private:
    static constexpr std::int64_t NoMatch = -1;

    RowWalk rows() const
    {
        return {ToSingle(m_settings.frame.top), ToSingle(m_settings.frame.bottom), m_steps.row};
    }

    std::int64_t rowsPerColumn() const;
    void takeBand(ColumnWalk& columns, std::size_t width);
    void mapRows(RowWalk& rows, std::int64_t count);
    void findMatchingRows();
    void noteMatch(std::size_t column, std::int64_t row)
    {
        if (m_firstMatch[column] == NoMatch)
            m_firstMatch[column] = row;
        m_lastMatch[column] = row;
    }
    bool matchesAt(std::size_t column, std::int64_t row) const
    {
        const int pixelColumn = m_pixelColumns[column];
        const int pixelRow = m_pixelRows[static_cast<std::size_t>(row)];
        return pixelColumn >= 0 && pixelRow >= 0 &&
               ColourMatches(PackedColour(m_colours.Row(pixelRow)[pixelColumn]), m_settings.dataColour);
    }
    bool reportTile(std::int64_t firstRow);

    PictureColours m_colours;
    const SweepSettings& m_settings;
    const SweepHandlers& m_handlers;
    const SweepLimits& m_limits;
    const SweepSteps m_steps;
    SweepProgress m_progress;
    std::int64_t m_rowsPerColumn = 0;

    // The rows of the tile being read.
    std::vector<float> m_rowYs;
    std::vector<int> m_pixelRows;

    // The band of columns being read; the columns inside the picture are
    // listed apart so that the reading loop needs no test for outside.
    std::vector<double> m_columnXs;
    std::vector<int> m_pixelColumns;
    std::vector<std::uint32_t> m_insideColumns;
    std::vector<int> m_insidePixels;
    // The first and last matching row of each column in the tile.
    std::vector<std::int64_t> m_firstMatch;
    std::vector<std::int64_t> m_lastMatch;
    std::int64_t m_samplesBeforeBand = 0;

    SweepResult m_result;
};

std::int64_t Sweep::rowsPerColumn() const
{
    std::int64_t count = 0;
    for (RowWalk walk = rows(); walk.valid(); walk.next())
        ++count;
    return count;
}

SweepResult Sweep::run()
{
    m_rowsPerColumn = rowsPerColumn();
    if (m_rowsPerColumn == 0)
        return m_result;
    const std::int64_t tileRows = std::max<std::int64_t>(m_limits.tileRows, 1);
    const bool wholeColumns = m_rowsPerColumn <= tileRows;
    const std::size_t width = wholeColumns ? static_cast<std::size_t>(std::max(m_limits.bandColumns, 1)) : 1;
    if (wholeColumns) {
        RowWalk walk = rows();
        mapRows(walk, m_rowsPerColumn);
    }

    ColumnWalk columns(m_settings.frame.left, m_settings.frame.right, m_steps.column);
    while (columns.valid()) {
        takeBand(columns, width);
        RowWalk walk = rows();
        for (std::int64_t first = 0; first < m_rowsPerColumn; first += tileRows) {
            if (!wholeColumns)
                mapRows(walk, std::min(tileRows, m_rowsPerColumn - first));
            findMatchingRows();
            if (!reportTile(first))
                return m_result;
        }
        m_samplesBeforeBand += static_cast<std::int64_t>(m_columnXs.size()) * m_rowsPerColumn;
    }
    return m_result;
}

void Sweep::takeBand(ColumnWalk& columns, std::size_t width)
{
    m_columnXs.clear();
    m_pixelColumns.clear();
    m_insideColumns.clear();
    m_insidePixels.clear();
    for (; columns.valid() && m_columnXs.size() < width; columns.next()) {
        const auto column = static_cast<std::uint32_t>(m_columnXs.size());
        const int pixel = m_colours.PixelColumn(ToSingle(columns.position()));
        m_columnXs.push_back(columns.position());
        m_pixelColumns.push_back(pixel);
        if (pixel >= 0) {
            m_insideColumns.push_back(column);
            m_insidePixels.push_back(pixel);
        }
    }
    m_firstMatch.resize(m_columnXs.size());
    m_lastMatch.resize(m_columnXs.size());
}

void Sweep::mapRows(RowWalk& rows, std::int64_t count)
{
    m_rowYs.clear();
    m_pixelRows.clear();
    for (std::int64_t row = 0; row < count; ++row, rows.next()) {
        m_rowYs.push_back(rows.position());
        m_pixelRows.push_back(m_colours.PixelRow(rows.position()));
    }
}

void Sweep::findMatchingRows()
{
    std::fill(m_firstMatch.begin(), m_firstMatch.end(), NoMatch);
    const Colour wanted = m_settings.dataColour;
    const std::size_t insideCount = m_insideColumns.size();
    const std::uint32_t* insideColumns = m_insideColumns.data();
    const int* insidePixels = m_insidePixels.data();
    for (std::size_t r = 0; r < m_pixelRows.size(); ++r) {
        const auto row = static_cast<std::int64_t>(r);
        const int pixelRow = m_pixelRows[r];
        if (pixelRow < 0)
            continue;
        const std::uint32_t* line = m_colours.Row(pixelRow);
        for (std::size_t i = 0; i < insideCount; ++i) {
            if (ColourMatches(PackedColour(line[insidePixels[i]]), wanted)) [[unlikely]]
                noteMatch(insideColumns[i], row);
        }
    }
}

// Reads the matching stretch of each column again and reports its matches
// in the sweep's order, moving the progress bar to where it stands at each
// of them; false once the handler stops the sweep.
bool Sweep::reportTile(std::int64_t firstRow)
{
    const auto tileRows = static_cast<std::int64_t>(m_pixelRows.size());
    for (std::size_t c = 0; c < m_columnXs.size(); ++c) {
        const std::int64_t tileStart =
            m_samplesBeforeBand + static_cast<std::int64_t>(c) * m_rowsPerColumn + firstRow;
        if (m_firstMatch[c] != NoMatch) {
            for (std::int64_t row = m_firstMatch[c]; row <= m_lastMatch[c]; ++row) {
                if (!matchesAt(c, row))
                    continue;
                m_progress.advanceTo(tileStart + row);
                if (m_handlers.match(m_columnXs[c], m_rowYs[static_cast<std::size_t>(row)]) == SweepAnswer::Stop) {
                    m_result.stopped = true;
                    return false;
                }
                ++m_result.found;
            }
        }
        m_progress.advanceTo(tileStart + tileRows);
    }
    return true;
}

} // namespace

SweepSettings SweepSettingsOf(const AppState& state)
{
    return {state.frame(), state.ARCols, state.ARRows, state.ARDataColor};
}

double SweepProgressMaximum(const SweepSettings& settings)
{
    const SweepSteps steps = StepsOf(settings);
    const Frame& f = settings.frame;
    return ToSingle(static_cast<double>(settings.rows) * settings.columns + (f.right - f.left) / steps.column +
                    (f.bottom - f.top) / steps.row);
}

SweepResult SweepColours(const QImage& picture, const SweepSettings& settings, const SweepHandlers& handlers,
                         const SweepLimits& limits)
{
    return Sweep(picture, settings, handlers, limits).run();
}

} // namespace tracella
