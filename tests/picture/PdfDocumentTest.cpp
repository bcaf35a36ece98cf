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
// gives no picture (with no size at all, the default Letter size).
TEST(PdfDocument, PagesRenderAtTheChosenResolutionOrAreRefusedWithAReason)
{
    const QByteArray plot = PlotPdfBytes(2);
    const struct {
        const char* what;
        QByteArray bytes;
        int dpi, maxSide;
        QSize size; // of the page's picture, or empty for a refusal
        QString error; // the end of the refusal's text; empty when the document itself is refused
        const char* password = nullptr;
    } cases[] = {
        {"page", SimplePdfBytes(QSizeF(200, 100)), 300, MaxPictureSide, QSize(833, 417), {}},
        {"page capped", SimplePdfBytes(QSizeF(200, 100)), 1200, 500, QSize(500, 250), {}},
        {"exactly the side at 1 dpi", SimplePdfBytes(QSizeF(36000, 36000)), 300, 500, QSize(500, 500), {}},
        {"locked", EncryptedPdfBytes("secret"), 72, MaxPictureSide, QSize(200, 100), {}, "secret"},
        {"beyond the side at 1 dpi", SimplePdfBytes(QSizeF(72000, 72000)), 300, 500, {},
         QStringLiteral("even at 1 dpi; at most 500 x 500 can be opened")},
        {"no height", SimplePdfBytes(QSizeF(100, 0)), 300, MaxPictureSide, {}, QStringLiteral("page 1 has no size")},
        {"cut short", plot.left(plot.size() / 3), 300, MaxPictureSide, {}, {}},
        {"no page", NoPagePdfBytes(), 300, MaxPictureSide, {}, {}},
    };
    for (const auto& c : cases) {
        PdfDocument pdf(c.bytes);
        if (c.size.isEmpty() && c.error.isEmpty()) {
            ASSERT_TRUE(pdf.problem()) << c.what;
            EXPECT_EQ(pdf.problem()->number, ErrorNumber::BadFileFormat) << c.what;
            EXPECT_TRUE(pdf.thumbnail(0, 64).isNull()) << c.what;
        }
        if (c.password) {
            EXPECT_TRUE(pdf.isLocked());
            EXPECT_FALSE(pdf.unlock(QStringLiteral("wrong")));
            ASSERT_TRUE(pdf.unlock(QString::fromLatin1(c.password)));
        }
        const LoadedPicture page = pdf.renderPage(0, c.dpi, c.maxSide);
        if (c.size.isEmpty()) {
            ASSERT_TRUE(page.error) << c.what;
            EXPECT_TRUE(page.error->description.endsWith(c.error)) << c.what;
            EXPECT_TRUE(page.picture.isNull()) << c.what;
            continue;
        }
        ASSERT_FALSE(page.error) << c.what << ": " << page.error->description.toStdString();
        const QImage& image = page.picture.image;
        EXPECT_EQ(image.size(), c.size) << c.what;
        // The square from (10, 10) to (50, 50) points of a 200 x 100 page, PDF's
        // origin at the bottom left; of a locked page, only once decrypted.
        if (image.width() == 2 * image.height()) {
            EXPECT_EQ(image.pixelColor(image.width() * 30 / 200, image.height() * 70 / 100), QColor(0, 0, 255)) << c.what;
            EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(255, 255, 255)) << c.what;
            EXPECT_EQ(pdf.thumbnail(0, 64).width(), 64) << c.what;
        }
    }
    EXPECT_TRUE(PdfDocument(SimplePdfBytes()).renderPage(1, 300).error); // no such page
}
