#include "PdfSamples.h"
#include "picture/PdfDocument.h"

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

QColor pixel(const Picture& picture, double xPoints, double yPoints, int dpi)
{
    return picture.image.pixelColor(static_cast<int>(xPoints * dpi / 72), static_cast<int>(yPoints * dpi / 72));
}

} // namespace

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

TEST(PdfDocument, PagesRenderAsBitmapsAtTheChosenResolution)
{
    PdfDocument pdf(SimplePdfBytes(QSizeF(200, 100)));
    ASSERT_FALSE(pdf.problem());
    const LoadedPicture page = pdf.renderPage(0, 300);
    ASSERT_FALSE(page.error) << page.error->description.toStdString();
    EXPECT_EQ(page.picture.image.size(), QSize(833, 417));
    // The square from (10, 10) to (50, 50) points, PDF's origin at the bottom left.
    EXPECT_EQ(pixel(page.picture, 30, 70, 300), QColor(0, 0, 255));
    EXPECT_EQ(pixel(page.picture, 100, 50, 300), QColor(255, 255, 255));

    // A page too large for the limit comes at the highest resolution that fits.
    const LoadedPicture capped = pdf.renderPage(0, 1200, 500);
    ASSERT_FALSE(capped.error);
    EXPECT_LE(capped.picture.image.width(), 500);
    EXPECT_GE(capped.picture.image.width(), 495);
    EXPECT_EQ(pdf.thumbnail(0, 64).width(), 64);
    EXPECT_TRUE(pdf.renderPage(1, 300).error); // no such page
}

TEST(PdfDocument, BadDocumentsAreRefusedWithAReason)
{
    const QByteArray plot = PlotPdfBytes(2);
    for (const QByteArray& bytes : {plot.left(plot.size() / 3), NoPagePdfBytes()}) {
        PdfDocument pdf(bytes);
        ASSERT_TRUE(pdf.problem());
        EXPECT_EQ(pdf.problem()->number, ErrorNumber::BadFileFormat);
        EXPECT_TRUE(pdf.renderPage(0, 300).error);
        EXPECT_TRUE(pdf.thumbnail(0, 64).isNull());
    }
    // A page with no height opens but gives no picture. (With no size at all
    // Poppler gives the page the default Letter size.)
    PdfDocument flat(SimplePdfBytes(QSizeF(100, 0)));
    ASSERT_FALSE(flat.problem());
    const LoadedPicture none = flat.renderPage(0, 300);
    ASSERT_TRUE(none.error);
    EXPECT_TRUE(none.error->description.contains(QStringLiteral("page 1 has no size")));
}

TEST(PdfDocument, AnEncryptedDocumentOpensWithItsPasswordOnly)
{
    PdfDocument pdf(EncryptedPdfBytes("secret"));
    EXPECT_TRUE(pdf.isLocked());
    EXPECT_FALSE(pdf.unlock(QStringLiteral("wrong")));
    ASSERT_TRUE(pdf.unlock(QStringLiteral("secret")));
    const LoadedPicture page = pdf.renderPage(0, 72);
    ASSERT_FALSE(page.error);
    EXPECT_EQ(pixel(page.picture, 30, 70, 72), QColor(0, 0, 255)); // the content was decrypted
}

// Poppler answered a page beyond the largest side, even at 1 dpi, with a
// blank 1 x 1 image, which opened as a picture.
TEST(PdfDocument, APageTooLargeEvenAtOneDpiIsRefused)
{
    const struct {
        double sidePoints;
        int maxSide;
        bool refused;
    } cases[] = {
        {72000, 500, true},  // 1000 pixels at 1 dpi
        {36000, 500, false}, // exactly 500 pixels at 1 dpi
    };
    for (const auto& c : cases) {
        PdfDocument pdf(SimplePdfBytes(QSizeF(c.sidePoints, c.sidePoints)));
        ASSERT_FALSE(pdf.problem()) << c.sidePoints;
        const LoadedPicture page = pdf.renderPage(0, 300, c.maxSide);
        if (c.refused) {
            ASSERT_TRUE(page.error) << c.sidePoints;
            EXPECT_EQ(page.error->number, ErrorNumber::PictureTooLarge);
            EXPECT_TRUE(page.error->description.endsWith(
                QStringLiteral("even at 1 dpi; at most %1 x %1 can be opened").arg(c.maxSide)));
            EXPECT_TRUE(page.picture.isNull());
        } else {
            ASSERT_FALSE(page.error) << c.sidePoints << ": " << page.error->description.toStdString();
            EXPECT_EQ(page.picture.image.size(), QSize(c.maxSide, c.maxSide));
        }
    }
}
