#include "data/widgets/DataCommands.h"

namespace tracella {

void RegisterDataCommands()
{
    RegisterRefreshCommand();
    RegisterDataFileCommands();
    RegisterDataEditCommands();
    RegisterPrintCommand();
}

} // namespace tracella
