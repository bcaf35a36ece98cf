#include "PdfSamples.h"
#include "picture/PdfDocument.h"

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

// 2000 points at 1200 dpi would be 33334 pixels: 720 dpi gives exactly 20000.
// The signature is looked for only near the start.
TEST(PdfDocument, ResolutionIsCappedAtTheLargestPictureSide)
{
    for (const auto& [height, dpi] : {std::pair{2000, 720}, {2001, 719}})
        EXPECT_EQ(FitPdfResolution(QSizeF(1000, height), 1200).dpi, dpi) << height;
    EXPECT_EQ(FitPdfResolution(QSizeF(100, 100), 5000).dpi, MaximumPdfDpi);
    EXPECT_TRUE(IsPdfStart(QByteArray(100, ' ') + "%PDF-1.7"));
    EXPECT_FALSE(IsPdfStart(QByteArray(PdfSignatureReach, ' ') + "%PDF-1.7"));
}

// Poppler answered a page beyond the largest side, even at 1 dpi, with a
// blank 1 x 1 image, which opened as a picture; with no height at all it
// gives no picture.
TEST(PdfDocument, PagesRenderAtTheChosenResolutionOrAreRefusedWithAReason)
{
    const struct {
        const char* what;
        QByteArray bytes;
        int dpi, maxSide;
        QSize size; // of the page's picture, or empty for a refusal
        QString error; // the end of the refusal's text
    } cases[] = {
        {"page", SimplePdfBytes(QSizeF(200, 100)), 300, MaxPictureSide, QSize(833, 417), {}},
        {"exactly the side at 1 dpi", SimplePdfBytes(QSizeF(36000, 36000)), 300, 500, QSize(500, 500), {}},
        {"beyond the side at 1 dpi", SimplePdfBytes(QSizeF(72000, 72000)), 300, 500, {},
         QStringLiteral("even at 1 dpi; at most 500 x 500 can be opened")},
        {"no height", SimplePdfBytes(QSizeF(100, 0)), 300, MaxPictureSide, {}, QStringLiteral("page 1 has no size")},
    };
    for (const auto& c : cases) {
        const LoadedPicture page = PdfDocument(c.bytes).renderPage(0, c.dpi, c.maxSide);
        EXPECT_EQ(page.picture.image.size(), c.size.isEmpty() ? QSize(0, 0) : c.size) << c.what;
        EXPECT_EQ(page.error ? page.error->description.right(c.error.size()) : QString(), c.error) << c.what;
    }
    // The square from (10, 10) to (50, 50) points of a 200 x 100 page, PDF's
    // origin at the bottom left. Locked and damaged documents are the import's to see.
    PdfDocument pdf(SimplePdfBytes(QSizeF(200, 100)));
    const QImage image = pdf.renderPage(0, 72).picture.image;
    EXPECT_EQ(image.pixelColor(30, 70), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(100, 50), QColor(255, 255, 255));
    EXPECT_EQ(pdf.thumbnail(0, 64).width(), 64);
    EXPECT_TRUE(pdf.renderPage(1, 300).error); // no such page
}
