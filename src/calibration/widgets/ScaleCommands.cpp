#include "calibration/widgets/ScaleCommands.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"

namespace tracella {

void RegisterScaleCommands()
{
    app().commands.add(QStringLiteral("mnuPictureResetScale"), [] {
        AppState& s = appState();
        s.setFrame(BaseFrame);
        s.RefX1 = NotScaled;
        s.RefX2 = NotScaled;
    });
}

} // namespace tracella
