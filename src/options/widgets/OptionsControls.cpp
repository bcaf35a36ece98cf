#include "options/widgets/OptionsControls.h"

#include "options/widgets/DotSample.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tracella {
namespace {

template <typename Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QPushButton* Button(const char* name, const QString& caption)
{
    auto* button = Named(new QPushButton(caption), name);
    // Enter in a text box applies nothing: no button is the default.
    button->setAutoDefault(false);
    return button;
}

// A captionless frame whose background is the colour.
QFrame* Swatch(const char* name)
{
    auto* swatch = Named(new QFrame, name);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    swatch->setFixedSize(48, 22);
    return swatch;
}

QLineEdit* NumberBox(const char* name)
{
    auto* box = Named(new QLineEdit, name);
    box->setFixedWidth(64);
    return box;
}

QLabel* Wrapped(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QWidget* Page(int index)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions%1").arg(index));
    return page;
}

QWidget* AxisPage(OptionsControls& c)
{
    QWidget* page = Page(0);
    auto* guidance = Named(new QGroupBox(QStringLiteral("Guidance Points")), "frameGuidance");
    c.TxtRadius = NumberBox("TxtRadius");
    c.PictureSample = new DotSample;
    c.framePointsColor = Swatch("framePointsColor");
    c.cmdPointsColor = Button("cmdPointsColor", QStringLiteral("&Points Color"));
    auto* g = new QGridLayout(guidance);
    g->addWidget(Wrapped(QStringLiteral("Dot size to indicate points position")), 0, 0, 1, 3);
    g->addWidget(c.TxtRadius, 1, 0);
    g->addWidget(c.PictureSample, 1, 1, 2, 1);
    g->addWidget(c.framePointsColor, 2, 0);
    g->addWidget(c.cmdPointsColor, 3, 0, 1, 2);
    g->setColumnStretch(2, 1);

    auto* scaling = Named(new QGroupBox(QStringLiteral("Scaling Points")), "frameScaling");
    c.frameScaleColor = Swatch("frameScaleColor");
    c.cmdScaleColor = Button("cmdScaleColor", QStringLiteral("&Scale Points"));
    auto* s = new QVBoxLayout(scaling);
    s->addWidget(c.frameScaleColor, 0, Qt::AlignHCenter);
    s->addWidget(c.cmdScaleColor);
    s->addStretch();

    auto* axis = Named(new QGroupBox(QStringLiteral("Axis Scale")), "frameAxisScale");
    c.CheckXLog = Named(new QCheckBox(QStringLiteral("X - Axis is Log")), "CheckXLog");
    c.CheckYLog = Named(new QCheckBox(QStringLiteral("Y - Axis is Log")), "CheckYLog");
    c.Label1 = Named(new QLabel(QStringLiteral("Note:       Select these options before scaling the picture.")),
                     "Label1");
    auto* a = new QHBoxLayout(axis);
    auto* checks = new QVBoxLayout;
    checks->addWidget(c.CheckXLog);
    checks->addWidget(c.CheckYLog);
    a->addLayout(checks);
    a->addWidget(c.Label1, 1);

    auto* layout = new QGridLayout(page);
    layout->addWidget(guidance, 0, 0);
    layout->addWidget(scaling, 0, 1);
    layout->addWidget(axis, 1, 0, 1, 2);
    return page;
}

QWidget* AutoReadPage(OptionsControls& c)
{
    QWidget* page = Page(1);
    auto* colours = Named(new QGroupBox(QStringLiteral("Colors")), "frameColors");
    c.frameARdataColor = Swatch("frameARdataColor");
    c.cmdARdataColor = Button("cmdARdataColor", QStringLiteral("&Data Color"));
    c.frameARpointColor = Swatch("frameARpointColor");
    c.cmdARpointColor = Button("cmdARpointColor", QStringLiteral("&Point Color"));
    auto* g = new QGridLayout(colours);
    g->addWidget(new QLabel(QStringLiteral("Color of the points that you want to read:")), 0, 0);
    g->addWidget(c.frameARdataColor, 0, 1);
    g->addWidget(c.cmdARdataColor, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Color to indicate points found :")), 1, 0);
    g->addWidget(c.frameARpointColor, 1, 1);
    g->addWidget(c.cmdARpointColor, 1, 2);

    auto* density = Named(new QGroupBox(QStringLiteral("Sweep Density")), "frameSweepDensity");
    c.TxtRows = NumberBox("TxtRows");
    c.TxtCols = NumberBox("TxtCols");
    c.cmdPicSizeInfo = Button("cmdPicSizeInfo", QStringLiteral("Guide me"));
    c.chkGrid = Named(new QCheckBox(QStringLiteral("Show grid that will be used to Autoread points")), "chkGrid");
    auto* d = new QGridLayout(density);
    d->addWidget(new QLabel(QStringLiteral("Rows")), 0, 0);
    d->addWidget(c.TxtRows, 0, 1);
    d->addWidget(new QLabel(QStringLiteral("Columns")), 0, 2);
    d->addWidget(c.TxtCols, 0, 3);
    d->addWidget(c.cmdPicSizeInfo, 0, 4);
    d->addWidget(new QLabel(QStringLiteral("Reading time is proportional to (Rows * Cols)")), 1, 0, 1, 5);
    d->addWidget(c.chkGrid, 2, 0, 1, 5);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(colours);
    layout->addWidget(density);
    layout->addStretch();
    return page;
}

QWidget* InterpolationPage(OptionsControls& c)
{
    QWidget* page = Page(2);
    auto* found = Named(new QGroupBox(QStringLiteral("Points Found")), "framePointsFound");
    c.frameSplineColor = Swatch("frameSplineColor");
    c.cmdSplineColor = Button("cmdSplineColor", QStringLiteral("&Points Color"));
    auto* f = new QHBoxLayout(found);
    f->addWidget(c.frameSplineColor);
    f->addWidget(c.cmdSplineColor);
    f->addStretch();

    auto* settings = Named(new QGroupBox(QStringLiteral("Settings")), "frameSettings");
    c.optSplineX = Named(new QRadioButton(QStringLiteral("X values")), "optSplineX");
    c.optSplineY = Named(new QRadioButton(QStringLiteral("Y values")), "optSplineY");
    c.txtSplinePoints = NumberBox("txtSplinePoints");
    auto* s = new QGridLayout(settings);
    s->addWidget(new QLabel(QStringLiteral("Independant variable:")), 0, 0);
    s->addWidget(c.optSplineX, 0, 1);
    s->addWidget(c.optSplineY, 0, 2);
    s->addWidget(new QLabel(QStringLiteral("Total number of points to be obtained:")), 1, 0);
    s->addWidget(c.txtSplinePoints, 1, 1, 1, 2);
    s->addWidget(Wrapped(QStringLiteral("Note:  This method should be used only to interpolate between points that "
                                        "can be represented with a function.")),
                 2, 0, 1, 3);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(found);
    layout->addWidget(settings);
    layout->addStretch();
    return page;
}

QWidget* PointersPage(OptionsControls& c)
{
    QWidget* page = Page(3);
    auto* undo = Named(new QGroupBox(QStringLiteral("Undo Last Point")), "frameUndo");
    c.checkESCundo = Named(new QCheckBox(QStringLiteral("ESC deletes last point")), "checkESCundo");
    (new QVBoxLayout(undo))->addWidget(c.checkESCundo);

    auto* selector = Named(new QGroupBox(QStringLiteral("Mouse Pointer Selector")), "framePointer");
    c.Slider = Named(new QSlider(Qt::Horizontal), "Slider");
    c.Slider->setTickPosition(QSlider::TicksBelow);
    c.Slider->setPageStep(1);
    c.ImagePointer = Named(new QLabel, "ImagePointer");
    c.ImagePointer->setFixedSize(32, 32);
    auto* p = new QHBoxLayout(selector);
    p->addWidget(c.Slider, 1);
    p->addWidget(c.ImagePointer);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(undo);
    layout->addWidget(selector);
    layout->addStretch();
    return page;
}

} // namespace

void BuildOptionsControls(QDialog& dialog, OptionsControls& c)
{
    c.tbsOptions = Named(new QTabWidget, "tbsOptions");
    c.tbsOptions->addTab(AxisPage(c), QStringLiteral("Axis"));
    c.tbsOptions->addTab(AutoReadPage(c), QStringLiteral("AutoRead"));
    c.tbsOptions->addTab(InterpolationPage(c), QStringLiteral("Interpolation"));
    c.tbsOptions->addTab(PointersPage(c), QStringLiteral("Pointers"));

    c.cmdApply = Button("cmdApply", QStringLiteral("&Do It"));
    c.cmdCancel = Button("cmdCancel", QStringLiteral("&Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(c.cmdApply);
    buttons->addWidget(c.cmdCancel);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(c.tbsOptions);
    layout->addLayout(buttons);
}

} // namespace tracella
