#include "options/widgets/OptionsWindow.h"

#include "app/core/AppState.h"
#include "app/core/NumberText.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/Sounds.h"
#include "options/OptionsFields.h"
#include "options/widgets/DotSample.h"
#include "options/widgets/PointerCursor.h"
#include "options/widgets/SweepGridPreview.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include <variant>

namespace tracella {
namespace {

// Client area of 5715 x 4755 twips at 15 twips a pixel; larger only when
// the system's fonts need more room.
constexpr QSize DesignedClientSize(381, 317);

PictureSurface* Surface()
{
    return app().document ? app().document->surface() : nullptr;
}

QColor ToQColor(Colour c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Colour ToColour(const QColor& c)
{
    return Rgb(c.red(), c.green(), c.blue());
}

void SetSwatch(QFrame* swatch, Colour colour)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    swatch->setPalette(palette);
}

Colour SwatchColour(const QFrame* swatch)
{
    return ToColour(swatch->palette().color(QPalette::Window));
}

// The colour dialog opens on the colour last chosen in it during this run,
// as one common dialog serves the whole program.
QColor& LastChosenColour()
{
    static QColor colour(Qt::black);
    return colour;
}

} // namespace

OptionsWindow::OptionsWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    BuildOptionsControls(*this, c_);
    setFixedSize(sizeHint().expandedTo(DesignedClientSize));
    connectControls();
    // The dialog sees key presses before its controls do.
    qApp->installEventFilter(this);
    Form_Load();
}

OptionsWindow::~OptionsWindow()
{
    qApp->removeEventFilter(this);
    // A grid preview lasts as long as the dialog; the refresh that follows
    // the closing draws the markers again.
    delete preview_;
}

