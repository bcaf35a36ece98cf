#include "data/GridPrinting.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tracella {

namespace {

// Rows (or columns) after the fixed ones but above the first one shown
// are skipped.
int SkipHidden(int index, int fixed, int firstShown)
{
    return index >= fixed && index < firstShown ? firstShown : index;
}

// The rows (or columns) the grid's window shows, each with its size as
// printed, which starts as its size on the screen.
struct Shown {
    std::vector<int> index;
    std::vector<int> size;
    int visits = 0; // loop steps, the one that reached the edge included
};

Shown ShownIn(const std::vector<int>& sizes, int fixed, int firstShown, int start, int limit, int line)
{
    Shown shown;
    int at = start;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
        ++shown.visits;
        i = SkipHidden(i, fixed, firstShown);
        if (i >= static_cast<int>(sizes.size()) || at + sizes[i] >= limit)
            break;
        shown.index.push_back(i);
        shown.size.push_back(sizes[i]);
        at += sizes[i] + line;
    }
    return shown;
}

// Keeps the leading entries that end before the page's edge; returns how
// much the kept ones grew beyond their screen sizes.
int FitOnPage(Shown& shown, const std::vector<int>& screenSizes, int start, int line, double page)
{
    int at = start;
    int grown = 0;
    std::size_t kept = 0;
    for (; kept < shown.index.size(); ++kept) {
        if (at + shown.size[kept] + line > page)
            break;
        at += shown.size[kept] + line;
        grown += shown.size[kept] - screenSizes[shown.index[kept]];
    }
    shown.index.resize(kept);
    shown.size.resize(kept);
    return grown;
}

int Ceil(double value)
{
    return static_cast<int>(std::ceil(value - 1e-9));
}

} // namespace

void PrintGrid(QPainter& painter, const GridPrintView& grid, int px, int py, const GridPrintCallbacks& callbacks)
{
    const int columnLine = grid.gridLines ? px : 0;
    const int rowLine = grid.gridLines ? py : 0;
    const int x0 = grid.border ? px : 0;
    const int y0 = grid.border ? py : 0;
    Shown columns = ShownIn(grid.columnWidths, grid.fixedColumns, grid.leftColumn, x0, grid.width, columnLine);
    Shown rows = ShownIn(grid.rowHeights, grid.fixedRows, grid.topRow, y0, grid.height, rowLine);

    // The printer's font is not the screen's: a column is as wide as its
    // widest text needs, with two pixels either side, and a row as high as
    // a line of text with a pixel above and below.
    const int lineHeight = Ceil(painter.fontMetrics().height()) + 2 * py;
    for (int& height : rows.size)
        height = std::max(height, lineHeight);
    for (std::size_t c = 0; c < columns.index.size(); ++c) {
        for (const int r : rows.index) {
            const QRectF box = painter.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                                                    callbacks.cellText(r, columns.index[c]));
            columns.size[c] = std::max(columns.size[c], Ceil(box.width()) + 4 * px);
        }
    }
    // What does not fit whole on the page is left out.
    const QRectF page = painter.transform().inverted().mapRect(
        QRectF(0, 0, painter.device()->width(), painter.device()->height()));
    const int width = grid.width + FitOnPage(columns, grid.columnWidths, x0, columnLine, page.width() - px);
    const int height = grid.height + FitOnPage(rows, grid.rowHeights, y0, rowLine, page.height() - py);

    if (grid.border)
        painter.drawRect(QRectF(0, 0, std::min<double>(width, page.width()) - px,
                                std::min<double>(height, page.height()) - py));

    int counter = 0;
    int x = x0;
    int y = y0;
    for (std::size_t c = 0; c < columns.index.size(); ++c) {
        y = y0;
        for (std::size_t r = 0; r < rows.index.size(); ++r) {
            callbacks.progress(++counter);
            callbacks.printing(rows.index[r], columns.index[c]);
            painter.drawText(QRectF(x + 2 * px, y + py, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             callbacks.cellText(rows.index[r], columns.index[c]));
            y += rows.size[r] + rowLine;
        }
        // The step that reached the grid's bottom edge counts too.
        counter += rows.visits - static_cast<int>(rows.index.size());
        callbacks.progress(counter);
        x += columns.size[c] + columnLine;
    }

    if (!grid.gridLines)
        return;
    int xx = x0;
    for (const int columnWidth : columns.size) {
        xx += columnWidth;
        painter.drawLine(xx, y0, xx, y0 + y - py);
        xx += px;
    }
    int yy = y0;
    for (const int rowHeight : rows.size) {
        yy += rowHeight;
        painter.drawLine(x0, yy, x0 + x - px, yy);
        yy += py;
    }
}

} // namespace tracella
