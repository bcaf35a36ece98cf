#include "data/CurveExport.h"
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

using FileWrite = std::optional<AppError> (*)(const QString&, const QByteArray&);

// Each curve has its own data file and the layout chosen in the dialog that
// last set it; Save without a dialog writes in it. DataFileName is the
// current curve's.
void SetDataFile(int curve, const QString& fileName, DataFileLayout layout)
{
    CurveDocument& curves = app().curves;
    curves.setDataFile(curve, fileName, layout);
    if (curve == curves.currentIndex())
        appState().DataFileName = fileName;
}

// The save dialog shared by Save As and Append to, titled with the curve's
// name when more than one could be meant. False when cancelled, which
// leaves the curve no data file.
bool ChooseDataFile(bool emptyName, int curve)
{
    if (emptyName)
        SharedDialogFileName().clear();
    const CurveDocument& curves = app().curves;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    if (curves.count() > 1)
        request.title = QStringLiteral("Save Data of ") + curves.curve(curve).name;
    request.filter = DataFileFilter;
    request.filterIndex = DefaultDataFileFilterIndex;
    request.fileName = SharedDialogFileName();
    request.defaultExtension = QStringLiteral(".dat");
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (!chosen || chosen->fileName.isEmpty()) {
        SetDataFile(curve, QString(), curves.curve(curve).layout);
        return false;
    }
    SharedDialogFileName() = chosen->fileName;
    SetDataFile(curve, chosen->fileName, LayoutForFilterIndex(chosen->filterIndex));
    return true;
}

bool ChooseDataFile(bool emptyName)
{
    return ChooseDataFile(emptyName, app().curves.currentIndex());
}

// DataFileName is the current curve's file, whoever set it last.
QString DataFileOf(int curve)
{
    const CurveDocument& curves = app().curves;
    return curve == curves.currentIndex() ? appState().DataFileName : curves.curve(curve).dataFileName;
}

std::optional<AppError> WriteCurve(FileWrite write, int index)
{
    const Curve& curve = app().curves.curve(index);
    return write(DataFileOf(index), DataFileBytes(curve.rows, curve.layout));
}

std::optional<AppError> WriteGrid(FileWrite write)
{
    return write(appState().DataFileName, DataFileBytes(DataForm().grid().rows(), app().curves.current().layout));
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

// False, the curve left without a data file, when the user will not
// overwrite the file chosen.
bool MayOverwrite(int curve)
{
    const QString fileName = DataFileOf(curve);
    if (FileExists(fileName) &&
        ShowMessage(fileName + QStringLiteral(" exists. Do you want to overwrite it?"), QStringLiteral("File Exists"),
                    MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        SetDataFile(curve, QString(), app().curves.curve(curve).layout);
        return false;
    }
    return true;
}

void SaveAsCommand()
{
    if (!ChooseDataFile(true) || !MayOverwrite(app().curves.currentIndex()))
        return;
    WriteBusy(WriteDataFile);
}

// The close of the data window: every curve holding points to its own
// file, a name asked for each that has none. The first error ends it.
void SaveEveryCurveCommand()
{
    for (int i = 0; i < app().curves.count(); ++i) {
        if (app().curves.curve(i).rows.dataRowCount() == 0)
            continue;
        if (DataFileOf(i).isEmpty() && (!ChooseDataFile(true, i) || !MayOverwrite(i)))
            continue;
        std::optional<AppError> error;
        {
            BusyPointer busy(Qt::BusyCursor);
            error = WriteCurve(WriteDataFile, i);
        }
        if (error) {
            ShowUnexpectedError(*error);
            return;
        }
    }
    Report(std::nullopt);
}

// Every curve in one go, in the layout of the dialog's filter. Written one
// file after another, each whole or not at all.
void SaveAllCurvesCommand()
{
    const CurveDocument& curves = app().curves;
    if (!curves.anyPoints()) {
        ShowMessage(QStringLiteral("Every curve is empty: there are no points to save."),
                    QStringLiteral("Save All Curves"), MessageIcon::Information);
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save All Curves");
    request.filter = CurveExportFilter;
    request.defaultExtension = QStringLiteral(".csv");
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (!chosen || chosen->fileName.isEmpty())
        return;
    const std::vector<CurveFile> files =
        CurveExportFiles(curves, chosen->fileName, CurveExportLayoutForFilterIndex(chosen->filterIndex));
    QStringList existing;
    for (const CurveFile& file : files) {
        if (FileExists(file.path))
            existing << file.path;
    }
    if (!existing.isEmpty() &&
        ShowMessage(existing.join(QStringLiteral("\r\n")) +
                        (existing.size() == 1 ? QStringLiteral(" exists. Do you want to overwrite it?")
                                              : QStringLiteral("\r\nexist. Do you want to overwrite them?")),
                    QStringLiteral("File Exists"), MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No)
        return;
    std::optional<AppError> error;
    {
        BusyPointer busy(Qt::BusyCursor);
        for (const CurveFile& file : files) {
            if ((error = WriteDataFile(file.path, file.bytes)))
                break;
        }
    }
    if (error)
        ShowUnexpectedError(*error);
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
    c.add(QStringLiteral("mnuDataSaveAllCurves"), SaveAllCurvesCommand);
    c.add(QStringLiteral("SaveEveryCurve"), SaveEveryCurveCommand);
}

} // namespace tracella
