#include "zoom/widgets/ZoomWindow.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "zoom/ZoomFactor.h"
#include "zoom/ZoomLayout.h"
#include "zoom/widgets/ZoomView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

namespace tracella {
namespace {

constexpr int TwipsPerPixel = 15;
constexpr int Pixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
constexpr int InitialSideTwips = 2200;
constexpr int InitialSide = Pixels(InitialSideTwips);
constexpr int MinimumSide = Pixels(1680);

// The 9 x 9 grid picture on the grid toggle.
QIcon GridIcon()
{
    QPixmap pixmap(9, 9);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    for (int i = 0; i <= 8; i += 4) {
        painter.drawLine(i, 0, i, 8);
        painter.drawLine(0, i, 8, i);
    }
    return QIcon(pixmap);
}

// Where the screen may not be read (a Wayland session), the document
// picture itself around the pixel under the pointer.
QImage PictureAround(const QRect& screenSource)
{
    PictureSurface* surface = app().document ? app().document->surface() : nullptr;
    if (!surface || !surface->hasPicture())
        return {};
    const QImage& picture = surface->picture().image;
    const QPoint origin = surface->mapToGlobal(QPoint(0, 0));
    if (!surface->zoom().isNatural()) // the picture as the zoomed view shows it
        return ZoomSourceImage(screenSource.translated(-origin), surface->rect(),
                               [surface](const QRect& part) { return surface->grab(part).toImage(); });
    return ZoomSourceImage(screenSource.translated(-origin), picture.rect(),
                           [&picture](const QRect& part) { return picture.copy(part); });
}

// At most four typed characters. Unlike QLineEdit's maximum length it
// leaves longer texts the window sets itself alone ("1000%").
class TypedLengthLimit final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override { return input.size() <= 4 ? Acceptable : Invalid; }
};

} // namespace

ZoomWindow::ZoomWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral("Zoom"));

    chkGrid_ = new QToolButton(this);
    chkGrid_->setObjectName(QStringLiteral("chkGrid"));
    chkGrid_->setCheckable(true);
    chkGrid_->setIcon(GridIcon());
    chkGrid_->setIconSize(QSize(9, 9));

    hsbZoom_ = new QScrollBar(Qt::Horizontal, this);
    hsbZoom_->setObjectName(QStringLiteral("hsbZoom"));
    hsbZoom_->setRange(ZoomMinimumPercent, ZoomMaximumPercent);
    hsbZoom_->setSingleStep(1);
    hsbZoom_->setPageStep(10);

    txtZoom_ = new QLineEdit(this);
    txtZoom_->setObjectName(QStringLiteral("txtZoom"));
    txtZoom_->setValidator(new TypedLengthLimit(txtZoom_));
    txtZoom_->installEventFilter(this);

    picZoom_ = new ZoomView(this);

    tmrZoom_ = new QTimer(this);
    tmrZoom_->setObjectName(QStringLiteral("tmrZoom"));
    tmrZoom_->setInterval(ZoomFollower::TickMs);

    connect(hsbZoom_, &QScrollBar::valueChanged, this, &ZoomWindow::hsbZoom_Change);
    connect(chkGrid_, &QToolButton::clicked, this, &ZoomWindow::chkGrid_Click);
    connect(tmrZoom_, &QTimer::timeout, this, &ZoomWindow::tmrZoom_Timer);
    connect(this, &ZoomWindow::keyRefused, this, [] { QApplication::beep(); });

    // Load: the scroll bar's change step shows "250%" and sets the factor.
    hsbZoom_->setValue(ZoomInitialPercent);
    chkGrid_->setChecked(true);
    picZoom_->setCrossHairVisible(true);
    setMinimumSize(MinimumSide, MinimumSide);
    resize(InitialSide, InitialSide);
}

const QImage& ZoomWindow::view() const
{
    return picZoom_->canvas();
}

QWidget* ZoomWindow::frameWindow()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? static_cast<QWidget*>(sub) : this;
}

void ZoomWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_)
        placeOnFirstShow();
}

