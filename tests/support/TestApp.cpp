#include "support/TestApp.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Startup.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace tracella::test {

TestApp::TestApp(bool showMaximized)
{
    appState() = AppState{};
    app().commands = CommandRouter{};
    main_ = CreateMainWindow();
    if (showMaximized) {
        main_->showMaximized();
        (void)QTest::qWaitForWindowExposed(main_);
    }
}

void ResetAppContext()
{
    AppContext& c = app();
    c.main.clear();
    c.document.clear();
    c.data.clear();
    c.zoom.clear();
    c.tip.clear();
    c.commands = CommandRouter{};
    c.curves = CurveDocument{};
    c.history.clear();
    c.calibrationState.afterRestore = nullptr;
    c.pictureOrigin = {};
    c.projectFileName.clear();
}

TestApp::~TestApp()
{
    // Tear down without the shutdown questions: the test is over.
    main_->setAttribute(Qt::WA_DeleteOnClose, false);
    delete main_;
    for (QWidget* w : QApplication::topLevelWidgets())
        w->deleteLater();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetAppContext();
}

void TestApp::run(const QString& name)
{
    RunCommand(name);
}

void TestApp::settle(int ms)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (t.elapsed() < ms);
}

PictureSurface& TestApp::surface()
{
    return *app().document->surface();
}

void TestApp::activate(QWidget* form)
{
    main_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(main_));
    main_->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    settle();
}

PictureSurface& TestApp::paste(const QImage& picture)
{
    services_.clipboard.setImage(picture);
    run(QStringLiteral("mnuPicturePaste"));
    return surface();
}

QImage PlainPicture(QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

} // namespace tracella::test
