#include "picture/widgets/DocumentWindow.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/DocumentLayout.h"
#include "picture/widgets/PictureSurface.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace tracella {
namespace {

constexpr int EscapeKey = 27;
constexpr int ToolbarHeight = 22;
constexpr int ScrollStep = 20;
// One notch of a mouse wheel.
constexpr int WheelNotch = 120;
// The surface's pen width until the options set DotSize: the default DotSize.
constexpr int DefaultPenWidth = 3;

const QColor PressedText(0, 0, 255);
const QColor ReleasedText(0, 0, 0);

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

QRect screenRect(const QWidget* w)
{
    if (services().screen)
        return services().screen->geometry();
    return w->screen() ? w->screen()->geometry() : QRect();
}

} // namespace

DocumentWindow::DocumentWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("Picture"));

    buildImageToolbar();

    viewport_ = new QWidget(this);
    viewport_->setObjectName(QStringLiteral("Picture1"));
    surface_ = new PictureSurface(viewport_);
    surface_->setPenWidth(DefaultPenWidth);

    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar* bar : {hScroll1_, vScroll1_})
        bar->setSingleStep(ScrollStep);
    // Scrolling moves the surface only; its frame, and so every reading, stays.
    connect(hScroll1_, &QScrollBar::valueChanged, this, [this](int v) { surface_->move(-v, surface_->y()); });
    connect(vScroll1_, &QScrollBar::valueChanged, this, [this](int v) { surface_->move(surface_->x(), -v); });

    // Key presses reach the window through the surface, which takes the focus.
    setFocusProxy(surface_);
    setMouseTracking(true);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child == surface_)
            continue;
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    surface_->installEventFilter(this);
    buildZoomControls();
    connect(qApp, &QApplication::focusChanged, this, &DocumentWindow::focusChanged);
    Form_Resize();
}

void DocumentWindow::buildImageToolbar()
{
    imageToolbar_ = new QWidget(this);
    imageToolbar_->setObjectName(QStringLiteral("Picture3"));
    imageToolbar_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(imageToolbar_);
    row->setContentsMargins(6, 0, 4, 0);
    row->setSpacing(14);
    const char* const captions[] = {"Save Picture", "Undo Last Point", "Undo Rotate", "Rotate"};
    for (int index = 3; index >= 0; --index) {
        auto* label = new QLabel(QString::fromLatin1(captions[index]), imageToolbar_);
        label->setObjectName(QStringLiteral("lblbutton"));
        label->setProperty("index", index);
        setTextColour(label, ReleasedText);
        row->addWidget(label);
        lblbutton_[index] = label;
    }
    row->addStretch();
    cboCurve_ = new QComboBox(imageToolbar_);
    cboCurve_->setObjectName(QStringLiteral("cboCurve"));
    cboCurve_->setFixedHeight(ToolbarHeight - 2);
    cboCurve_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboCurve_->setMaximumWidth(220);
    cboCurve_->setToolTip(QStringLiteral("The curve the points go to (Data > Curves)"));
    connect(cboCurve_, &QComboBox::activated, this, [](int index) { DataForm().showCurve(index); });
    row->addWidget(cboCurve_);
    showCurves();
    cboZoom_ = new QComboBox(imageToolbar_);
    cboZoom_->setObjectName(QStringLiteral("cboZoom"));
    cboZoom_->setEditable(true);
    cboZoom_->setInsertPolicy(QComboBox::NoInsert);
    cboZoom_->setFixedHeight(ToolbarHeight - 2);
    cboZoom_->setToolTip(QStringLiteral("Zoom of the picture (Ctrl+wheel, Ctrl++, Ctrl+-, Ctrl+0)"));
    for (int percent : ZoomLadderPercent)
        cboZoom_->addItem(ViewZoom(percent / 100.0).text());
    cboZoom_->setCurrentText(ViewZoom().text());
    row->addWidget(cboZoom_);
    picture4_ = new QLabel(imageToolbar_);
    picture4_->setObjectName(QStringLiteral("Picture4"));
    picture4_->setPixmap(style()->standardIcon(QStyle::SP_TitleBarCloseButton).pixmap(12, 12));
    row->addWidget(picture4_);
}

