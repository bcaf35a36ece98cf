#include "picture/widgets/PictureCommands.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/services/SharedDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/ProjectCommands.h"
#include "app/widgets/UnexpectedError.h"
#include "picture/PictureJob.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PdfImport.h"
#include "picture/widgets/PictureSurface.h"
#include "picture/widgets/PictureWait.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <exception>
#include <new>

namespace tracella {
namespace {

void setPanel(int panel, const QString& text)
{
    if (app().main)
        app().main->statusPanels()->setPanelText(panel, text);
}

// The rest of a command that has just put a picture on the surface.
void pictureArrived(const QString& panel2)
{
    if (app().main)
        app().main->setDataMenuEnabled(true);
    if (app().document)
        app().document->Form_Resize();
    setPanel(2, panel2);
}

// Runs a command body; whatever escapes is the unexpected-error message.
template <typename Body>
void guarded(Body body)
{
    try {
        body();
    } catch (const std::bad_alloc&) {
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception& e) {
        ShowUnexpectedError({ErrorNumber::InvalidArgument, QString::fromLocal8Bit(e.what())});
    }
}

void openPdf(const QString& path);

// A decoded picture replaces the document: the reset, then the picture
// and what follows it.
void showPicture(Picture picture, const QString& panel2)
{
    ResetDocument();
    if (app().document)
        app().document->surface()->setPicture(std::move(picture));
    pictureArrived(panel2);
}

void openFile(const QString& path, std::shared_ptr<PictureJob> job)
{
    if (IsPdfFile(path)) {
        openPdf(path);
        return;
    }
    if (!job)
        job = PictureJob::loadFile(path);
    std::optional<LoadedPicture> loaded = AwaitPicture(*job);
    if (!loaded)
        return; // given up: the earlier document stays
    if (loaded->error) {
        ShowUnexpectedError(*loaded->error);
        return;
    }
    showPicture(std::move(loaded->picture), QFileInfo(path).absoluteFilePath());
    // A project keeps the file as it is; read again, it is in the system's cache.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        app().pictureOrigin = {PictureSource::File, QFileInfo(path).absoluteFilePath(), file.readAll(), 0, 0};
}

void importPicture()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.filter = PictureImportFilter;
    request.filterIndex = PictureImportFilterIndex;
    request.fileName = SharedDialogFileName();
    request.fileMustExist = true;
    const std::optional<FileDialogResult> chosen = services().files->run(request);
    if (!chosen || chosen->fileName.isEmpty())
        return;
    SharedDialogFileName() = chosen->fileName;
    openFile(chosen->fileName, nullptr);
}

void openPdf(const QString& path)
{
    PdfOpening opened = OpenPdfPage(path);
    if (opened.outcome == PdfOpening::Outcome::Cancelled)
        return;
    if (opened.outcome == PdfOpening::Outcome::Failed) {
        ShowUnexpectedError(opened.error);
        return;
    }
    showPicture(std::move(opened.picture),
                QStringLiteral("%1, page %2").arg(QFileInfo(path).absoluteFilePath()).arg(opened.pageNumber));
    app().pictureOrigin = {PictureSource::PdfPage, QFileInfo(path).absoluteFilePath(), {}, opened.pageNumber,
                           static_cast<double>(opened.dpi)};
}

// The clipboard's picture: decoded on a worker when another program offers
// a file's bytes; nullopt when that was given up or failed (said aloud).
std::optional<QImage> clipboardPicture()
{
    const QByteArray file = services().clipboard->imageFile();
    QImage image;
    if (!file.isEmpty()) {
        const auto job = PictureJob::start([file](DecodeProgress& progress) {
            QBuffer buffer;
            buffer.setData(file);
            buffer.open(QIODevice::ReadOnly);
            return DecodePicture(buffer, {}, MaxPictureSide, &progress);
        });
        std::optional<LoadedPicture> loaded = AwaitPicture(*job);
        if (!loaded)
            return std::nullopt;
        image = std::move(loaded->picture.image);
    } else {
        image = services().clipboard->image();
    }
    if (image.isNull() && services().clipboard->hasImage()) {
        ShowUnexpectedError({ErrorNumber::BadFileFormat,
                             QStringLiteral("Invalid picture: the clipboard's picture cannot be read")});
        return std::nullopt;
    }
    return image;
}

void pastePicture()
{
    const std::optional<QImage> image = clipboardPicture();
    if (!image)
        return;
    ResetDocument();
    if (!image->isNull() && app().document)
        app().document->surface()->setPicture({*image, PictureKind::Bitmap, {}});
    pictureArrived(QStringLiteral("Clipboard Picture"));
}

void copyPicture()
{
    services().clipboard->clear();
    if (app().document)
        services().clipboard->setImage(app().document->surface()->composedImage());
}

} // namespace

void OpenPictureFile(const QString& path, std::shared_ptr<PictureJob> started)
{
    if (IsProjectFileName(path)) {
        guarded([&] { OpenProjectFile(path); });
        return;
    }
    guarded([&] { openFile(path, std::move(started)); });
}

void ResetDocument()
{
    appState().DataFileName.clear();
    app().curves.clearDataFileNames();
    RunCommand(QStringLiteral("mnuPictureResetScale"));
    if (app().document) {
        PictureSurface* surface = app().document->surface();
        surface->clearDrawings();
        surface->clearPicture();
    }
    setPanel(1, QStringLiteral("Data File"));
    setPanel(2, QStringLiteral("Picture File"));
    setPanel(3, QStringLiteral("X Value"));
    setPanel(4, QStringLiteral("Y Value"));
    // Another picture starts afresh: what is undone is of this picture.
    app().pictureOrigin = {};
    app().history.clear();
}

void RegisterPictureCommands()
{
    CommandRouter& c = app().commands;
    c.add(QStringLiteral("ResetDocument"), [] { guarded(ResetDocument); });
    c.add(QStringLiteral("mnuFileNew"), [] { guarded(ResetDocument); });
    c.add(QStringLiteral("mnuPictureImport"), [] { guarded(importPicture); });
    c.add(QStringLiteral("mnuPicturePaste"), [] { guarded(pastePicture); });
    c.add(QStringLiteral("mnuPictureCopy"), [] { guarded(copyPicture); });
}

} // namespace tracella
