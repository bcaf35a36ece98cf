#include "data/DataFileFormat.h"
#include "data/DataFileWriting.h"
#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/services/SharedDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"

namespace tracella {
namespace {

// The layout chosen in the dialog that last set DataFileName; Save without
// a dialog writes in it.
DataFileLayout rememberedLayout = DataFileLayout::Space;

using FileWrite = std::optional<AppError> (*)(const QString&, const QByteArray&);

// The save dialog shared by Save As and Append to. False when cancelled,
// which leaves no data file chosen.
bool ChooseDataFile(bool emptyName)
{
    if (emptyName)
        SharedDialogFileName().clear();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = DataFileFilter;
    request.filterIndex = DefaultDataFileFilterIndex;
    request.fileName = SharedDialogFileName();
    request.defaultExtension = QStringLiteral(".dat");
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    AppState& s = appState();
    if (!chosen || chosen->fileName.isEmpty()) {
        s.DataFileName.clear();
        return false;
    }
    SharedDialogFileName() = chosen->fileName;
    s.DataFileName = chosen->fileName;
    rememberedLayout = LayoutForFilterIndex(chosen->filterIndex);
    return true;
}

std::optional<AppError> WriteGrid(FileWrite write)
{
    return write(appState().DataFileName, DataFileBytes(DataForm().grid().rows(), rememberedLayout));
}

void Report(const std::optional<AppError>& error)
{
    if (error) {
        ShowUnexpectedError(*error);
        return;
    }
    if (app().main)
        app().main->statusPanels()->setPanelText(1, appState().DataFileName);
}

void WriteBusy(FileWrite write)
{
    std::optional<AppError> error;
    {
        BusyPointer busy(Qt::BusyCursor);
        error = WriteGrid(write);
    }
    Report(error);
}

void SaveAsCommand()
{
    if (!ChooseDataFile(true))
        return;
    AppState& s = appState();
    if (FileExists(s.DataFileName) &&
        ShowMessage(s.DataFileName + QStringLiteral(" exists. Do you want to overwrite it?"), QStringLiteral("File Exists"),
                    MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        s.DataFileName.clear();
        return;
    }
    WriteBusy(WriteDataFile);
}

void SaveCommand()
{
    if (appState().DataFileName.isEmpty()) {
        SaveAsCommand();
        return;
    }
    Report(WriteGrid(WriteDataFile));
}

// No overwrite question: an existing file grows, a missing one is made.
void AppendToCommand()
{
    if (ChooseDataFile(false))
        WriteBusy(AppendDataFile);
}

void CopyCommand()
{
    DataWindow& data = DataForm();
    const QString text = BlockText(data.grid().rows(), data.selectedBlock());
    services().clipboard->clear();
    services().clipboard->setText(text);
}

} // namespace

void RegisterDataFileCommands()
{
    CommandRouter& c = app().commands;
    c.add(QStringLiteral("mnuDataSave"), SaveCommand);
    c.add(QStringLiteral("mnuDataSaveAs"), SaveAsCommand);
    c.add(QStringLiteral("mnuDataAppendTo"), AppendToCommand);
    c.add(QStringLiteral("mnuDataCopy"), CopyCommand);
}

} // namespace tracella