void DocumentWindow::showCurves()
{
    const CurveDocument& curves = app().curves;
    const QSignalBlocker quiet(cboCurve_);
    cboCurve_->clear();
    for (int i = 0; i < curves.count(); ++i) {
        const Colour c = curves.colourOf(i, appState().PointsColor);
        QPixmap swatch(10, 10);
        swatch.fill(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
        cboCurve_->addItem(QIcon(swatch), curves.curve(i).name);
    }
    cboCurve_->setCurrentIndex(curves.currentIndex());
    // The list shows long names whole, however narrow the box.
    cboCurve_->view()->setMinimumWidth(std::min(480, cboCurve_->view()->sizeHintForColumn(0) + 8));
}

void DocumentWindow::buildZoomControls()
{
    const auto shortcut = [this](QKeyCombination keys, auto action) {
        auto* s = new QShortcut(QKeySequence(keys), this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    const auto zoomIn = [this] { zoomView(surface_->zoom().steppedIn()); };
    const auto zoomOut = [this] { zoomView(surface_->zoom().steppedOut()); };
    shortcut(Qt::CTRL | Qt::Key_Plus, zoomIn);
    shortcut(Qt::CTRL | Qt::Key_Equal, zoomIn); // "+" without Shift on many keyboards
    shortcut(Qt::CTRL | Qt::Key_Minus, zoomOut);
    shortcut(Qt::CTRL | Qt::Key_0, [this] { zoomView(ViewZoom()); });
    connect(cboZoom_, &QComboBox::activated, this, [this] { zoomBoxEdited(); });
    connect(cboZoom_->lineEdit(), &QLineEdit::editingFinished, this, [this] { zoomBoxEdited(); });
}

void DocumentWindow::zoomBoxEdited()
{
    const std::optional<ViewZoom> typed = ViewZoom::fromText(cboZoom_->currentText());
    if (typed)
        zoomView(*typed);
    cboZoom_->setCurrentText(surface_->zoom().text());
}

void DocumentWindow::zoomView(ViewZoom zoom, std::optional<QPoint> anchor)
{
    const QPoint at = anchor.value_or(QPoint(viewport_->width() / 2, viewport_->height() / 2));
    const ViewZoom before = surface_->zoom();
    const QPoint scroll(hScroll1_->value(), vScroll1_->value());
    // Steps in a row about one spot keep the same picture point, even where
    // the picture, fitting the viewport, could not be moved on the way.
    QPointF p(before.pictureAtOffset(scroll.x(), at.x()), before.pictureAtOffset(scroll.y(), at.y()));
    if (anchored_ && anchored_->at == at && anchored_->scroll == scroll)
        p = anchored_->picture;
    surface_->setZoom(zoom); // the layout step follows the new size
    hScroll1_->setValue(zoom.scrollKeeping(p.x(), at.x()));
    vScroll1_->setValue(zoom.scrollKeeping(p.y(), at.y()));
    anchored_ = Anchor{at, QPoint(hScroll1_->value(), vScroll1_->value()), p};
    cboZoom_->setCurrentText(zoom.text());
}

bool DocumentWindow::wheelZoom(QWheelEvent* event, QPoint viewportOffset)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    wheelRemainder_ += event->angleDelta().y();
    ViewZoom zoom = surface_->zoom();
    for (; wheelRemainder_ >= WheelNotch; wheelRemainder_ -= WheelNotch)
        zoom = zoom.steppedIn();
    for (; wheelRemainder_ <= -WheelNotch; wheelRemainder_ += WheelNotch)
        zoom = zoom.steppedOut();
    const QPoint p = event->position().toPoint() + viewportOffset;
    if (zoom.factor() != surface_->zoom().factor())
        zoomView(zoom, p);
    event->accept();
    return true;
}

QLabel* DocumentWindow::labelButton(int index) const
{
    return index >= 0 && index < 4 ? lblbutton_[index] : nullptr;
}

void DocumentWindow::Form_Load()
{
    const QRect screen = screenRect(this);
    QWidget* outer = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    outer->resize(static_cast<int>(0.53 * screen.width()), static_cast<int>(0.45 * screen.height()));
    Form_Resize();
}

void DocumentWindow::Form_Resize()
{
    const bool toolbarShown = !imageToolbar_->isHidden();
    imageToolbar_->setGeometry(0, 0, width(), ToolbarHeight);
    const DocumentLayout layout = LayOutDocument({size(), toolbarShown ? ToolbarHeight : 0,
                                                  vScroll1_->sizeHint().width(), hScroll1_->sizeHint().height(),
                                                  surface_->size()});
    viewport_->setGeometry(layout.viewport);
    hScroll1_->setGeometry(layout.horizontalBar);
    vScroll1_->setGeometry(layout.verticalBar);
    // The surface goes back to the corner, and the bars with it.
    surface_->move(0, 0);
    hScroll1_->setRange(0, layout.horizontalMaximum);
    vScroll1_->setRange(0, layout.verticalMaximum);
    hScroll1_->setValue(0);
    vScroll1_->setValue(0);
    hScroll1_->setPageStep(std::max(1, layout.viewport.width()));
    vScroll1_->setPageStep(std::max(1, layout.viewport.height()));
    hScroll1_->setVisible(layout.horizontalVisible);
    vScroll1_->setVisible(layout.verticalVisible);
}

void DocumentWindow::Form_KeyDown(int keyCode)
{
    if (keyCode == EscapeKey && appState().EscUndo)
        removeLastGridRow();
}

void DocumentWindow::undoLastPoint()
{
    const UndoStep step(QStringLiteral("Undo Last Point"));
    surface_->setFocus();
    AppState& s = appState();
    const bool remembered = s.EscUndo;
    s.EscUndo = true;
    Form_KeyDown(EscapeKey);
    s.EscUndo = remembered;
}

// The last row, header row included, becomes the grid's selection, and the
// remove-selected command takes it (a header row alone it leaves in place).
void DocumentWindow::removeLastGridRow()
{
    DataWindow& data = DataForm();
    const int last = data.grid().rows().rowCount() - 1;
    data.selectRows(last, last);
    RunCommand(QStringLiteral("mnuDataRemoveSelected"));
}

void DocumentWindow::lblbutton_MouseDown(QLabel* label)
{
    setTextColour(label, PressedText);
}

void DocumentWindow::lblbutton_MouseUp(QLabel* label)
{
    setTextColour(label, ReleasedText);
}

void DocumentWindow::lblbutton_Click(QLabel* label)
{
    const QString caption = label->text();
    if (caption == QStringLiteral("Rotate"))
        app().commands.run(QStringLiteral("RotateDocumentPicture"));
    else if (caption == QStringLiteral("Undo Rotate"))
        app().commands.run(QStringLiteral("UndoRotate"));
    else if (caption == QStringLiteral("Undo Last Point"))
        undoLastPoint();
    else if (caption == QStringLiteral("Save Picture"))
        app().commands.run(QStringLiteral("SaveDocumentPicture"));
}

void DocumentWindow::focusChanged(QWidget* old, QWidget* now)
{
    const bool hadFocus = old && (old == this || isAncestorOf(old));
    const bool hasFocus = now && (now == this || isAncestorOf(now));
    if (hadFocus && !hasFocus)
        appState().MouseOverPicture = false;
}

void DocumentWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    showCurves(); // the settings' points colour is known by now
}

void DocumentWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void DocumentWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Form_KeyDown(EscapeKey);
        return;
    }
    QWidget::keyPressEvent(event);
}

