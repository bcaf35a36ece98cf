#include "acquire/widgets/Scanner.h"

#include "acquire/PageAcquisition.h"
#include "acquire/SaneLibrary.h"
#include "acquire/widgets/SourceDialog.h"
#include "app/core/AppError.h"
#include "app/services/Services.h"
#include "app/widgets/UnexpectedError.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

namespace tracella {
namespace {

constexpr int ProgressSteps = 1000;

QList<ScanSource> listSources(ScanLibrary& library)
{
    // Finding network scanners can take a few seconds.
    BusyPointer busy;
    return library.sources();
}

QImage scanWithProgress(ScanDevice& device, QWidget* owner)
{
    QProgressDialog progress(QStringLiteral("Reading the page from the scanner..."), QStringLiteral("Cancel"), 0,
                             ProgressSteps, owner);
    progress.setObjectName(QStringLiteral("frmScanProgress"));
    progress.setWindowTitle(QStringLiteral("Scanner"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.show();
    QCoreApplication::processEvents();
    return AcquirePage(device, [&progress](qint64 received, qint64 expected) {
        if (expected > 0) {
            progress.setValue(static_cast<int>(std::min<qint64>(received, expected) * ProgressSteps / expected));
        } else {
            progress.setRange(0, 0);
        }
        // The window stays alive, and Cancel can be pressed, while the page comes in.
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
}

Scanner* installed = nullptr;

} // namespace

Scanner::Scanner(ScanLibrary& library, SourceChooser chooser) : library_(library), choose_(std::move(chooser)) {}

int Scanner::IsAvailable()
{
    ScanSession session(library_);
    if (!session.started())
        return 0;
    return listSources(library_).isEmpty() ? 0 : 1;
}

void Scanner::SelectImageSource(QWidget* owner)
{
    QList<ScanSource> sources;
    {
        ScanSession session(library_);
        if (!session.started())
            return;
        sources = listSources(library_);
    }
    if (const std::optional<QString> chosen = choose_(owner, sources, source_))
        source_ = *chosen;
}

int Scanner::AcquireToClipboard(QWidget* owner)
{
    ScanSession session(library_);
    if (!session.started())
        return 0;
    QString name = source_;
    if (name.isEmpty()) {
        const QList<ScanSource> sources = listSources(library_);
        if (sources.isEmpty())
            return 0;
        name = sources.front().name;
    }
    QImage page;
    if (std::unique_ptr<ScanDevice> device = library_.open(name))
        page = scanWithProgress(*device, owner);
    if (page.isNull())
        return 0;
    services().clipboard->setImage(page);
    return services().clipboard->image().isNull() ? 0 : 1;
}

int Scanner::Version()
{
    ScanSession session(library_);
    if (!session.started())
        throw AppError{ScanLibraryFailure, QStringLiteral("The scanner library could not be started.")};
    return library_.version();
}

Scanner& scanner()
{
    if (installed)
        return *installed;
    static SaneLibrary sane;
    static Scanner saneScanner(sane, &SourceDialog::choose);
    return saneScanner;
}

Scanner* InstallScanner(Scanner* replacement)
{
    Scanner* previous = installed;
    installed = replacement;
    return previous;
}

} // namespace tracella
