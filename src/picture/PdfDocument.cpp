#include "picture/PdfDocument.h"

#include <poppler-qt6.h>

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

constexpr double PointsPerInch = 72.0;

AppError pdfError(const QString& reason)
{
    return {ErrorNumber::BadFileFormat, QStringLiteral("Invalid PDF document: ") + reason};
}

// Poppler reports every flaw of a damaged file on its own; the program
// answers with one message of its own instead.
void quietPoppler()
{
    static const bool quiet = [] {
        Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
        return true;
    }();
    (void)quiet;
}

bool hasSize(QSizeF points)
{
    return points.width() >= 1e-3 && points.height() >= 1e-3 && std::isfinite(points.width()) &&
           std::isfinite(points.height());
}

long long pixelsAt(double points, int dpi)
{
    return std::llround(points * dpi / PointsPerInch); // as Poppler sizes its images
}

bool shouldAbort(const QVariant& token)
{
    return static_cast<CancelToken*>(token.value<void*>())->isCancelled();
}

} // namespace

bool IsPdfStart(const QByteArray& head)
{
    return head.left(PdfSignatureReach).contains("%PDF-");
}

PdfResolution FitPdfResolution(QSizeF pagePoints, int dpi, int maxSide)
{
    dpi = std::clamp(dpi, MinimumPdfDpi, MaximumPdfDpi);
    const double longest = std::max(pagePoints.width(), pagePoints.height());
    if (!(longest > 0) || pixelsAt(longest, dpi) <= maxSide)
        return {dpi, false};
    int fitting = static_cast<int>(std::floor(maxSide * PointsPerInch / longest));
    while (fitting > 1 && pixelsAt(longest, fitting) > maxSide)
        --fitting;
    return {std::max(1, fitting), true};
}

PdfDocument::PdfDocument(const QByteArray& bytes) : bytes_(bytes)
{
    quietPoppler();
    document_ = Poppler::Document::loadFromData(bytes_);
    if (document_) {
        document_->setRenderHint(Poppler::Document::Antialiasing);
        document_->setRenderHint(Poppler::Document::TextAntialiasing);
    }
}

PdfDocument::~PdfDocument() = default;

std::optional<AppError> PdfDocument::problem() const
{
    if (!document_)
        return pdfError(QStringLiteral("the file is damaged or not a PDF document"));
    if (document_->isLocked())
        return pdfError(QStringLiteral("the document is protected by a password"));
    if (document_->numPages() <= 0)
        return pdfError(QStringLiteral("the document has no pages"));
    return std::nullopt;
}

bool PdfDocument::isLocked() const
{
    return document_ && document_->isLocked();
}

bool PdfDocument::unlock(const QString& password)
{
    if (!document_)
        return false;
    const QByteArray bytes = password.toUtf8();
    // A user password opens the document; an owner password does too.
    if (document_->isLocked())
        document_->unlock(bytes, bytes);
    return !document_->isLocked();
}

int PdfDocument::pageCount() const
{
    return document_ && !document_->isLocked() ? std::max(0, document_->numPages()) : 0;
}

QSizeF PdfDocument::pageSizePoints(int index) const
{
    if (index < 0 || index >= pageCount())
        return {};
    const std::unique_ptr<Poppler::Page> page = document_->page(index);
    return page ? page->pageSizeF() : QSizeF();
}

LoadedPicture PdfDocument::renderPage(int index, int dpi, int maxSide, CancelToken* cancel) const
{
    if (const std::optional<AppError> p = problem())
        return {{}, p};
    const std::unique_ptr<Poppler::Page> page =
        index >= 0 && index < pageCount() ? document_->page(index) : nullptr;
    if (!page)
        return {{}, pdfError(QStringLiteral("page %1 cannot be read").arg(index + 1))};
    const QSizeF points = page->pageSizeF();
    if (!hasSize(points))
        return {{}, pdfError(QStringLiteral("page %1 has no size").arg(index + 1))};
    const PdfResolution resolution = FitPdfResolution(points, dpi, maxSide);
    const long long width = pixelsAt(points.width(), resolution.dpi), height = pixelsAt(points.height(), resolution.dpi);
    if (width > maxSide || height > maxSide)
        return {{},
                AppError{ErrorNumber::PictureTooLarge,
                         QStringLiteral("Page %1 is %2 x %3 pixels even at %4 dpi; at most %5 x %5 can be opened")
                             .arg(index + 1)
                             .arg(width)
                             .arg(height)
                             .arg(resolution.dpi)
                             .arg(maxSide)}};
    QImage image = cancel ? page->renderToImage(resolution.dpi, resolution.dpi, -1, -1, -1, -1, Poppler::Page::Rotate0,
                                                nullptr, nullptr, shouldAbort, QVariant::fromValue<void*>(cancel))
                          : page->renderToImage(resolution.dpi, resolution.dpi);
    if (cancel && cancel->wasCancelled())
        return {{}, AppError{ErrorNumber::Cancelled, QStringLiteral("The drawing of page %1 was given up").arg(index + 1)}};
    // Poppler answers a page it cannot draw with a null or a tiny image.
    if (image.isNull() || image.width() < std::min<long long>(width, maxSide) - 1 ||
        image.height() < std::min<long long>(height, maxSide) - 1)
        return {{}, pdfError(QStringLiteral("page %1 cannot be drawn").arg(index + 1))};
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.copy(0, 0, std::min(image.width(), maxSide), std::min(image.height(), maxSide));
    // Poppler draws on opaque white paper, so every pixel is opaque and the
    // picture needs no alpha channel: the same bytes serve as RGB32.
    if (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    else if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_RGB32);
    return {{std::move(image), PictureKind::Bitmap, {}}, std::nullopt};
}

QImage PdfDocument::thumbnail(int index, int side) const
{
    const QSizeF points = pageSizePoints(index);
    if (!hasSize(points) || side <= 0)
        return {};
    const double dpi = side * PointsPerInch / std::max(points.width(), points.height());
    const std::unique_ptr<Poppler::Page> page = document_->page(index);
    return page ? page->renderToImage(dpi, dpi) : QImage();
}

} // namespace tracella
