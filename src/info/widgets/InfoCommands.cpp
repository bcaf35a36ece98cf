#include "info/widgets/InfoCommands.h"

#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "info/widgets/AboutWindow.h"

namespace tracella {

void RegisterInfoCommands()
{
    app().commands.add(QStringLiteral("mnuHelpAbout"), [] {
        // An about box that fails to show is not worth a message.
        try {
            AboutWindow about(app().main);
            about.exec();
        } catch (...) {
        }
    });
}

} // namespace tracella
