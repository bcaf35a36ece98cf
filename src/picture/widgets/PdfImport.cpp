#include "picture/widgets/PdfImport.h"

#include "app/services/Services.h"
#include "app/widgets/UnexpectedError.h"
#include "picture/PdfDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

#include <cerrno>

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

// While a page is drawn on the window's thread, Poppler's abort question
// is the only chance to look at the event queue: this lets the windows
// repaint and notes Esc, and holds back every other input (and closing),
// so that no command can start in the middle of the import.
class EscapeWatch final : public QObject {
public:
    EscapeWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~EscapeWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    EscapeWatch(const EscapeWatch&) = delete;
    EscapeWatch& operator=(const EscapeWatch&) = delete;

    bool pressed()
    {
        // Poppler asks every few drawing operations; a look every 50 ms is enough.
        if (!pressed_ && (!sinceLook_.isValid() || sinceLook_.elapsed() >= 50)) {
            sinceLook_.start();
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
        }
        return pressed_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                pressed_ = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
        case QEvent::InputMethod: return true;
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    bool pressed_ = false;
    QElapsedTimer sinceLook_;
};

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
    PdfDocument pdf(file.readAll());
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
    LoadedPicture page;
    {
        BusyPointer busy;
        EscapeWatch escape;
        CancelToken cancel([&escape] { return escape.pressed(); });
        page = pdf.renderPage(choice.page, choice.dpi, MaxPictureSide, &cancel);
        if (cancel.wasCancelled())
            return {};
    }
    if (page.error)
        return failed(*page.error);
    return {PdfOpening::Outcome::Opened, std::move(page.picture), choice.page + 1, {}};
}

} // namespace tracella