void ZoomWindow::placeOnFirstShow()
{
    placed_ = true;
    QWidget* frame = frameWindow();
    if (frame == this)
        return;
    // The limits hold for the whole window, frame and title included.
    setMinimumSize(0, 0);
    frame->setMinimumSize(MinimumSide, MinimumSide);
    frame->resize(InitialSide, InitialSide);
    // Measured from the screen, not from the window area: the main window
    // is maximised only after this first show. The top stays where the
    // area puts it, once it has.
    const int left = frame->screen()->geometry().width() - Pixels(InitialSideTwips * 3 / 2);
    QPointer<QWidget> guarded = frame;
    QTimer::singleShot(0, frame, [guarded, left] {
        if (guarded)
            guarded->move(left, guarded->y());
    });
}

void ZoomWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (frameWindow()->isMinimized())
        return;
    const int strip = std::max(hsbZoom_->sizeHint().height(), txtZoom_->minimumSizeHint().height());
    const int textWidth = txtZoom_->fontMetrics().horizontalAdvance(QStringLiteral("1000%")) + 12;
    chkGrid_->setGeometry(0, 0, strip, strip);
    txtZoom_->setGeometry(width() - textWidth, -1, textWidth, strip + 1);
    hsbZoom_->setGeometry(strip, 0, std::max(0, width() - textWidth - strip), strip);
    picZoom_->setGeometry(0, strip, width(), std::max(0, height() - strip));
}

void ZoomWindow::closeEvent(QCloseEvent* event)
{
    // The zoom command hides the window, stops the timer and clears the mark.
    MainWindow* main = app().main;
    if (main && main->action(QStringLiteral("mnuViewZoom"))->isChecked()) {
        event->ignore();
        RunCommand(QStringLiteral("mnuViewZoom"));
        return;
    }
    QWidget::closeEvent(event);
}

void ZoomWindow::tmrZoom_Timer()
{
    const bool following = appState().MouseOverPicture && !frameWindow()->isMinimized();
    const QPoint pointer = services().screen->cursorPos();
    switch (follower_.tick(following, pointer)) {
    case ZoomFollower::Step::Black:
        picZoom_->clear();
        break;
    case ZoomFollower::Step::Draw:
        DrawZoom(pointer);
        break;
    case ZoomFollower::Step::Keep:
        break;
    }
}

void ZoomWindow::DrawZoom(QPoint screenPosition)
{
    if (picZoom_->width() <= 0 || picZoom_->height() <= 0)
        return;
    const ZoomLayout layout = ZoomLayoutAt(screenPosition, picZoom_->size(), zoom_);
    picZoom_->draw(screenAround(layout.source), layout.destination, zoom_, chkGrid_->isChecked());
}

QImage ZoomWindow::screenAround(const QRect& source) const
{
    ScreenService* screen = services().screen;
    QImage image = ZoomSourceImage(source, screen->geometry(), [screen](const QRect& part) { return screen->grab(part); });
    return image.isNull() ? PictureAround(source) : image;
}

void ZoomWindow::hsbZoom_Change(int value)
{
    txtZoom_->setText(ZoomPercentText(value / 100.0f));
    zoom_ = value / 100.0f;
    if (picZoom_->isVisible())
        picZoom_->setFocus();
    follower_.forceRedraw();
}

void ZoomWindow::chkGrid_Click()
{
    follower_.forceRedraw();
    if (picZoom_->isVisible())
        picZoom_->setFocus();
    picZoom_->setCrossHairVisible(chkGrid_->isChecked());
}

void ZoomWindow::applyTypedZoom()
{
    if (applyingZoom_)
        return;
    applyingZoom_ = true;
    // Moving the scroll bar runs its change step, which shows the value too.
    hsbZoom_->setValue(ZoomPercentOfText(txtZoom_->text()));
    txtZoom_->setText(ZoomPercentText(zoom_));
    applyingZoom_ = false;
}

void ZoomWindow::showPlainZoomText()
{
    txtZoom_->setText(PlainZoomText(txtZoom_->text()));
    txtZoom_->selectAll();
}

bool ZoomWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != txtZoom_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        // Switching windows is no focus change inside this one.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
            showPlainZoomText();
            // The line edit's own focus handling would drop the selection.
            QMetaObject::invokeMethod(txtZoom_, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            applyTypedZoom();
        break;
    }
    case QEvent::KeyPress: {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.isEmpty())
            break;
        switch (ClassifyZoomKey(typed.front())) {
        case ZoomKey::Pass:
            break;
        case ZoomKey::Apply:
            // As leaving the box and coming back: applied, then shown plainly.
            applyTypedZoom();
            txtZoom_->setFocus();
            showPlainZoomText();
            return true;
        case ZoomKey::Refuse:
            emit keyRefused();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tracella
