#pragma once

#include "app/core/AppError.h"
#include "picture/CancelToken.h"
#include "picture/PictureLoader.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>

namespace Poppler {
class Document;
}

namespace tracella {

// Resolutions a PDF page may be rendered at, in dots per inch.
constexpr int DefaultPdfDpi = 300;
constexpr int MinimumPdfDpi = 72;
constexpr int MaximumPdfDpi = 1200;

// A PDF file starts with "%PDF-", possibly after some leading bytes.
bool IsPdfStart(const QByteArray& head);
// How many leading bytes IsPdfStart looks at.
constexpr int PdfSignatureReach = 1024;

// The resolution a page of this size (in points) gets when dpi is asked
// for: dpi itself, or the highest whole resolution at which no side passes
// maxSide pixels.
struct PdfResolution {
    int dpi = DefaultPdfDpi;
    bool capped = false;
};
PdfResolution FitPdfResolution(QSizeF pagePoints, int dpi, int maxSide = MaxPictureSide);

// A PDF document opened through Poppler, from its bytes.
class PdfDocument {
public:
    explicit PdfDocument(const QByteArray& bytes);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Why the document cannot be used (damaged, no pages), once unlocked.
    std::optional<AppError> problem() const;

    bool isLocked() const;
    // False when the password is wrong.
    bool unlock(const QString& password);

    int pageCount() const;
    QSizeF pageSizePoints(int index) const; // empty for a page that has no size

    // The page as a bitmap picture at the resolution FitPdfResolution gives;
    // refused when even 1 dpi passes maxSide. Poppler asks `cancel` between
    // drawing operations (not inside one), and a cancelled drawing gives the
    // error ErrorNumber::Cancelled.
    LoadedPicture renderPage(int index, int dpi, int maxSide = MaxPictureSide, CancelToken* cancel = nullptr) const;
    // The page scaled so that its longer side is `side` pixels.
    QImage thumbnail(int index, int side) const;

private:
    QByteArray bytes_;
    std::unique_ptr<Poppler::Document> document_;
};

} // namespace tracella
