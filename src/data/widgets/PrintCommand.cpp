#include "data/GridPrinting.h"
#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"

#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QTableView>

#include <cmath>

namespace tracella {
namespace {

constexpr int TwipsPerInch = 1440;
constexpr int ScreenTwipsPerPixel = 15;

// The grid as its window shows it, measured in twips.
GridPrintView PrintViewOf(const DataWindow& data)
{
    const QTableView* view = data.gridView();
    GridPrintView grid;
    for (int c = 0; c < GridColumnCount; ++c)
        grid.columnWidths.push_back(view->columnWidth(c) * ScreenTwipsPerPixel);
    const int rows = data.grid().rowCount();
    grid.rowHeights.reserve(static_cast<std::size_t>(rows));
    // A fixed header row stands in the view's header.
    grid.rowHeights.push_back((data.headerFixed() ? view->horizontalHeader()->height() : view->rowHeight(0)) *
                              ScreenTwipsPerPixel);
    for (int r = 1; r < rows; ++r)
        grid.rowHeights.push_back(view->rowHeight(r) * ScreenTwipsPerPixel);
    grid.fixedRows = data.headerFixed() ? 1 : 0;
    grid.topRow = std::max(data.topRow(), grid.fixedRows);
    grid.leftColumn = std::max(view->columnAt(0), 0);
    grid.width = view->width() * ScreenTwipsPerPixel;
    grid.height = view->height() * ScreenTwipsPerPixel;
    grid.border = view->frameShape() != QFrame::NoFrame;
    grid.gridLines = view->showGrid();
    return grid;
}

int TwipsPerPrinterPixel(int dpi)
{
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(TwipsPerInch) / dpi)));
}

std::optional<AppError> PrintGridOn(QPrinter& printer, DataWindow& data, MainWindow& main)
{
    const GridPrintView grid = PrintViewOf(data);
    QProgressBar* bar = main.progressBar();
    bar->setRange(0, grid.rowCount() * grid.columnCount() + 1);
    bar->setValue(0);
    main.setProgressBarVisible(true);

    QPainter painter;
    if (!painter.begin(&printer)) {
        main.setProgressBarVisible(false);
        return AppError{ErrorNumber::NoPrinter, QStringLiteral("The printer could not start the print job.")};
    }
    painter.scale(static_cast<double>(printer.logicalDpiX()) / TwipsPerInch,
                  static_cast<double>(printer.logicalDpiY()) / TwipsPerInch);
    // The printer's own font, sized in twips (20 to the point).
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(std::lround(QFontInfo(font).pointSizeF() * 20)));
    painter.setFont(font);

    const GridModel& model = data.grid();
    int lastRow = -1;
    int lastColumn = -1;
    PrintGrid(painter, grid, TwipsPerPrinterPixel(printer.logicalDpiX()), TwipsPerPrinterPixel(printer.logicalDpiY()),
              {[&model](int r, int c) { return model.cell(r, c); },
               [&](int r, int c) {
                   lastRow = r;
                   lastColumn = c;
               },
               [bar](int counter) { bar->setValue(counter); }});
    main.setProgressBarVisible(false);
    // Ending the job sends the page to the printer.
    const bool sent = painter.end();
    if (lastRow >= 0)
        data.setCurrentCell(lastRow, lastColumn);
    if (!sent)
        return AppError{ErrorNumber::NoPrinter, QStringLiteral("The printer did not accept the page.")};
    if (const std::optional<QString> refused = services().printers->refusal(printer))
        return AppError{ErrorNumber::NoPrinter, QStringLiteral("The print job was refused: ") + *refused};
    return std::nullopt;
}

void PrintCommand()
{
    if (ShowMessage(QStringLiteral("Would you like to print the data in the table?"), QStringLiteral("Print"),
                    MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    MainWindow& main = *app().main;
    std::unique_ptr<QPrinter> printer = services().printers->defaultPrinter();
    std::optional<AppError> error =
        printer ? PrintGridOn(*printer, DataForm(), main)
                : AppError{ErrorNumber::NoPrinter, QStringLiteral("There is no printer to print on.")};
    if (error) {
        main.setProgressBarVisible(false);
        ShowUnexpectedError(*error);
    }
}

} // namespace

void RegisterPrintCommand()
{
    app().commands.add(QStringLiteral("mnuFilePrint"), PrintCommand);
}

} // namespace tracella
