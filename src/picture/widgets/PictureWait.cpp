#include "picture/widgets/PictureWait.h"

#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace tracella {
namespace {

// A picture that decodes within this time opens without any busy show.
constexpr int QuietMs = 40;
// The progress bar and the end of the work are looked at once a frame.
constexpr int LookMs = 16;

// Holds back input (and closing) while a picture decodes; Esc gives up,
// and the mouse reaches the Cancel button, which gives up as well.
class EscapeWatch final : public QObject {
public:
    EscapeWatch(std::function<void()> onEscape, QPushButton* cancel)
        : onEscape_(std::move(onEscape)), cancel_(cancel)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~EscapeWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    EscapeWatch(const EscapeWatch&) = delete;
    EscapeWatch& operator=(const EscapeWatch&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && onEscape_)
                std::exchange(onEscape_, nullptr)();
            return true;
        case QEvent::ShortcutOverride: event->accept(); return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return !towardsCancel(watched, event);
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
        case QEvent::InputMethod: return true;
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    // The main window's own window passes the mouse on to the widget
    // beneath it, where all but the button are held back; a press there
    // goes on only over the button, since a press reaching a widget moves
    // the focus before any filter sees it.
    bool towardsCancel(QObject* watched, QEvent* event) const
    {
        if (!cancel_ || !cancel_->isVisible())
            return false;
        if (watched == cancel_)
            return true;
        if (watched != cancel_->window()->windowHandle())
            return false;
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return true;
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        return cancel_->rect().contains(cancel_->mapFrom(cancel_->window(), at));
    }

    std::function<void()> onEscape_;
    QPushButton* cancel_;
};

// The main window's progress bar and Cancel button for the length of one wait.
class ProgressShown {
public:
    ProgressShown() : main_(app().main)
    {
        if (main_) {
            main_->setProgressBarVisible(true);
            main_->setCancelDecodeVisible(true);
        }
    }
    ~ProgressShown()
    {
        if (main_) {
            main_->setProgressBarVisible(false);
            main_->setCancelDecodeVisible(false);
        }
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

    void show(const DecodeProgress& progress)
    {
        if (!main_)
            return;
        QProgressBar* bar = main_->progressBar();
        const int rows = progress.rows();
        bar->setRange(0, rows); // 0 to 0 runs to and fro
        if (rows > 0)
            bar->setValue(progress.rowsDone());
    }

private:
    MainWindow* main_;
};

} // namespace

std::optional<LoadedPicture> AwaitPicture(PictureJob& job)
{
    QEventLoop loop;
    bool givenUp = false;
    const auto giveUp = [&] {
        givenUp = true;
        job.giveUp();
        loop.quit();
    };
    QPushButton* cancel = app().main ? app().main->cancelDecodeButton() : nullptr;
    EscapeWatch escape(giveUp, cancel);
    // An Esc typed ahead counts as well.
    QCoreApplication::processEvents();
    if (!givenUp && job.waitFor(QuietMs))
        return job.take();
    if (givenUp)
        return std::nullopt;

    BusyPointer busy;
    ProgressShown bar;
    if (cancel)
        QObject::connect(cancel, &QPushButton::clicked, &loop, giveUp);
    QTimer look;
    look.setInterval(LookMs);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        bar.show(job.progress());
        if (job.isFinished())
            loop.quit();
    });
    bar.show(job.progress());
    look.start();
    loop.exec();
    if (givenUp)
        return std::nullopt;
    return job.take();
}

} // namespace tracella
