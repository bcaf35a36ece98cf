#include "app/widgets/ProjectCommands.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "calibration/AxesRecord.h"
#include "data/ProjectStorage.h"
#include "data/GridEditing.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "options/widgets/PointerCursor.h"
#include "picture/PictureJob.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureSurface.h"
#include "picture/widgets/PictureWait.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace tracella {
namespace {

const QString ProjectTitle = QStringLiteral("Project");
const QString ProjectFilter = QStringLiteral("Tracella Projects (*.tracella)|*.tracella|All Files (*.*)|*.*");

// What the opened project held that this build does not know, written back
// on save.
Project& Unknowns()
{
    static Project unknowns;
    return unknowns;
}

PictureSurface* Surface()
{
    return app().document ? app().document->surface() : nullptr;
}

void Refuse(const QString& text)
{
    ShowMessage(text, ProjectTitle, MessageIcon::Exclamation);
}

std::optional<LoadedPicture> DecodeProjectPicture(const ProjectPicture& picture)
{
    const QByteArray bytes = picture.bytes;
    const QByteArray hint =
        picture.source == PictureSource::File ? QFileInfo(picture.fileName).suffix().toLower().toLatin1() : "png";
    const auto job = PictureJob::start([bytes, hint](DecodeProgress& progress) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return DecodePicture(buffer, hint, MaxPictureSide, &progress);
    });
    return AwaitPicture(*job);
}

// Points that would be lost: asked about before they are replaced.
bool MayReplaceWork()
{
    if (app().history.stack().isClean() || !app().curves.anyPoints())
        return true;
    return ShowMessage(QStringLiteral("The points collected on this picture have changes that are in no project.\r\n"
                                      "Replace them anyway?"),
                       ProjectTitle, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool SaveProjectTo(const QString& path)
{
    const PictureSurface* surface = Surface();
    if (!surface || !surface->hasPicture()) {
        Refuse(QStringLiteral("There is no picture to keep in a project."));
        return false;
    }
    if (const auto error = SaveProjectFile(path, CurrentProject())) {
        Refuse(QStringLiteral("The project was not saved.\r\n\r\n%1").arg(error->description));
        return false;
    }
    app().projectFileName = path;
    app().history.stack().setClean();
    return true;
}

void SaveProjectAsCommand()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Project As");
    request.filter = ProjectFilter;
    request.defaultExtension = QStringLiteral("tracella");
    const QString picture = app().pictureOrigin.fileName;
    request.fileName = !app().projectFileName.isEmpty() ? app().projectFileName
                       : picture.isEmpty()             ? QString()
                                                       : QFileInfo(picture).completeBaseName() + ".tracella";
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (chosen && !chosen->fileName.isEmpty())
        SaveProjectTo(chosen->fileName);
}

void SaveProjectCommand()
{
    if (app().projectFileName.isEmpty())
        SaveProjectAsCommand();
    else
        SaveProjectTo(app().projectFileName);
}

void OpenProjectCommand()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open Project");
    request.filter = ProjectFilter;
    request.fileMustExist = true;
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (chosen && !chosen->fileName.isEmpty())
        OpenProjectFile(chosen->fileName);
}

// The next figure of a series: its calibration and curves are this one's,
// without the points, which one Undo brings back.
void ImportKeepingScaleCommand()
{
    PictureSurface* surface = Surface();
    if (!surface)
        return;
    AppState kept = appState();
    std::optional<AffineCalibration> affine;
    if (const AffineCalibration* a = activeCalibration().affine())
        affine = *a;
    const qint64 before = surface->picture().image.cacheKey();
    RunCommand(QStringLiteral("mnuPictureImport"));
    if (surface->picture().image.cacheKey() == before || !surface->hasPicture())
        return; // nothing imported: nothing else changes
    const UndoStep step(QStringLiteral("Import Keeping Scale"));
    if (affine)
        kept.setFrame(PixelFrame(surface->pictureSize()));
    app().calibrationState.adopt(kept, std::move(affine));
    DataForm().changeCurves([](CurveDocument& curves) {
        for (int i = 0; i < curves.count(); ++i)
            curves.editRows(i, RemoveAllRows);
    });
}

} // namespace

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool IsProjectFileName(const QString& path)
{
    return path.endsWith(QStringLiteral(".tracella"), Qt::CaseInsensitive);
}

