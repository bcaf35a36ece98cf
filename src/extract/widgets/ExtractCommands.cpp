#include "extract/widgets/ExtractCommands.h"

#include "app/widgets/AppContext.h"
#include "extract/widgets/AutoRead.h"
#include "extract/widgets/InterpolateSpline.h"
#include "extract/widgets/TraceCurvePanel.h"

namespace tracella {

void RegisterExtractCommands()
{
    app().commands.add(QStringLiteral("mnuDataAR"), AutoRead);
    app().commands.add(QStringLiteral("mnuDataSpline"), InterpolateSpline);
    app().commands.add(QStringLiteral("mnuDataTrace"), ShowTraceCurvePanel);
}

} // namespace tracella
