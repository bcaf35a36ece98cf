#include "options/widgets/OptionsCommands.h"

#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "options/widgets/OptionsWindow.h"
#include "picture/widgets/DocumentWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tracella {
namespace {

void optionsCommand()
{
    {
        OptionsWindow options(app().main);
        options.exec();
    }
    RunCommand(QStringLiteral("mnuViewRefresh"));
    if (app().main && app().document) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(app().document->parentWidget()))
            app().main->mdiArea()->setActiveSubWindow(sub);
    }
}

} // namespace

void RegisterOptionsCommands()
{
    app().commands.add(QStringLiteral("mnuViewOptions"), optionsCommand);
}

} // namespace tracella