void OptionsWindow::connectControls()
{
    connect(c_.cmdSplineColor, &QPushButton::clicked, this, [this] { QueColor(c_.frameSplineColor); });
    connect(c_.cmdARdataColor, &QPushButton::clicked, this, [this] { QueColor(c_.frameARdataColor); });
    connect(c_.cmdARpointColor, &QPushButton::clicked, this, [this] { QueColor(c_.frameARpointColor); });
    connect(c_.cmdScaleColor, &QPushButton::clicked, this, [this] { QueColor(c_.frameScaleColor); });
    connect(c_.cmdPointsColor, &QPushButton::clicked, this, [this] {
        QueColor(c_.framePointsColor);
        drawDotSample();
    });
    connect(c_.TxtRadius, &QLineEdit::textChanged, this, &OptionsWindow::drawDotSample);
    connect(c_.TxtRows, &QLineEdit::textChanged, this, &OptionsWindow::ShowGrid);
    connect(c_.TxtCols, &QLineEdit::textChanged, this, &OptionsWindow::ShowGrid);
    connect(c_.chkGrid, &QCheckBox::clicked, this, &OptionsWindow::ShowGrid);
    connect(c_.cmdPicSizeInfo, &QPushButton::clicked, this, &OptionsWindow::cmdPicSizeInfo_Click);
    connect(c_.Slider, &QSlider::valueChanged, this, &OptionsWindow::Slider_Change);
    connect(c_.cmdApply, &QPushButton::clicked, this, &OptionsWindow::cmdApply_Click);
    connect(c_.cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsWindow::Form_Load()
{
    const AppState& s = appState();
    c_.Label1->setText(LogAxisNote);
    c_.tbsOptions->setCurrentIndex(0);

    SetSwatch(c_.frameSplineColor, s.SplineColor);
    SetSwatch(c_.frameARdataColor, s.ARDataColor);
    SetSwatch(c_.frameARpointColor, s.ARPointColor);
    SetSwatch(c_.frameScaleColor, s.ScaleColor);
    SetSwatch(c_.framePointsColor, s.PointsColor);
    c_.txtSplinePoints->setText(QString::number(s.SplinePoints));
    c_.TxtRows->setText(QString::number(s.ARRows));
    c_.TxtCols->setText(QString::number(s.ARCols));
    c_.CheckXLog->setChecked(s.XAxisLog);
    c_.CheckYLog->setChecked(s.YAxisLog);
    c_.checkESCundo->setChecked(s.EscUndo);
    c_.Slider->setRange(1, PointerSliderMaximum());
    c_.Slider->setValue(s.PointerIndex);
    Slider_Change(c_.Slider->value());
    // The independent variable as it stands, so that applying never flips it.
    (s.SplineOnX ? c_.optSplineX : c_.optSplineY)->setChecked(true);
    c_.TxtRadius->setText(NumberText(static_cast<std::int64_t>(s.DotSize)));
}

bool OptionsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (!widget || !(widget == this || isAncestorOf(widget)) || !tab || !(key->modifiers() & Qt::ControlModifier))
        return QDialog::eventFilter(watched, event);
    const bool backwards = (key->modifiers() & Qt::ShiftModifier) || key->key() == Qt::Key_Backtab;
    c_.tbsOptions->setCurrentIndex(NextTabIndex(c_.tbsOptions->currentIndex(), c_.tbsOptions->count(), backwards));
    return true;
}

void OptionsWindow::QueColor(QFrame* swatch)
{
    const std::optional<QColor> chosen = services().colours->pick(LastChosenColour());
    if (!chosen)
        return;
    LastChosenColour() = *chosen;
    SetSwatch(swatch, ToColour(*chosen));
}

void OptionsWindow::drawDotSample()
{
    c_.PictureSample->redraw(c_.TxtRadius->text(), ToQColor(SwatchColour(c_.framePointsColor)));
}

void OptionsWindow::ShowGrid()
{
    PictureSurface* surface = Surface();
    if (!surface)
        return;
    const std::optional<QSizeF> cell = SweepGridCell(surface->size(), c_.TxtRows->text(), c_.TxtCols->text());
    if (!cell)
        return;
    surface->clearDrawings();
    if (preview_)
        preview_->hide();
    if (c_.chkGrid->isChecked()) {
        if (!preview_)
            preview_ = new SweepGridPreview(surface);
        preview_->showGrid(*cell);
    }
    surface->update();
}

void OptionsWindow::cmdPicSizeInfo_Click()
{
    PictureSurface* surface = Surface();
    const SweepDensity density = GuidedDensity(surface ? surface->pictureSize() : QSize());
    c_.TxtCols->setText(QString::number(density.cols));
    c_.TxtRows->setText(QString::number(density.rows));
}

void OptionsWindow::Slider_Change(int position)
{
    c_.ImagePointer->setPixmap(PointerPixmap(position));
}

void OptionsWindow::cmdApply_Click()
{
    const std::variant<CountFields, Message> counts =
        ReadCountFields(c_.TxtRows->text(), c_.TxtCols->text(), c_.txtSplinePoints->text());
    if (const auto* refusal = std::get_if<Message>(&counts)) {
        ShowMessage(*refusal);
        return;
    }
    const CountFields& count = std::get<CountFields>(counts);
    const UndoStep step(QStringLiteral("Options"));
    PictureSurface* surface = Surface();
    AppState& s = appState();

    PlayResourceSound(ClickSound);
    s.XAxisLog = c_.CheckXLog->isChecked();
    s.YAxisLog = c_.CheckYLog->isChecked();
    s.EscUndo = c_.checkESCundo->isChecked();
    s.ARPointColor = SwatchColour(c_.frameARpointColor);
    s.ARDataColor = SwatchColour(c_.frameARdataColor);
    s.SplineColor = SwatchColour(c_.frameSplineColor);
    s.PointsColor = SwatchColour(c_.framePointsColor);
    s.DotSize = c_.PictureSample->penWidth();
    if (surface)
        surface->setPenWidth(s.DotSize);
    s.ScaleColor = SwatchColour(c_.frameScaleColor);
    s.ARRows = count.rows;
    s.ARCols = count.cols;
    s.SplinePoints = count.splinePoints;
    s.SplineOnX = c_.optSplineX->isChecked();
    s.PointerIndex = static_cast<std::int16_t>(c_.Slider->value());
    if (surface)
        surface->setCursor(PointerCursor(s.PointerIndex));
    accept();
}

} // namespace tracella
