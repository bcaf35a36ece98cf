#include "data/GridPrinting.h"

#include <QPainter>

namespace tracella {

namespace {

// Rows (or columns) after the fixed ones but above the first one shown
// are skipped.
int SkipHidden(int index, int fixed, int firstShown)
{
    return index >= fixed && index < firstShown ? firstShown : index;
}

} // namespace

void PrintGrid(QPainter& painter, const GridPrintView& grid, int px, int py, const GridPrintCallbacks& callbacks)
{
    int x0 = 0;
    int y0 = 0;
    if (grid.border) {
        painter.drawRect(QRectF(0, 0, grid.width - px, grid.height - py));
        x0 += px;
        y0 += py;
    }

    int counter = 0;
    int x = x0;
    int y = y0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        c = SkipHidden(c, grid.fixedColumns, grid.leftColumn);
        if (c >= grid.columnCount() || x + grid.columnWidths[c] >= grid.width)
            break;
        y = y0;
        for (int r = 0; r < grid.rowCount(); ++r) {
            callbacks.progress(++counter);
            r = SkipHidden(r, grid.fixedRows, grid.topRow);
            if (r >= grid.rowCount() || y + grid.rowHeights[r] >= grid.height)
                break;
            callbacks.printing(r, c);
            painter.drawText(QRectF(x + 2 * px, y + py, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             callbacks.cellText(r, c));
            y += grid.rowHeights[r] + (grid.gridLines ? py : 0);
        }
        x += grid.columnWidths[c] + (grid.gridLines ? px : 0);
    }

    if (!grid.gridLines)
        return;
    int xx = x0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        c = SkipHidden(c, grid.fixedColumns, grid.leftColumn);
        if (c >= grid.columnCount())
            break;
        xx += grid.columnWidths[c];
        if (xx >= grid.width)
            break;
        painter.drawLine(xx, y0, xx, y0 + y - py);
        xx += px;
    }
    int yy = y0;
    for (int r = 0; r < grid.rowCount(); ++r) {
        r = SkipHidden(r, grid.fixedRows, grid.topRow);
        if (r >= grid.rowCount())
            break;
        yy += grid.rowHeights[r];
        if (yy >= grid.height)
            break;
        painter.drawLine(x0, yy, x0 + x - px, yy);
        yy += py;
    }
}

} // namespace tracella
