#pragma once

#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace tracella {

// A grid as it shows in its window, in twips: all that printing it needs.
struct GridPrintView {
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    int fixedRows = 0;
    int fixedColumns = 0;
    int topRow = 0;     // the first row shown below the fixed rows
    int leftColumn = 0; // the first column shown right of the fixed columns
    int width = 0;
    int height = 0;
    bool border = false;
    bool gridLines = false;

    int rowCount() const { return static_cast<int>(rowHeights.size()); }
    int columnCount() const { return static_cast<int>(columnWidths.size()); }
};

struct GridPrintCallbacks {
    std::function<QString(int row, int column)> cellText;
    // Before a cell's text is printed; the grid makes that cell current.
    std::function<void(int row, int column)> printing;
    // The count of rows visited so far, up to rows x columns + 1.
    std::function<void(int counter)> progress;
};

// Prints what the grid's window shows on one page: rows and columns
// scrolled out of view or cut off at the grid's edges are left out. Each
// column and row is as large as on the screen or as the painter's font
// needs for its texts, whichever is larger, so no text runs into another;
// what then does not fit whole on the page is left out. The painter
// measures in twips from the top-left corner of the printable area; px and
// py are the printer's twips per pixel.
void PrintGrid(QPainter& painter, const GridPrintView& grid, int px, int py, const GridPrintCallbacks& callbacks);

} // namespace tracella
