#include "extract/widgets/TraceCurvePanel.h"

#include "app/core/NumberReading.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "extract/CurveFollow.h"
#include "extract/PerceptualColour.h"
#include "extract/PictureColours.h"
#include "extract/widgets/TracePreviewLayer.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "picture/widgets/RegionDrag.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

namespace tracella {
namespace {

QColor ColourOf(Colour c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

template <typename T>
T* Named(T* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

constexpr int SweepTolerance = 40;

QPointer<TraceCurvePanel>& Panel()
{
    static QPointer<TraceCurvePanel> panel;
    return panel;
}

} // namespace

TraceCurvePanel::TraceCurvePanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmTraceCurve"));
    setWindowTitle(QStringLiteral("Trace Curve"));
    buildControls();
    setColour(appState().ARDataColor);
    showRegion();
}

void TraceCurvePanel::buildControls()
{
    auto* colourBox = Named(new QGroupBox(QStringLiteral("Curve Color")), "frameTraceColorBox");
    frameTraceColor_ = Named(new QFrame, "frameTraceColor");
    frameTraceColor_->setFixedSize(40, 22);
    frameTraceColor_->setFrameShape(QFrame::Box);
    frameTraceColor_->setAutoFillBackground(true);
    cmdTracePick_ = Named(new QPushButton(QStringLiteral("Pick on &Picture")), "cmdTracePick");
    cmdTracePick_->setCheckable(true);
    cmdTracePick_->setToolTip(QStringLiteral("Click the curve on the picture to take its color"));
    cmdTraceColor_ = Named(new QPushButton(QStringLiteral("&Color...")), "cmdTraceColor");
    auto* colourRow = new QHBoxLayout(colourBox);
    colourRow->addWidget(frameTraceColor_);
    colourRow->addWidget(cmdTracePick_);
    colourRow->addWidget(cmdTraceColor_);

    auto* matchBox = Named(new QGroupBox(QStringLiteral("Settings")), "frameTraceSettings");
    auto* form = new QFormLayout(matchBox);
    TxtTolerance_ = Named(new QSpinBox, "TxtTolerance");
    TxtTolerance_->setRange(0, 255);
    TxtTolerance_->setValue(SweepTolerance);
    TxtTolerance_->setToolTip(QStringLiteral("Largest distance in RGB space that still matches"));
    form->addRow(QStringLiteral("Color tolerance (0-255):"), TxtTolerance_);
    chkTracePreview_ = Named(new QCheckBox(QStringLiteral("Show matching pixels")), "chkTracePreview");
    chkTracePreview_->setChecked(true);
    form->addRow(chkTracePreview_);
    TxtTraceStep_ = Named(new QLineEdit(QStringLiteral("1")), "TxtTraceStep");
    optStepPixels_ = Named(new QRadioButton(QStringLiteral("pixels")), "optStepPixels");
    optStepUnits_ = Named(new QRadioButton(QStringLiteral("data units")), "optStepUnits");
    optStepPixels_->setChecked(true);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(TxtTraceStep_);
    stepRow->addWidget(optStepPixels_);
    stepRow->addWidget(optStepUnits_);
    form->addRow(QStringLiteral("Step:"), stepRow);
    lblTraceAxis_ = Named(new QLabel, "lblTraceAxis");
    form->addRow(QStringLiteral("Along:"), lblTraceAxis_);
    optTraceCurve_ = Named(new QRadioButton(QStringLiteral("Curve")), "optTraceCurve");
    optTraceMarkers_ = Named(new QRadioButton(QStringLiteral("Markers (one point each)")), "optTraceMarkers");
    optTraceFollow_ = Named(new QRadioButton(QStringLiteral("Follow from the picked point")), "optTraceFollow");
    optTraceFollow_->setToolTip(QStringLiteral("Only the curve through the point picked on the picture, in its "
                                               "own order, loops included; colors compared as the eye sees them"));
    optTraceFollow_->setEnabled(false);
    optTraceCurve_->setChecked(true);
    // The step's unit and the shape are two separate choices, though their
    // buttons share one parent.
    auto* unitGroup = new QButtonGroup(this);
    unitGroup->addButton(optStepPixels_);
    unitGroup->addButton(optStepUnits_);
    auto* shapeGroup = new QButtonGroup(this);
    for (QRadioButton* shape : {optTraceCurve_, optTraceMarkers_, optTraceFollow_})
        shapeGroup->addButton(shape);
    auto* shapeRow = new QHBoxLayout;
    shapeRow->addWidget(optTraceCurve_);
    shapeRow->addWidget(optTraceMarkers_);
    form->addRow(QStringLiteral("Shape:"), shapeRow);
    form->addRow(QString(), optTraceFollow_);

    auto* regionBox = Named(new QGroupBox(QStringLiteral("Search Region")), "frameTraceRegion");
    cmdTraceRegion_ = Named(new QPushButton(QStringLiteral("&Drag on Picture")), "cmdTraceRegion");
    cmdTraceRegion_->setCheckable(true);
    cmdTraceWhole_ = Named(new QPushButton(QStringLiteral("&Whole Picture")), "cmdTraceWhole");
    lblTraceRegion_ = Named(new QLabel, "lblTraceRegion");
    auto* regionLayout = new QVBoxLayout(regionBox);
    auto* regionRow = new QHBoxLayout;
    regionRow->addWidget(cmdTraceRegion_);
    regionRow->addWidget(cmdTraceWhole_);
    regionLayout->addLayout(regionRow);
    regionLayout->addWidget(lblTraceRegion_);

    auto* cmdTrace = Named(new QPushButton(QStringLiteral("&Trace")), "cmdTrace");
    cmdTrace->setDefault(true);
    auto* cmdClose = Named(new QPushButton(QStringLiteral("Close")), "cmdTraceClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdTrace);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(colourBox);
    layout->addWidget(matchBox);
    layout->addWidget(regionBox);
    layout->addLayout(buttons);

    connect(cmdTraceColor_, &QPushButton::clicked, this, &TraceCurvePanel::cmdTraceColor_Click);
    connect(cmdTracePick_, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            cmdTraceRegion_->setChecked(false);
    });
    connect(cmdTraceRegion_, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            cmdTracePick_->setChecked(false);
    });
    connect(cmdTraceWhole_, &QPushButton::clicked, this, [this] {
        region_.reset();
        showRegion();
    });
    connect(TxtTolerance_, &QSpinBox::valueChanged, this, &TraceCurvePanel::updatePreview);
    connect(chkTracePreview_, &QCheckBox::toggled, this, &TraceCurvePanel::updatePreview);
    connect(optTraceFollow_, &QRadioButton::toggled, this, &TraceCurvePanel::updatePreview);
    connect(cmdTrace, &QPushButton::clicked, this, &TraceCurvePanel::cmdTrace_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

TraceRequest TraceCurvePanel::request() const
{
    TraceRequest r;
    r.colour = colour_;
    r.tolerance = TxtTolerance_->value();
    r.step = LeadingNumber(TxtTraceStep_->text());
    r.unit = optStepUnits_->isChecked() ? StepUnit::DataUnits : StepUnit::Pixels;
    r.shape = optTraceMarkers_->isChecked() ? TraceShape::Markers : TraceShape::Curve;
    r.region = region_;
    if (optTraceFollow_->isChecked())
        r.followFrom = picked_;
    return r;
}

void TraceCurvePanel::cmdTrace_Click()
{
    lblTraceAxis_->setText(appState().SplineOnX ? QStringLiteral("X values") : QStringLiteral("Y values"));
    TraceCurveCommand(request());
}

void TraceCurvePanel::setColour(Colour colour)
{
    colour_ = colour;
    QPalette palette = frameTraceColor_->palette();
    palette.setColor(QPalette::Window, ColourOf(colour));
    frameTraceColor_->setPalette(palette);
    updatePreview();
}

void TraceCurvePanel::pickedOnCurve(QPointF at)
{
    // The surface puts pixel i's centre at i; the follow at i + 0.5.
    picked_ = at + QPointF(0.5, 0.5);
    optTraceFollow_->setEnabled(true);
    if (!optTraceFollow_->isChecked() && TxtTolerance_->value() == SweepTolerance)
        TxtTolerance_->setValue(FollowSettings{}.tolerance);
    optTraceFollow_->setChecked(true);
}

void TraceCurvePanel::cmdTraceColor_Click()
{
    if (const std::optional<QColor> chosen = services().colours->pick(ColourOf(colour_))) {
        // A colour from the dialog has no place on the picture to follow from.
        picked_.reset();
        optTraceFollow_->setEnabled(false);
        if (optTraceFollow_->isChecked())
            optTraceCurve_->setChecked(true);
        setColour(Rgb(chosen->red(), chosen->green(), chosen->blue()));
    }
}

void TraceCurvePanel::showRegion()
{
    if (!region_) {
        lblTraceRegion_->setText(QStringLiteral("The whole picture"));
        return;
    }
    const QRect& r = *region_;
    lblTraceRegion_->setText(QStringLiteral("%1 x %2 pixels from (%3, %4)")
                                 .arg(r.width())
                                 .arg(r.height())
                                 .arg(r.left())
                                 .arg(r.top()));
}

PictureSurface* TraceCurvePanel::surface()
{
    PictureSurface* now = app().document ? app().document->surface() : nullptr;
    if (now != surface_) {
        if (surface_)
            surface_->removeEventFilter(this);
        delete preview_;
        surface_ = now;
        if (surface_) {
            surface_->installEventFilter(this);
            preview_ = new TracePreviewLayer(surface_);
        }
    }
    return surface_;
}

void TraceCurvePanel::updatePreview()
{
    if (!surface() || !preview_)
        return;
    preview_->setMatch(colour_, TxtTolerance_->value(), optTraceFollow_->isChecked());
    preview_->setVisible(isVisible() && chkTracePreview_->isChecked());
}

void TraceCurvePanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    lblTraceAxis_->setText(appState().SplineOnX ? QStringLiteral("X values") : QStringLiteral("Y values"));
    updatePreview();
}

void TraceCurvePanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    cmdTracePick_->setChecked(false);
    cmdTraceRegion_->setChecked(false);
    if (preview_)
        preview_->hide();
}

// Only mouse events are looked at: others reach the filter while the surface
// is being destroyed.
bool TraceCurvePanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    if (watched == surface_ && surface_->hasPicture())
        return surfaceMouse(*surface_, event);
    return QWidget::eventFilter(watched, event);
}

