#include "app/widgets/UnexpectedError.h"

#include "app/core/Message.h"
#include "app/services/Services.h"

namespace tracella {

void ShowUnexpectedError(const AppError& error)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    ShowMessage(UnexpectedErrorMessage(error));
}

} // namespace tracella