void DocumentWindow::mouseMoveEvent(QMouseEvent* event)
{
    appState().MouseOverPicture = false;
    QWidget::mouseMoveEvent(event);
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == surface_) {
        if (event->type() == QEvent::Resize)
            Form_Resize();
        if (event->type() == QEvent::Wheel)
            return wheelZoom(static_cast<QWheelEvent*>(event), surface_->pos());
        return false;
    }
    if (watched == viewport_ && event->type() == QEvent::Wheel)
        return wheelZoom(static_cast<QWheelEvent*>(event), QPoint());
    if (watched == imageToolbar_ && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        Form_Resize();
    if (event->type() == QEvent::MouseMove)
        appState().MouseOverPicture = false; // over the window, but not over the picture

    auto* label = qobject_cast<QLabel*>(watched);
    if (!label || event->type() == QEvent::MouseMove)
        return false;
    const bool isButton = label->objectName() == QStringLiteral("lblbutton");
    if (event->type() == QEvent::MouseButtonPress && isButton) {
        lblbutton_MouseDown(label);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // Any button colours the text while pressed; only the left one clicks.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool inside = mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint());
        if (isButton)
            lblbutton_MouseUp(label);
        if (inside && isButton)
            lblbutton_Click(label);
        else if (inside && label == picture4_)
            RunCommand(QStringLiteral("mnuViewImageToolbar"));
    }
    return false;
}

} // namespace tracella
