#include "extract/widgets/AutoRead.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Sounds.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/widgets/RecordPoint.h"
#include "data/GridRows.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "extract/ColourSweep.h"
#include "extract/ExtractMessages.h"
#include "extract/SingleArithmetic.h"
#include "extract/SweepProgress.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <QToolBar>

#include <exception>
#include <initializer_list>
#include <new>
#include <vector>

namespace tracella {
namespace {

bool ToolbarShown(const MainWindow& main)
{
    const QAction* item = main.action(QStringLiteral("mnuViewToolbar"));
    return item && item->isChecked();
}

// The toolbar's progress bar for the length of one sweep: shown at the
// start when the toolbar is, moved only while the toolbar is shown, hidden
// at the end either way.
class SweepProgressBar {
public:
    explicit SweepProgressBar(MainWindow* main) : main_(main)
    {
        if (main_)
            toolbarItem_ = main_->action(QStringLiteral("mnuViewToolbar"));
        if (!main_ || !ToolbarShown(*main_))
            return;
        main_->setProgressBarVisible(true);
        // The sweep holds the event loop, so the toolbar is laid out and the
        // bar painted here rather than by pending events.
        QCoreApplication::sendPostedEvents(main_->toolBar(), QEvent::LayoutRequest);
        QProgressBar* bar = main_->progressBar();
        bar->setRange(0, ProgressResolution);
        bar->setValue(0);
        bar->repaint();
    }
    ~SweepProgressBar()
    {
        if (main_)
            main_->setProgressBarVisible(false);
    }
    SweepProgressBar(const SweepProgressBar&) = delete;
    SweepProgressBar& operator=(const SweepProgressBar&) = delete;

    // Each new value repaints the bar at once, so only values that move it
    // by a whole pixel are handed on; the bar looks the same either way.
    void show(int shown)
    {
        if (!main_ || !toolbarItem_ || !toolbarItem_->isChecked())
            return;
        QProgressBar* bar = main_->progressBar();
        const int pixel = static_cast<int>(std::int64_t{shown} * bar->width() / ProgressResolution);
        if (pixel == shownPixel_ && shown != ProgressResolution)
            return;
        shownPixel_ = pixel;
        bar->setValue(shown);
    }

private:
    QPointer<MainWindow> main_;
    QPointer<QAction> toolbarItem_;
    int shownPixel_ = 0;
};

// The grid and the picture are redrawn once when the sweep ends rather than
// at every point: the sweep holds the event loop, and each repaint of the
// progress bar would otherwise redraw them with it.
class HeldRedraws {
public:
    explicit HeldRedraws(std::initializer_list<QWidget*> widgets)
    {
        for (QWidget* widget : widgets) {
            if (widget && widget->updatesEnabled()) {
                widget->setUpdatesEnabled(false);
                held_.emplace_back(widget);
            }
        }
    }
    ~HeldRedraws()
    {
        for (const QPointer<QWidget>& widget : held_) {
            if (widget)
                widget->setUpdatesEnabled(true);
        }
    }
    HeldRedraws(const HeldRedraws&) = delete;
    HeldRedraws& operator=(const HeldRedraws&) = delete;

private:
    std::vector<QPointer<QWidget>> held_;
};

// The report of a sweep that filled the grid: it says so before the usual lines.
Message GridFullMessage(std::int64_t found, const QString& startTime, const QString& endTime)
{
    Message report = AutoReadReportMessage(found, startTime, endTime);
    report.text = QStringLiteral("The data grid is full: it holds at most %1 points, so the reading stopped there.\r\n")
                      .arg(MaxGridRowCount - 1) +
                  report.text;
    report.icon = MessageIcon::Exclamation;
    return report;
}

QString TimeNow()
{
    return TimeOfDayText(services().clock->now().time());
}

} // namespace

DocumentSweep SweepDocumentPicture()
{
    const AppState& s = appState();
    DataWindow& data = DataForm();
    PictureSurface* surface = app().document ? app().document->surface() : nullptr;
    const QImage picture = surface ? surface->picture().image : QImage();
    SweepProgressBar progress(app().main);
    const HeldRedraws held{&data, surface};

    DocumentSweep sweep;
    SweepHandlers handlers;
    handlers.match = [&](double x, float y) {
        if (data.grid().rowCount() >= MaxGridRowCount) {
            sweep.gridFull = true;
            return SweepAnswer::Stop;
        }
        // A point RecordPoint cannot store has had its message; it is still
        // marked and counted.
        RecordPoint({x, false}, {y, true}, true);
        // The column in single precision, as the sweep read its pixel.
        if (surface)
            surface->drawDot(ToSingle(x), y, s.ARPointColor);
        return SweepAnswer::Continue;
    };
    handlers.progress = [&progress](int shown) { progress.show(shown); };
    SweepSettings settings = SweepSettingsOf(s);
    if (surface)
        settings.backdrop = surface->backdrop();
    sweep.found = SweepColours(picture, settings, handlers).found;
    return sweep;
}

void AutoRead()
{
    try {
        const QString startTime = TimeNow();
        DocumentSweep sweep;
        {
            BusyPointer busy(Qt::WaitCursor);
            sweep = SweepDocumentPicture();
        }
        const QString endTime = TimeNow();
        PlayResourceSound(ClickSound);
        ShowMessage(sweep.gridFull ? GridFullMessage(sweep.found, startTime, endTime)
                                   : AutoReadReportMessage(sweep.found, startTime, endTime));
    } catch (const std::bad_alloc&) {
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception& e) {
        ShowUnexpectedError({ErrorNumber::InvalidArgument, QString::fromLocal8Bit(e.what())});
    }
}

} // namespace tracella
