#include "app/widgets/Startup.h"

#include "acquire/widgets/AcquireCommands.h"
#include "acquire/widgets/CaptureCommand.h"
#include "app/core/AppState.h"
#include "app/core/TempPicture.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/HistoryCommands.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/ProjectCommands.h"
#include "app/widgets/RecoveryKeeper.h"
#include "app/widgets/ShellCommands.h"
#include "app/widgets/Sounds.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/widgets/PointPicking.h"
#include "calibration/widgets/ScaleCommands.h"
#include "data/widgets/DataCommands.h"
#include "data/widgets/DataWindow.h"
#include "extract/widgets/ExtractCommands.h"
#include "info/widgets/InfoCommands.h"
#include "info/widgets/SplashWindow.h"
#include "options/widgets/OptionsCommands.h"
#include "options/widgets/PointerCursor.h"
#include "picture/PictureJob.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureDrop.h"
#include "picture/widgets/PictureSurface.h"
#include "picture/widgets/RotationCommands.h"
#include "resources/CursorHotspots.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

#include <exception>

namespace tracella {
namespace {

void registerCommands(MainWindow& main)
{
    RegisterShellCommands(main);
    RegisterScaleCommands();
    RegisterOptionsCommands();
    RegisterPictureCommands();
    RegisterRotationCommands();
    RegisterDataCommands();
    RegisterExtractCommands();
    RegisterAcquireCommands();
    RegisterCaptureCommands();
    RegisterInfoCommands();
    RegisterProjectCommands();
    RegisterHistoryCommands(main);
}

// The main window's load step, in the designed order.
void loadMainWindow(MainWindow& main)
{
    main.assignToolbarIcons();

    auto* data = new DataWindow;
    app().data = data;
    data->Form_Load();

    AppState& s = appState();
    s.XAxisLog = s.YAxisLog = s.ScaleModeOn = s.MouseOverPicture = false;
    s.EscUndo = true;
    s.PointerIndex = 1;
    SetPointerSliderMaximum(PointerImageCount);

    auto* document = new DocumentWindow;
    app().document = document;
    ConnectPointPicking(*document->surface());
    // The pointer image of PointerIndex shows over the picture before any options are applied.
    document->surface()->setCursor(PointerCursor(s.PointerIndex));
    auto* zoom = new ZoomWindow;
    app().zoom = zoom;
    main.addChildWindow(document)->show();
    main.addChildWindow(data)->show();
    // The zoom window starts hidden so that the zoom command below shows it.
    main.addChildWindow(zoom)->hide();
    main.action(QStringLiteral("mnuViewToolbar"))->setChecked(true);
    main.action(QStringLiteral("mnuViewStatusBar"))->setChecked(true);
    main.action(QStringLiteral("mnuViewImageToolbar"))->setChecked(true);
    QCoreApplication::processEvents();

    RunCommand(QStringLiteral("mnuViewZoom"));
    RunCommand(QStringLiteral("mnuPictureResetScale"));
    s.applySettingsDefaults();
    main.action(QStringLiteral("mnuPictureScale"))->setChecked(false);
    main.setDataMenuEnabled(false);
}

// The grid beside the picture, so both are in view from the start.
void placeGridBesidePicture()
{
    if (!app().document || !app().data)
        return;
    QWidget* picture = app().document->parentWidget();
    QWidget* grid = app().data->parentWidget();
    const int left = picture->geometry().right() + 1;
    if (left + grid->width() <= grid->parentWidget()->width())
        grid->move(left, picture->y());
}

// Without a window manager (a bare X server) nobody maximises the window:
// give it the screen's available area ourselves.
void fillScreenWithoutWindowManager(MainWindow& main)
{
    QTimer::singleShot(300, &main, [&main] {
        const QScreen* screen = main.screen();
        if (!screen)
            return;
        const QRect available = screen->availableGeometry();
        if (main.frameGeometry().width() < available.width() * 9 / 10)
            main.setGeometry(available);
        placeGridBesidePicture();
    });
}

} // namespace

MainWindow* CreateMainWindow()
{
    // Before any picture arrives, by whatever road.
    AllowLargePictures();
    RemoveStaleTempPictures();
    auto* main = new MainWindow;
    main->setAttribute(Qt::WA_DeleteOnClose);
    app().main = main;
    registerCommands(*main);
    try {
        loadMainWindow(*main);
    } catch (const std::exception& e) {
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QString::fromLocal8Bit(e.what())});
    }
    return main;
}

MainWindow* RunStartup(const QStringList& arguments)
{
    std::shared_ptr<PictureJob> picture = StartArgumentFile(arguments);
    auto* splash = new SplashWindow;
    try {
        splash->show();
        splash->repaint();
        PlayResourceSound(StartSound);
        MainWindow* main = CreateMainWindow();
        main->showMaximized();
        fillScreenWithoutWindowManager(*main);
        splash->closeWhenShownLongEnough();
        main->raise();
        main->activateWindow();
        AcceptPictureDrops(*main);
        new RecoveryKeeper(main);
        OpenArgumentFile(arguments, std::move(picture));
        RunCommand(QStringLiteral("mnuViewSteps"));
        QTimer::singleShot(0, main, [] { OfferRecovery(); });
        return main;
    } catch (const std::exception& e) {
        splash->close();
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QString::fromLocal8Bit(e.what())});
        return nullptr;
    }
}

} // namespace tracella
