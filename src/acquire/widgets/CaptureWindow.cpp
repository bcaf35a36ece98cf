#include "acquire/widgets/CaptureWindow.h"

#include "acquire/CaptureGeometry.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Sounds.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace tracella {
namespace {

// The window was laid out in twips; the screen has 15 twips a pixel.
constexpr int TwipsPerPixel = 15;

QRect TwipsRect(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel};
}

QFont BoldFont(const QFont& base, double points)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), base.family()});
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QColor ToQColor(Colour colour)
{
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

// How often the countdown looks at the clock; events run in between.
constexpr int CountdownStepMs = 50;

} // namespace

CaptureWindow::CaptureWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmCaptureNew"));
    setWindowTitle(QStringLiteral("Tracella - Screen Capture"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(BoldFont(font(), 9.75));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    frmCapture_ = new QGroupBox(this);
    frmCapture_->setObjectName(QStringLiteral("frmCapture"));
    frmCapture_->setGeometry(TwipsRect(120, 0, 6375, 1455));
    frmCapture_->setAutoFillBackground(true);
    QPalette light = frmCapture_->palette();
    light.setColor(QPalette::Window, QColor(128, 128, 255));
    frmCapture_->setPalette(light);

    lblCapture_ = new QLabel(frmCapture_);
    lblCapture_->setObjectName(QStringLiteral("lblCapture"));
    lblCapture_->setGeometry(TwipsRect(120, 240, 6120, 390));
    lblCapture_->setFont(BoldFont(font(), 8.25));
    lblCapture_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblCapture_->setWordWrap(true);

    btnCaptureOK_ = new QPushButton(QStringLiteral("&Ok"), frmCapture_);
    btnCaptureOK_->setObjectName(QStringLiteral("btnCaptureOK"));
    btnCaptureOK_->setGeometry(TwipsRect(1530, 960, 1215, 375));
    btnCaptureOK_->setAutoDefault(true);
    btnCaptureOK_->setDefault(true);
    btnCaptureCancel_ = new QPushButton(QStringLiteral("&Cancel"), frmCapture_);
    btnCaptureCancel_->setObjectName(QStringLiteral("btnCaptureCancel"));
    btnCaptureCancel_->setGeometry(TwipsRect(3330, 960, 1215, 375));
    btnCaptureCancel_->setAutoDefault(true);
    connect(btnCaptureOK_, &QPushButton::clicked, this, &CaptureWindow::btnCaptureOK_Click);
    connect(btnCaptureCancel_, &QPushButton::clicked, this, &QWidget::close);

    Form_Load();
    btnCaptureOK_->setFocus();
}

void CaptureWindow::Form_Load()
{
    // The magnifier must not draw while the screen is frozen and copied.
    if (app().zoom) {
        QTimer* tmrZoom = app().zoom->timer();
        zoomWasRunning_ = tmrZoom->isActive();
        tmrZoom->stop();
    }
    delay_ = CaptureDelaySeconds;
    lblCapture_->setText(CaptureInstructions(delay_));
    frmCapture_->setTitle(QStringLiteral("Start Screen Capture"));
    btnCaptureCancel_->setVisible(true);

    const QRect screen = services().screen->geometry();
    resize(TwipsRect(0, 0, 6600, 1515).size());
    move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
    if (app().main)
        savedMainState_ = app().main->windowState();
    frmCapture_->setVisible(true);
}

void CaptureWindow::btnCaptureOK_Click()
{
    frmCapture_->hide();
    hide();
    release();
    const QPointer<CaptureWindow> alive(this);
    waitForDelay();
    if (!alive)
        return; // the program closed meanwhile
    PlayResourceSound(ClickSound);
    if (!alive)
        return;
    if (!freezeScreen()) {
        ShowMessage(QStringLiteral("The screen cannot be read on this desktop: it does not let programs copy "
                                   "what it shows (a Wayland session without screen access, for example).\r\n"
                                   "Nothing was captured."),
                    QStringLiteral("Screen Capture"), MessageIcon::Exclamation);
        if (alive)
            close();
        return;
    }
    showFrozenScreen();
    if (!alive)
        return;
    ShowMessage(QStringLiteral("Use your mouse to select the area you want to digitize:\r\n"
                               "- Left button to define area.\r\n"
                               "- Right button to redefine area."),
                QStringLiteral("Define Area to Capture"), MessageIcon::Information);
}

void CaptureWindow::waitForDelay()
{
    ClockService& clock = *services().clock;
    const qint64 end = clock.elapsedMs() + CaptureWaitMs(clock.now().time(), delay_);
    for (qint64 now = clock.elapsedMs(); now < end; now = clock.elapsedMs())
        clock.wait(static_cast<int>(std::min<qint64>(end - now, CountdownStepMs)));
}

bool CaptureWindow::freezeScreen()
{
    frozen_ = services().screen->grab(services().screen->geometry());
    return !frozen_.isNull();
}

void CaptureWindow::showFrozenScreen()
{
    selecting_ = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Without a window manager to make it full screen, the geometry does.
    setGeometry(services().screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    QCoreApplication::processEvents();
}

void CaptureWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CaptureWindow::mousePressEvent(QMouseEvent* event)
{
    if (!selecting_)
        return;
    if (!firstCornerSet_) {
        firstCorner_ = event->position();
        firstCornerSet_ = true;
    } else if (event->button() == Qt::RightButton) {
        firstCornerSet_ = false;
        selection_.reset();
        update();
    } else if (event->button() == Qt::LeftButton) {
        CaptureArea(firstCorner_, event->position());
        close();
    }
}

void CaptureWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (selecting_ && firstCornerSet_)
        followPointer(event->position());
}

void CaptureWindow::followPointer(QPointF pointer)
{
    CaptureSelection s;
    s.rect = CaptureRect(firstCorner_, pointer);
    s.outlineColour = drawColour_;
    s.labelText = CaptureLabelText(s.rect);
    const QFontMetrics metrics(font());
    s.labelSize = QSize(metrics.horizontalAdvance(s.labelText), metrics.height());
    s.labelPosition = CaptureLabelPosition(s.rect, s.labelSize);
    if (s.labelPosition)
        drawColour_ = CaptureLabelColour(frozenColourAt(CaptureLabelProbe(s.rect)));
    s.labelColour = drawColour_;
    selection_ = s;
    update();
}

void CaptureWindow::paintEvent(QPaintEvent* event)
{
    if (!selecting_) {
        QWidget::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), frozen_);
    if (!selection_)
        return;
    const CaptureSelection& s = *selection_;
    painter.setPen(ToQColor(s.outlineColour));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(s.rect.x(), s.rect.y(), s.rect.width(), s.rect.height());
    if (s.labelPosition) {
        painter.setPen(ToQColor(s.labelColour));
        painter.drawText(QRect(*s.labelPosition, s.labelSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         s.labelText);
    }
}

void CaptureWindow::CaptureArea(QPointF firstCorner, QPointF secondCorner)
{
    firstCornerSet_ = false;
    const QRect rect = CaptureRect(firstCorner, secondCorner);
    if (rect.width() < 1 || rect.height() < 1)
        return;
    selection_.reset();
    update();
    const QImage picTemp = frozenPart(rect);
    services().clipboard->clear();
    services().clipboard->setImage(picTemp);
    RunCommand(QStringLiteral("mnuPicturePaste"));
}

QImage CaptureWindow::frozenPart(const QRect& rect) const
{
    const qreal ratio = frozen_.devicePixelRatio();
    const QRect pixels(QPoint(qRound(rect.x() * ratio), qRound(rect.y() * ratio)),
                       QSize(qRound(rect.width() * ratio), qRound(rect.height() * ratio)));
    QImage part = frozen_.copy(pixels);
    part.setDevicePixelRatio(1);
    return part;
}

Colour CaptureWindow::frozenColourAt(QPoint position) const
{
    const qreal ratio = frozen_.devicePixelRatio();
    const QPoint pixel(qRound(position.x() * ratio), qRound(position.y() * ratio));
    if (!frozen_.valid(pixel))
        return Rgb(0, 0, 0);
    const QRgb rgb = frozen_.pixel(pixel);
    return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void CaptureWindow::closeEvent(QCloseEvent* event)
{
    if (app().zoom && zoomWasRunning_)
        app().zoom->timer()->start();
    if (app().main)
        app().main->setWindowState(savedMainState_);
    release();
    QWidget::closeEvent(event);
}

void CaptureWindow::release()
{
    if (!released_) {
        released_ = true;
        emit released();
    }
}

} // namespace tracella
