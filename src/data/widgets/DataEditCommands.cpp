#include "data/GridEditing.h"
#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"

#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"

namespace tracella {
namespace {

void Refresh()
{
    RunCommand(QStringLiteral("mnuViewRefresh"));
}

bool AskEditData(const QString& question)
{
    return ShowMessage(question, QStringLiteral("Edit Data"), MessageIcon::Question, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
}

// The active child counts as the data window by its caption ("Data Points").
bool DataWindowActive()
{
    const QWidget* active = app().main ? app().main->activeChildForm() : nullptr;
    return active && active->windowTitle().left(3).toLower() == QStringLiteral("dat");
}

void FixHeaderWhenLong(DataWindow& data)
{
    if (data.grid().rowCount() > 2)
        data.setHeaderFixed(true);
}

void SortCommand(bool onX)
{
    DataWindow& data = DataForm();
    data.setSortOnX(onX);
    data.sortRows();
}

void RemoveRepeatedCommand()
{
    DataWindow& data = DataForm();
    const SortKey key = data.sortOnX() ? SortKey::X : SortKey::Y;
    {
        BusyPointer busy(Qt::BusyCursor);
        data.grid().replaceRows([key](GridRows& rows) { RemoveRepeatedRows(rows, key); });
    }
    FixHeaderWhenLong(data);
    Refresh();
}

// Asks only when the data window is active: Esc on the picture removes the
// last point at once.
void RemoveSelectedCommand()
{
    DataWindow& data = DataForm();
    data.setHeaderFixed(false);
    const CellBlock block = data.selectedBlock();
    if (!DataWindowActive() || AskEditData(QStringLiteral("Delete selected rows from the data grid?"))) {
        GridModel& grid = data.grid();
        const RowRange range = SelectedDataRows(grid.rows(), block.row, block.rowSel);
        grid.removeDataRows(range.first, range.count);
        grid.rewriteTexts(RenumberPoints);
    }
    FixHeaderWhenLong(data);
    Refresh();
}

void RemoveAllCommand()
{
    if (!AskEditData(QStringLiteral("Delete all the rows from the data grid?")))
        return;
    DataWindow& data = DataForm();
    data.setHeaderFixed(false);
    data.grid().removeDataRows(1, data.grid().rowCount() - 1);
    Refresh();
}

} // namespace

void RegisterDataEditCommands()
{
    CommandRouter& c = app().commands;
    c.add(QStringLiteral("mnuDataSortX"), [] { SortCommand(true); });
    c.add(QStringLiteral("mnuDataSortY"), [] { SortCommand(false); });
    c.add(QStringLiteral("mnuDataRemoveRepeated"), RemoveRepeatedCommand);
    c.add(QStringLiteral("mnuDataRemoveSelected"), RemoveSelectedCommand);
    c.add(QStringLiteral("mnuDataRemoveAll"), RemoveAllCommand);
    // The grid's pop-up menu runs the same commands.
    const std::pair<const char*, const char*> popUps[] = {
        {"mnuPopUpCopy", "mnuDataCopy"},
        {"mnuPopUpRemove", "mnuDataRemoveSelected"},
        {"mnuPopUpRemoveAll", "mnuDataRemoveAll"},
        {"mnuPopUpRemoveRepeated", "mnuDataRemoveRepeated"},
        {"mnuPopUpSave", "mnuDataSave"},
        {"mnuPopUpSaveAs", "mnuDataSaveAs"},
    };
    for (const auto& [item, command] : popUps) {
        const QString target = QString::fromLatin1(command);
        c.add(QString::fromLatin1(item), [target] { RunCommand(target); });
    }
}

} // namespace tracella
