#include "app/widgets/AppContext.h"

namespace tracella {

AppContext& app()
{
    static AppContext context;
    return context;
}

} // namespace tracella
