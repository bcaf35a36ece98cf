// libFuzzer target: any bytes through the picture loader, which must answer
// with a picture or an error, never crash, hang or read out of bounds; and
// as a project file, whose picture then goes through the loader as well.
#include "data/CurveDocument.h"
#include "data/EditHistory.h"
#include "data/ProjectFile.h"
#include "picture/PdfDocument.h"
#include "picture/PictureLoader.h"

#include <QBuffer>
#include <QFileInfo>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <variant>

namespace {

// The first byte picks the file-name hint, so each decoder also meets bytes
// its signature check would have turned away. The project road comes last,
// so that the picture seeds keep the hints they were written for.
const char* const Hints[] = {"",    "bmp", "ico", "jpg", "gif", "png", "tif",
                             "webp", "wmf", "tga", "ppm", "xpm", "pdf", "tracella"};

// Small enough that a forged header cannot make the run allocate gigabytes.
constexpr int FuzzMaxSide = 2048;

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void decodeOrTrap(QByteArray& bytes, const QByteArray& hint)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const tracella::LoadedPicture loaded = tracella::DecodePicture(buffer, hint, FuzzMaxSide);
    if (!loaded.error && loaded.picture.isNull())
        __builtin_trap(); // neither a picture nor a reason
}

// As an open takes a project: its curves into a document, its picture
// decoded from memory under the hint of the file it came from, if any.
void openProject(const QByteArray& bytes)
{
    auto decoded = tracella::DecodeProject(bytes);
    auto* project = std::get_if<tracella::Project>(&decoded);
    if (!project)
        return;
    tracella::CurveDocument document;
    (void)tracella::RestoreCurves(document, project->curves, project->current, project->numbering);
    if (project->history) {
        tracella::EditHistory history(document);
        if (history.takeUp(std::move(*project->history)))
            while (history.stack().canUndo())
                history.undo();
    }
    const tracella::ProjectPicture& picture = project->picture;
    decodeOrTrap(project->picture.bytes, picture.source == tracella::PictureSource::File
                                             ? QFileInfo(picture.fileName).suffix().toLower().toLatin1()
                                             : QByteArray("png"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(quiet); // decoders warn about every broken input
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray hint(Hints[data[0] % std::size(Hints)]);
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (hint == "tracella") {
        openProject(bytes);
        return 0;
    }
    if (hint == "pdf" || tracella::IsPdfStart(bytes)) {
        // The import's PDF road: every page's size, then the first page at a low resolution.
        tracella::PdfDocument pdf(bytes);
        if (pdf.isLocked())
            pdf.unlock(QStringLiteral("fuzz"));
        for (int page = 0; page < pdf.pageCount() && page < 8; ++page)
            (void)pdf.pageSizePoints(page);
        const tracella::LoadedPicture loaded = pdf.renderPage(0, tracella::MinimumPdfDpi, FuzzMaxSide);
        if (!loaded.error && loaded.picture.isNull())
            __builtin_trap();
        return 0;
    }
    decodeOrTrap(bytes, hint);
    return 0;
}
