#include "acquire/widgets/CaptureCommand.h"

#include "acquire/widgets/CaptureWindow.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"

#include <QMdiSubWindow>
#include <QPointer>

namespace tracella {
namespace {

void bringDocumentToTop()
{
    if (!app().document)
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(app().document->parentWidget()))
        frame->raise();
}

} // namespace

void CaptureCommand()
{
    // One capture at a time: during the delay the main window takes input again.
    static QPointer<CaptureWindow> running;
    if (running)
        return;
    running = new CaptureWindow(app().main);
    QObject::connect(running, &CaptureWindow::released, &bringDocumentToTop);
    running->setWindowModality(Qt::ApplicationModal);
    running->show();
}

void RegisterCaptureCommands()
{
    app().commands.add(QStringLiteral("mnuPictureCapture"), &CaptureCommand);
}

} // namespace tracella
