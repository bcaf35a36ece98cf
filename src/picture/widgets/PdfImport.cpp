#include "picture/widgets/PdfImport.h"

#include "app/services/Services.h"
#include "app/widgets/UnexpectedError.h"
#include "picture/PdfDocument.h"
#include "picture/PictureJob.h"
#include "picture/widgets/PictureWait.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>

namespace tracella {
namespace {

const QString PasswordTitle = QStringLiteral("PDF Password");

// The chooser's view of the document.
class PdfPages final : public PageSource {
public:
    explicit PdfPages(const PdfDocument& pdf) : pdf_(pdf) {}
    int pageCount() const override { return pdf_.pageCount(); }
    QImage thumbnail(int page, int side) const override { return pdf_.thumbnail(page, side); }
    int fittingDpi(int page, int dpi) const override { return FitPdfResolution(pdf_.pageSizePoints(page), dpi).dpi; }

private:
    const PdfDocument& pdf_;
};

// False when the user gives up.
bool unlock(PdfDocument& pdf, const QString& fileName)
{
    while (pdf.isLocked()) {
        const QString password = services().input->askPassword(
            QStringLiteral("%1 is protected by a password.\r\n\r\nPlease type the password of the document.")
                .arg(fileName),
            PasswordTitle);
        if (password.isEmpty())
            return false;
        if (!pdf.unlock(password))
            ShowMessage(QStringLiteral("The password is wrong."), PasswordTitle, MessageIcon::Exclamation);
    }
    return true;
}

PdfOpening failed(AppError error)
{
    return {PdfOpening::Outcome::Failed, {}, 0, std::move(error)};
}

} // namespace

bool IsPdfFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && IsPdfStart(file.read(PdfSignatureReach));
}

PdfOpening OpenPdfPage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(FileError(EIO, path));
    // Shared with the worker that draws the page, which may outlast an Esc.
    const auto document = std::make_shared<PdfDocument>(file.readAll());
    PdfDocument& pdf = *document;
    const QString fileName = QFileInfo(path).fileName();
    if (!unlock(pdf, fileName))
        return {};
    if (const std::optional<AppError> problem = pdf.problem())
        return failed(*problem);

    PageChoice choice{0, DefaultPdfDpi};
    if (pdf.pageCount() > 1) {
        const PdfPages pages(pdf);
        const std::optional<PageChoice> chosen = services().pages->choose(pages, fileName, DefaultPdfDpi);
        if (!chosen)
            return {};
        choice = *chosen;
    }
    const auto job = PictureJob::start([document, choice](DecodeProgress& progress) {
        return document->renderPage(choice.page, choice.dpi, MaxPictureSide, &progress.cancel());
    });
    std::optional<LoadedPicture> page = AwaitPicture(*job);
    if (!page)
        return {};
    if (page->error)
        return failed(*page->error);
    return {PdfOpening::Outcome::Opened, std::move(page->picture), choice.page + 1, {}, choice.dpi};
}

} // namespace tracella
