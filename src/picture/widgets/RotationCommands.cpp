#include "picture/widgets/RotationCommands.h"

#include "app/core/NumberReading.h"
#include "app/core/TempPicture.h"
#include "app/services/Services.h"
#include "app/services/SharedDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/UnexpectedError.h"
#include "data/DataFileWriting.h"
#include "picture/PictureLoader.h"
#include "picture/PixelRotation.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSaving.h"
#include "picture/widgets/PictureSurface.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <new>

namespace tracella {
namespace {

const QString DefaultPictureExtension = QStringLiteral(".bmp");

PictureSurface* documentSurface()
{
    return app().document ? app().document->surface() : nullptr;
}

void focusPicture()
{
    if (PictureSurface* surface = documentSurface())
        surface->setFocus();
}

Picture documentPicture()
{
    const PictureSurface* surface = documentSurface();
    return surface ? surface->picture() : Picture{};
}

void showAsDocumentPicture(Picture picture)
{
    if (!app().document)
        return; // the program closed while the picture was being made
    app().document->surface()->setPicture(std::move(picture));
    app().document->Form_Resize();
    // Turned, the picture is no longer the file's: a project keeps it as PNG.
    app().pictureOrigin.source = PictureSource::Png;
    app().pictureOrigin.bytes.clear();
}

// The angle in degrees, strictly between 0 and 360, or 0 when the user
// gives up (0, nothing typed, Cancel).
double askForAngle()
{
    for (;;) {
        const double angle = LeadingNumber(services().input->ask(
            QStringLiteral("Please type a value between 0 and 360"), QStringLiteral("Degrees to rotate the picture"),
            QString()));
        if (angle == 0)
            return 0;
        if (angle > 0 && angle < 360)
            return angle;
        ShowMessage(QStringLiteral("Select an angle greater than 0 and less than 360 degrees"),
                    QStringLiteral("Angle Error"), MessageIcon::Information);
    }
}

// The save dialog adds the default extension to a name typed without one;
// a name chosen through another road gets it here.
QString withDefaultExtension(const QString& name)
{
    const QFileInfo info(name);
    if (info.fileName().contains(QChar(u'.')) || info.isDir())
        return name;
    return name + DefaultPictureExtension;
}

void reportOutOfMemory()
{
    ShowUnexpectedError({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
}

} // namespace

void RotateDocumentPicture()
{
    // The rotation lets events run; a click on "Rotate" meanwhile is ignored.
    static bool rotating = false;
    if (rotating)
        return;
    const QScopedValueRollback<bool> busyRotating(rotating, true);

    focusPicture();
    const double angle = askForAngle();
    if (angle == 0)
        return;
    try {
        const BusyPointer busy(Qt::WaitCursor);
        const Picture before = documentPicture();
        if (const std::optional<AppError> error = WritePictureFile(TempPicturePath(), before)) {
            ShowUnexpectedError(*error);
            return;
        }
        QImage rotated = RotatedPicture(before.image, angle, DefaultCanvasBackground,
                                        [] { QCoreApplication::processEvents(); });
        showAsDocumentPicture({std::move(rotated), PictureKind::Bitmap, {}});
    } catch (const std::bad_alloc&) {
        reportOutOfMemory();
    }
}

void UndoRotate()
{
    focusPicture();
    try {
        LoadedPicture loaded = LoadPictureFile(TempPicturePath());
        if (!loaded.error)
            showAsDocumentPicture(std::move(loaded.picture));
    } catch (const std::bad_alloc&) {
        // Like every other failure to read the file: nothing happens.
    }
}

void SaveDocumentPicture()
{
    focusPicture();
    const Picture picture = documentPicture();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = SavePictureFilter(picture.kind);
    request.filterIndex = 1;
    request.defaultExtension = DefaultPictureExtension;
    SharedDialogFileName().clear();
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (!chosen || chosen->fileName.isEmpty())
        return;
    const QString name = withDefaultExtension(chosen->fileName);
    SharedDialogFileName() = name;
    if (FileExists(name) &&
        ShowMessage(name + QStringLiteral(" exists. Do you want to overwrite it?"), QStringLiteral("File Exists"),
                    MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        SharedDialogFileName().clear();
        return;
    }
    try {
        std::optional<AppError> error;
        {
            const BusyPointer busy;
            error = WritePictureFile(name, picture);
        }
        if (error)
            ShowUnexpectedError(*error);
    } catch (const std::bad_alloc&) {
        reportOutOfMemory();
    }
}

void RegisterRotationCommands()
{
    CommandRouter& commands = app().commands;
    commands.add(QStringLiteral("RotateDocumentPicture"), &RotateDocumentPicture);
    commands.add(QStringLiteral("UndoRotate"), &UndoRotate);
    commands.add(QStringLiteral("SaveDocumentPicture"), &SaveDocumentPicture);
}

} // namespace tracella