Project CurrentProject()
{
    Project p = Unknowns();
    ProjectPicture& origin = app().pictureOrigin;
    const PictureSurface* surface = Surface();
    if (origin.bytes.isEmpty() && surface && surface->hasPicture()) {
        origin.bytes = PngBytes(surface->picture().image);
        if (origin.source == PictureSource::File)
            origin.source = PictureSource::Png;
    }
    p.picture = origin;
    p.state = appState();
    if (const AffineCalibration* affine = activeCalibration().affine())
        p.axes = RecordOfAxes(*affine);
    CurveDocument& curves = app().curves;
    // The current curve's data file is the window's until it is left.
    curves.setDataFile(curves.currentIndex(), appState().DataFileName, curves.current().layout);
    p.curves = ProjectCurvesOf(curves);
    p.current = curves.currentIndex();
    const CurveList list = curves.list();
    p.numbering = CurveNumbering{list.nextId, list.added};
    p.history = app().history.record();
    p.zoom = surface ? surface->zoom().factor() : 1.0;
    return p;
}

bool OpenProjectFile(const QString& path)
{
    if (!MayReplaceWork())
        return false;
    std::variant<Project, QString> read = ReadProjectFile(path);
    if (const auto* problem = std::get_if<QString>(&read)) {
        Refuse(*problem);
        return false;
    }
    if (!OpenProject(std::get<Project>(std::move(read)), path))
        return false;
    app().projectFileName = path;
    return true;
}

bool OpenProject(Project project, const QString& title)
{
    std::optional<AffineCalibration> affine;
    if (project.axes && !(affine = AxesOfRecord(*project.axes))) {
        Refuse(QStringLiteral("The project %1 cannot be opened: its calibration by axes is damaged.").arg(title));
        return false;
    }
    CurveDocument curves;
    if (const auto problem = RestoreCurves(curves, project.curves, project.current, project.numbering)) {
        Refuse(QStringLiteral("The project %1 cannot be opened.\r\n\r\n%2").arg(title, *problem));
        return false;
    }
    std::optional<LoadedPicture> loaded = DecodeProjectPicture(project.picture);
    if (!loaded)
        return false; // given up: the document stays
    if (loaded->error) {
        Refuse(QStringLiteral("The picture of the project %1 cannot be read.\r\n\r\n%2")
                   .arg(title, loaded->error->description));
        return false;
    }
    PictureSurface* surface = Surface();
    if (!surface)
        return false;

    ResetDocument();
    surface->setPicture(std::move(loaded->picture));
    if (app().main) {
        app().main->setDataMenuEnabled(true);
        app().main->statusPanels()->setPanelText(2, project.picture.fileName.isEmpty() ? title
                                                                                      : project.picture.fileName);
    }
    app().calibrationState.adopt(project.state, std::move(affine));
    surface->setCursor(PointerCursor(appState().PointerIndex));
    DataForm().changeCurves([&](CurveDocument& document) { document = std::move(curves); });
    app().document->Form_Resize();
    app().document->zoomView(ViewZoom(project.zoom));
    app().pictureOrigin = std::move(project.picture);
    Unknowns() = Project{};
    Unknowns().unknown = project.unknown;
    Unknowns().unknownPicture = project.unknownPicture;
    Unknowns().unknownCalibration = project.unknownCalibration;
    Unknowns().unknownSettings = project.unknownSettings;
    app().history.clear();
    const bool historyKept = !project.history || app().history.takeUp(std::move(*project.history));
    app().history.stack().setClean();
    if (project.historyUnreadable || !historyKept)
        ShowMessage(QStringLiteral("The undo history kept with %1 is damaged and was left out: the points and the "
                                   "calibration are open, with nothing to undo.")
                        .arg(title),
                    ProjectTitle, MessageIcon::Information);
    return true;
}

void RegisterProjectCommands()
{
    CommandRouter& c = app().commands;
    c.add(QStringLiteral("mnuFileOpenProject"), OpenProjectCommand);
    c.add(QStringLiteral("mnuFileSaveProject"), SaveProjectCommand);
    c.add(QStringLiteral("mnuFileSaveProjectAs"), SaveProjectAsCommand);
    c.add(QStringLiteral("mnuPictureImportKeepingScale"), ImportKeepingScaleCommand);
}

} // namespace tracella