// Picking and dragging take the picture's mouse; nothing else does.
bool TraceCurvePanel::surfaceMouse(PictureSurface& surface, QEvent* event)
{
    const auto type = event->type();
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pixel = PixelUnder(surface, *mouse);
    if (cmdTracePick_->isChecked()) {
        if (type == QEvent::MouseButtonPress) {
            const QImage& picture = surface.picture().image;
            if (picture.rect().contains(pixel)) {
                // The colour the user sees there, transparency and all, taken
                // from the line's core when the click hit its pale edge.
                const QRect around = QRect(pixel - QPoint(4, 4), QSize(9, 9)) & picture.rect();
                const Colour c = CurveColourAt(ShownPicture(picture.copy(around), surface.backdrop()),
                                               pixel - around.topLeft());
                pickedOnCurve(surface.picturePosition(mouse));
                setColour(c);
            }
            cmdTracePick_->setChecked(false);
        }
        return type != QEvent::MouseMove;
    }
    if (!cmdTraceRegion_->isChecked() && !drag_.dragging())
        return false;
    std::optional<QRect> dragged;
    const bool taken = drag_.take(surface, *mouse, dragged);
    if (dragged) {
        region_ = dragged;
        cmdTraceRegion_->setChecked(false);
        showRegion();
    }
    return taken;
}

void ShowTraceCurvePanel()
{
    QPointer<TraceCurvePanel>& panel = Panel();
    if (!panel) {
        panel = new TraceCurvePanel(app().main);
        // At the bottom right of the windows' area, clear of the picture,
        // which lies from the top left, and of the picture's own toolbar.
        panel->adjustSize();
        const QMdiArea* area = app().main->mdiArea();
        const QPoint corner = area->mapToGlobal(area->rect().bottomRight());
        const int titleBar = panel->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        panel->move(corner.x() - panel->width(), corner.y() - panel->height() - titleBar);
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
}

} // namespace tracella
