#include "data/widgets/DataCommands.h"

namespace tracella {

void RegisterDataCommands()
{
    RegisterRefreshCommand();
    RegisterDataFileCommands();
    RegisterDataEditCommands();
    RegisterCurveCommands();
    RegisterPrintCommand();
}

} // namespace tracella
