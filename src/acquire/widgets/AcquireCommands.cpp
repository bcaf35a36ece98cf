#include "acquire/widgets/AcquireCommands.h"

#include "acquire/widgets/Scanner.h"
#include "app/core/AppError.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"

#include <exception>
#include <new>

namespace tracella {

void ScannerCommand()
{
    try {
        Scanner& s = scanner();
        if (s.IsAvailable() == 0) {
            ShowMessage(QStringLiteral("Scanner not available."), QStringLiteral("Check Scanner Availability"),
                        MessageIcon::Critical);
            return;
        }
        MainWindow* owner = app().main;
        s.SelectImageSource(owner);
        services().clipboard->clear();
        if (s.AcquireToClipboard(owner) == 0) {
            ShowMessage(QStringLiteral("No image was acquired or transfer to the clipboard failed."), QString(),
                        MessageIcon::Information);
        }
        RunCommand(QStringLiteral("mnuPicturePaste"));
    } catch (const AppError& e) {
        ShowUnexpectedError(e);
    } catch (const std::bad_alloc&) {
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception& e) {
        ShowUnexpectedError({ErrorNumber::InvalidArgument, QString::fromLocal8Bit(e.what())});
    }
}

void RegisterAcquireCommands()
{
    app().commands.add(QStringLiteral("mnuPictureScanner"), &ScannerCommand);
}

} // namespace tracella
