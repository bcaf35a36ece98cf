#include "app/widgets/MainWindow.h"

#include "app/core/AppState.h"
#include "app/core/TempPicture.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainMenus.h"
#include "app/widgets/MainStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace tracella {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tracella! '2004"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tracella.png")));

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(mdi_);

    BuildMenus(menuBar(), this);
    buildToolbar();
    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);
    connectActions();

    helpFile_ = QStringLiteral(":/help/index.html");

    // Moving over the free area or the toolbar stops the zoom following.
    mdi_->viewport()->setMouseTracking(true);
    mdi_->viewport()->installEventFilter(this);
    toolBar_->setMouseTracking(true);
    toolBar_->installEventFilter(this);
    // Its buttons take the moves over them for themselves.
    for (QToolButton* button : toolBar_->findChildren<QToolButton*>()) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbar()
{
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("tbToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    for (const ToolButtonSpec& entry : ToolbarTable()) {
        if (!entry.key) {
            toolBar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(entry.key);
        QAction* button = toolBar_->addAction(QString());
        button->setObjectName(key);
        button->setData(key);
        button->setToolTip(QString::fromLatin1(entry.tooltip));
        button->setIconText(key);
        connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setMaximumWidth(240);
    progressBar_->setTextVisible(false);
    progressHolder_ = toolBar_->addWidget(progressBar_);
    progressHolder_->setObjectName(QStringLiteral("ProgressBarHolder"));
    progressHolder_->setVisible(false);
    cancelDecode_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelDecode_->setObjectName(QStringLiteral("cmdCancelDecode"));
    // Clicked, it must not take the focus from the window that had it.
    cancelDecode_->setFocusPolicy(Qt::NoFocus);
    cancelDecodeHolder_ = toolBar_->addWidget(cancelDecode_);
    cancelDecodeHolder_->setObjectName(QStringLiteral("cmdCancelDecodeHolder"));
    cancelDecodeHolder_->setVisible(false);
}

void MainWindow::setCancelDecodeVisible(bool visible)
{
    cancelDecodeHolder_->setVisible(visible);
}

void MainWindow::setProgressBarVisible(bool visible)
{
    progressHolder_->setVisible(visible);
}

bool MainWindow::progressBarVisible() const
{
    return progressHolder_->isVisible();
}

void MainWindow::assignToolbarIcons()
{
    for (QAction* button : toolBar_->actions()) {
        const QString key = button->data().toString();
        if (key.isEmpty())
            continue;
        const QString file = QStringLiteral(":/icons/toolbar/%1.png").arg(key);
        button->setIcon(QFile::exists(file) ? QIcon(file) : QIcon());
    }
}

void MainWindow::connectActions()
{
    for (QAction* action : findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (!name.startsWith(QStringLiteral("mnu")) || action->menu())
            continue;
        connect(action, &QAction::triggered, this, [action, name](bool checked) {
            // Commands set their own check marks, as they would in a
            // menu that does not toggle by itself.
            if (action->isCheckable())
                action->setChecked(!checked);
            RunCommand(name);
        });
    }
    QMenu* window = menu(QStringLiteral("mnuWindow"));
    connect(window, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowMenu);
}

void MainWindow::rebuildWindowMenu()
{
    QMenu* window = menu(QStringLiteral("mnuWindow"));
    for (QAction* a : window->actions()) {
        if (a->property("windowListEntry").toBool()) {
            window->removeAction(a);
            a->deleteLater();
        }
    }
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty())
        return;
    QAction* separator = window->addSeparator();
    separator->setProperty("windowListEntry", true);
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        if (!sub->isVisible())
            continue;
        QAction* entry = window->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        entry->setProperty("windowListEntry", true);
        entry->setCheckable(true);
        entry->setChecked(sub == mdi_->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
    }
}

QAction* MainWindow::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

QMenu* MainWindow::menu(const QString& name) const
{
    return findChild<QMenu*>(name);
}

QMdiSubWindow* MainWindow::addChildWindow(QWidget* form)
{
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setWindowTitle(form->windowTitle());
    sub->setWindowIcon(windowIcon());
    connect(form, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
    return sub;
}

QWidget* MainWindow::activeChildForm() const
{
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

void MainWindow::setDataMenuEnabled(bool enabled)
{
    QMenu* data = menu(QStringLiteral("mnuData"));
    data->menuAction()->setEnabled(enabled);
    // The menu's own shortcuts follow the menu, as on the original platform;
    // the toolbar keeps running the commands either way.
    for (QAction* a : data->findChildren<QAction*>())
        a->setEnabled(enabled);
    data->setEnabled(enabled);
}

void MainWindow::tbToolBar_ButtonClick(const QString& key)
{
    const QString command = CommandOfToolbarKey(key);
    if (!command.isEmpty())
        RunCommand(command);
}

void MainWindow::arrange(int code)
{
    const QRect area = mdi_->viewport()->rect();
    QList<QMdiSubWindow*> open;
    QList<QMdiSubWindow*> minimised;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->isVisible())
            continue;
        (sub->isMinimized() ? minimised : open) << sub;
    }
    switch (code) {
    case 0: { // staggered by a title bar, each keeping its size (the area's
              // own cascade would shrink them to their size hints)
        // Stepped back to front, the active window last: it stays active
        // and in front, and no window hides another's title bar.
        QList<QMdiSubWindow*> stacked;
        for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::StackingOrder))
            if (open.contains(sub))
                stacked << sub;
        if (QMdiSubWindow* active = mdi_->activeSubWindow(); active && stacked.removeOne(active))
            stacked << active;
        const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        QPoint at(0, 0);
        for (QMdiSubWindow* sub : stacked) {
            sub->showNormal();
            if (at.x() + step * 4 > area.width() || at.y() + step * 4 > area.height())
                at = QPoint(0, 0);
            sub->setGeometry(QRect(at, sub->size().boundedTo(area.size() - QSize(at.x(), at.y()))));
            sub->raise();
            at += QPoint(step, step);
        }
        if (!stacked.isEmpty())
            mdi_->setActiveSubWindow(stacked.last());
        break;
    }
    case 1: // one above the other, each as wide as the area
    case 2: { // side by side, each as high as the area
        if (open.isEmpty())
            break;
        const int n = static_cast<int>(open.size());
        for (int i = 0; i < n; ++i) {
            open[i]->showNormal();
            if (code == 1) {
                const int h = area.height() / n;
                open[i]->setGeometry(0, i * h, area.width(), h);
            } else {
                const int w = area.width() / n;
                open[i]->setGeometry(i * w, 0, w, area.height());
            }
        }
        break;
    }
    case 3: { // minimised windows in a row along the bottom edge
        int x = 0;
        for (QMdiSubWindow* sub : minimised) {
            const QSize size = sub->size();
            sub->move(x, area.height() - size.height());
            x += size.width();
        }
        break;
    }
    default:
        break;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove &&
        (watched == mdi_->viewport() || watched == toolBar_ || watched->parent() == toolBar_))
        appState().MouseOverPicture = false;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (shuttingDown_) {
        event->accept();
        return;
    }
    shuttingDown_ = true;
    RemoveTempPicture();
    // Every window closes in turn; one that refuses does not stop the shutdown.
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        sub->close();
        QCoreApplication::processEvents();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            w->close();
            QCoreApplication::processEvents();
        }
    }
    event->accept();
    QCoreApplication::quit();
}

} // namespace tracella
