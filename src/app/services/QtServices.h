#pragma once

namespace tracella {

// Points services() at the real Qt dialogs and platform services.
void InstallQtServices();

} // namespace tracella
