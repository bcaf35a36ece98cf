#include "app/widgets/ShellCommands.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/HelpWindow.h"
#include "app/widgets/MainWindow.h"
#include "info/widgets/TipWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace tracella {
namespace {

QWidget* subWindowOf(QWidget* form)
{
    return form ? form->parentWidget() : nullptr;
}

// Checked: hide what the item controls and clear the mark; else show and mark.
void toggleView(MainWindow& main, const QString& item, const std::function<QWidget*()>& target)
{
    QAction* action = main.action(item);
    QWidget* widget = target();
    const bool show = !action->isChecked();
    if (widget)
        widget->setVisible(show);
    action->setChecked(show);
}

void zoomCommand(MainWindow& main)
{
    QAction* action = main.action(QStringLiteral("mnuViewZoom"));
    ZoomWindow* zoom = app().zoom;
    if (action->isChecked()) {
        if (zoom) {
            subWindowOf(zoom)->hide();
            zoom->timer()->stop();
        }
        action->setChecked(false);
        appState().MouseOverPicture = false;
    } else {
        if (zoom) {
            subWindowOf(zoom)->show();
            zoom->show();
            zoom->timer()->start();
        }
        action->setChecked(true);
        appState().MouseOverPicture = true;
    }
}

void unloadGuide(MainWindow& main)
{
    QAction* action = main.action(QStringLiteral("mnuViewSteps"));
    if (TipWindow* tip = app().tip) {
        app().tip = nullptr;
        subWindowOf(tip)->hide();
        subWindowOf(tip)->deleteLater();
    }
    // Closing runs the guide command, which clears the mark of a shown guide.
    action->setChecked(false);
}

void guideCommand(MainWindow& main)
{
    QAction* action = main.action(QStringLiteral("mnuViewSteps"));
    if (action->isChecked()) {
        if (app().tip)
            subWindowOf(app().tip)->hide();
        action->setChecked(false);
        return;
    }
    if (!app().tip) {
        auto* tip = new TipWindow;
        app().tip = tip;
        QMdiSubWindow* sub = main.addChildWindow(tip);
        // A fixed dialog frame: a close box, no minimise or maximise button.
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint);
        QObject::connect(tip, &TipWindow::closeRequested, &main, [&main] { unloadGuide(main); });
    }
    QWidget* sub = subWindowOf(app().tip);
    sub->adjustSize();
    sub->show();
    app().tip->show();
    action->setChecked(true);
    const QSize area = main.mdiArea()->viewport()->size();
    sub->move(static_cast<int>(area.width() - 1.1 * sub->width()), area.height() / 2 - sub->height() / 2);
}

} // namespace

void RegisterShellCommands(MainWindow& main)
{
    CommandRouter& c = app().commands;
    MainWindow* m = &main;
    c.add(QStringLiteral("mnuFileExit"), [m] { m->close(); });
    c.add(QStringLiteral("mnuViewToolbar"),
          [m] { toggleView(*m, QStringLiteral("mnuViewToolbar"), [m] { return m->toolBar(); }); });
    c.add(QStringLiteral("mnuViewStatusBar"),
          [m] { toggleView(*m, QStringLiteral("mnuViewStatusBar"), [m] { return m->statusBar(); }); });
    c.add(QStringLiteral("mnuViewImageToolbar"), [m] {
        toggleView(*m, QStringLiteral("mnuViewImageToolbar"),
                   []() -> QWidget* { return app().document ? app().document->imageToolbar() : nullptr; });
    });
    c.add(QStringLiteral("mnuViewZoom"), [m] { zoomCommand(*m); });
    c.add(QStringLiteral("mnuViewSteps"), [m] { guideCommand(*m); });
    c.add(QStringLiteral("mnuWindowCascade"), [m] { m->arrange(0); });
    c.add(QStringLiteral("mnuWindowTileHorizontal"), [m] { m->arrange(1); });
    c.add(QStringLiteral("mnuWindowTileVertical"), [m] { m->arrange(2); });
    c.add(QStringLiteral("mnuWindowArrangeIcons"), [m] { m->arrange(3); });
    c.add(QStringLiteral("mnuHelpContents"), [m] { ShowHelp(m, m->helpFile(), 3); });
    c.add(QStringLiteral("mnuHelpSearch"), [m] { ShowHelp(m, m->helpFile(), 261); });
}

} // namespace tracella
