#include "calibration/widgets/ScaleAxesPanel.h"

#include "app/core/AppState.h"
#include "app/core/IsoDate.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "calibration/ActiveCalibration.h"
#include "calibration/widgets/AxisSearch.h"
#include "calibration/widgets/CalibrationLayer.h"
#include "calibration/widgets/ScaleCommands.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineF>
#include <QMdiArea>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace tracella {
namespace {

enum Column { PointColumn, PixelColumn, XColumn, YColumn, ResidualColumn, ColumnCount };
constexpr int AxisRows = 4;
constexpr int FirstKnownRows = 3;
// A press this close to a marker, in view pixels, drags it.
constexpr double GrabReach = 8;

const QString PanelTitle = QStringLiteral("Scale by Axes");

template <typename T>
T* Named(T* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QPointer<ScaleAxesPanel>& Panel()
{
    static QPointer<ScaleAxesPanel> panel;
    return panel;
}

bool& AxesShown()
{
    static bool shown = false;
    return shown;
}

// As a user would type it: dates as ISO text, to the second only when needed.
QString ValueText(double value, bool date)
{
    if (!date)
        return QString::number(value, 'g', 15);
    const DatePrecision precision = std::fmod(value, 86400) == 0 ? DatePrecision::Days
                                    : std::fmod(value, 60) == 0  ? DatePrecision::Minutes
                                                                 : DatePrecision::Seconds;
    return IsoDateText(value, precision);
}

PictureSurface* DocumentSurface()
{
    return app().document ? app().document->surface() : nullptr;
}

} // namespace

ScaleAxesPanel::ScaleAxesPanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmScaleAxes"));
    setWindowTitle(PanelTitle);
    buildControls();
    setRows();
}

void ScaleAxesPanel::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* modes = new QHBoxLayout;
    optAxisPoints_ = Named(new QRadioButton(QStringLiteral("Two points on each axis"), this), "optAxisPoints");
    optKnownPoints_ = Named(new QRadioButton(QStringLiteral("Points of known X and Y"), this), "optKnownPoints");
    optAxisPoints_->setChecked(true);
    modes->addWidget(optAxisPoints_);
    modes->addWidget(optKnownPoints_);
    layout->addLayout(modes);

    auto* axes = new QGridLayout;
    chkXLog_ = Named(new QCheckBox(QStringLiteral("X axis is Log"), this), "chkXLog");
    chkXDate_ = Named(new QCheckBox(QStringLiteral("X axis is date/time"), this), "chkXDate");
    chkYLog_ = Named(new QCheckBox(QStringLiteral("Y axis is Log"), this), "chkYLog");
    chkYDate_ = Named(new QCheckBox(QStringLiteral("Y axis is date/time"), this), "chkYDate");
    axes->addWidget(chkXLog_, 0, 0);
    axes->addWidget(chkXDate_, 0, 1);
    axes->addWidget(chkYLog_, 1, 0);
    axes->addWidget(chkYDate_, 1, 1);
    layout->addLayout(axes);

    gridReferences_ = Named(new QTableWidget(0, ColumnCount, this), "gridReferences");
    gridReferences_->setHorizontalHeaderLabels(
        {QStringLiteral("Point"), QStringLiteral("Pixel"), QStringLiteral("X"), QStringLiteral("Y"),
         QStringLiteral("Residual")});
    gridReferences_->verticalHeader()->hide();
    gridReferences_->setSelectionMode(QAbstractItemView::SingleSelection);
    gridReferences_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridReferences_->horizontalHeader()->setStretchLastSection(true);
    gridReferences_->setMinimumSize(380, 170);
    layout->addWidget(gridReferences_);

    auto* buttons = new QHBoxLayout;
    cmdPlace_ = Named(new QPushButton(QStringLiteral("&Place on picture"), this), "cmdPlace");
    cmdPlace_->setCheckable(true);
    cmdPlace_->setChecked(true);
    cmdAddPoint_ = Named(new QPushButton(QStringLiteral("A&dd point"), this), "cmdAddPoint");
    cmdRemovePoint_ = Named(new QPushButton(QStringLiteral("&Remove point"), this), "cmdRemovePoint");
    cmdApply_ = Named(new QPushButton(QStringLiteral("&Apply"), this), "cmdApply");
    cmdFindAxes_ = Named(new QPushButton(QStringLiteral("&Find Axes"), this), "cmdFindAxes");
    cmdFindAxes_->setToolTip(QStringLiteral("Find the axes, their ticks and labels on the picture and propose "
                                            "the references"));
    cmdFindAxesRegion_ = Named(new QPushButton(QStringLiteral("Find in Re&gion"), this), "cmdFindAxesRegion");
    cmdFindAxesRegion_->setCheckable(true);
    cmdFindAxesRegion_->setToolTip(QStringLiteral("Drag a rectangle around the axes and their labels, then "
                                                  "find them there only"));
    for (QPushButton* b : {cmdFindAxes_, cmdFindAxesRegion_, cmdPlace_, cmdAddPoint_, cmdRemovePoint_, cmdApply_})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    lblFit_ = Named(new QLabel(this), "lblFit");
    lblFit_->setWordWrap(true);
    lblFit_->setMinimumHeight(3 * fontMetrics().height());
    layout->addWidget(lblFit_);

    // The other way starts afresh: its references mean something else.
    connect(optKnownPoints_, &QRadioButton::toggled, this, [this] {
        pixels_.clear();
        {
            const QSignalBlocker quiet(gridReferences_);
            gridReferences_->clearContents();
        }
        setRows();
    });
    for (QCheckBox* c : {chkXLog_, chkXDate_, chkYLog_, chkYDate_})
        connect(c, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(gridReferences_, &QTableWidget::itemChanged, this, [this] {
        touched();
        refresh();
    });
    connect(cmdAddPoint_, &QPushButton::clicked, this, [this] {
        pixels_.emplace_back();
        setRows();
    });
    connect(cmdRemovePoint_, &QPushButton::clicked, this, [this] {
        const int row = gridReferences_->currentRow();
        if (pixels_.size() > FirstKnownRows && row >= 0) {
            pixels_.erase(pixels_.begin() + row);
            setRows();
        }
    });
    connect(cmdApply_, &QPushButton::clicked, this, &ScaleAxesPanel::cmdApply_Click);
    connect(cmdFindAxes_, &QPushButton::clicked, this, &ScaleAxesPanel::cmdFindAxes_Click);
    connect(cmdFindAxesRegion_, &QPushButton::toggled, this, &ScaleAxesPanel::cmdFindAxesRegion_Click);
    search_ = new AxisSearch(this);
    connect(search_, &AxisSearch::found, this, &ScaleAxesPanel::propose);
    connect(search_, &AxisSearch::progress, this, &ScaleAxesPanel::showProgress);
}

bool ScaleAxesPanel::knownMode() const
{
    return optKnownPoints_->isChecked();
}

QString ScaleAxesPanel::rowName(int row) const
{
    if (knownMode())
        return QString::number(row + 1);
    return QStringLiteral("%1%2").arg(QChar(row < 2 ? u'X' : u'Y')).arg(row % 2 + 1);
}

// The table follows the mode: four axis references, or the known points
// (at least three).
void ScaleAxesPanel::setRows()
{
    const bool known = knownMode();
    const std::size_t rows = known ? std::max<std::size_t>(pixels_.size(), FirstKnownRows) : AxisRows;
    pixels_.resize(rows);
    {
        const QSignalBlocker quiet(gridReferences_);
        gridReferences_->setRowCount(static_cast<int>(rows));
        gridReferences_->setColumnHidden(YColumn, !known);
        gridReferences_->setColumnHidden(ResidualColumn, !known);
        gridReferences_->horizontalHeaderItem(XColumn)->setText(known ? QStringLiteral("X") : QStringLiteral("Value"));
        for (int r = 0; r < static_cast<int>(rows); ++r)
            for (int c = 0; c < ColumnCount; ++c) {
                if (!gridReferences_->item(r, c))
                    gridReferences_->setItem(r, c, new QTableWidgetItem);
                const bool typed = c == XColumn || (c == YColumn && known);
                QTableWidgetItem* item = gridReferences_->item(r, c);
                item->setFlags(typed ? item->flags() | Qt::ItemIsEditable : item->flags() & ~Qt::ItemIsEditable);
            }
    }
    cmdAddPoint_->setEnabled(known);
    cmdRemovePoint_->setEnabled(known);
    if (gridReferences_->currentRow() < 0 || gridReferences_->currentRow() >= static_cast<int>(rows))
        gridReferences_->setCurrentCell(0, XColumn);
    refresh();
}

QString ScaleAxesPanel::typed(int row, int column) const
{
    const QTableWidgetItem* item = gridReferences_->item(row, column);
    return item ? item->text() : QString();
}

AffineOutcome ScaleAxesPanel::outcome() const
{
    const AxisChoice x{chkXLog_->isChecked(), chkXDate_->isChecked()};
    const AxisChoice y{chkYLog_->isChecked(), chkYDate_->isChecked()};
    if (knownMode()) {
        std::vector<KnownReference> points;
        for (std::size_t r = 0; r < pixels_.size(); ++r)
            points.push_back({pixels_[r], typed(static_cast<int>(r), XColumn), typed(static_cast<int>(r), YColumn)});
        return CalibrateByKnownPoints(points, x, y);
    }
    return CalibrateByAxes({AxisReference{pixels_[0], typed(0, XColumn)}, AxisReference{pixels_[1], typed(1, XColumn)}},
                           {AxisReference{pixels_[2], typed(2, XColumn)}, AxisReference{pixels_[3], typed(3, XColumn)}},
                           x, y);
}

// Texts, markers and the fit follow every change at once.
void ScaleAxesPanel::refresh()
{
    const AffineOutcome fit = outcome();
    const auto* c = std::get_if<AffineCalibration>(&fit);
    std::vector<CalibrationLayer::Reference> markers;
    {
        const QSignalBlocker quiet(gridReferences_);
        for (int r = 0; r < static_cast<int>(pixels_.size()); ++r) {
            const auto& p = pixels_[static_cast<std::size_t>(r)];
            gridReferences_->item(r, PointColumn)->setText(rowName(r));
            gridReferences_->item(r, PixelColumn)
                ->setText(p ? QStringLiteral("%1, %2").arg(p->x()).arg(p->y()) : QStringLiteral("click to place"));
            const bool hasResidual = c && r < static_cast<int>(c->residuals.size());
            gridReferences_->item(r, ResidualColumn)
                ->setText(hasResidual
                              ? QStringLiteral("%1 px").arg(c->residuals[static_cast<std::size_t>(r)].pixels, 0, 'f', 2)
                              : QString());
            if (p)
                markers.push_back({rowName(r), *p});
        }
    }
    if (!c)
        lblFit_->setText(std::get<QString>(fit));
    else if (!c->warning.isEmpty())
        lblFit_->setText(QStringLiteral("Warning: ") + c->warning);
    else
        lblFit_->setText(QStringLiteral("The references fit: press Apply."));
    lblFit_->setStyleSheet(c && c->warning.isEmpty() ? QString() : QStringLiteral("color: #b00000"));
    if (PictureSurface* s = surface())
        CalibrationLayerOf(s)->setReferences(isVisible() ? markers : std::vector<CalibrationLayer::Reference>{});
}

void ScaleAxesPanel::touched()
{
    referencesOn_ = surface_ ? surface_->picture().image.cacheKey() : 0;
}

void ScaleAxesPanel::placeSelected(QPointF pixel)
{
    const int row = std::max(gridReferences_->currentRow(), 0);
    pixels_[static_cast<std::size_t>(row)] = pixel;
    touched();
    dragged_ = row;
    for (std::size_t r = 1; r <= pixels_.size(); ++r) {
        const std::size_t next = (static_cast<std::size_t>(row) + r) % pixels_.size();
        if (!pixels_[next]) {
            gridReferences_->setCurrentCell(static_cast<int>(next), XColumn);
            break;
        }
    }
    refresh();
}

void ScaleAxesPanel::cmdApply_Click()
{
    AffineOutcome fit = outcome();
    if (const auto* why = std::get_if<QString>(&fit)) {
        ShowMessage(*why, PanelTitle, MessageIcon::Exclamation);
        return;
    }
    AffineCalibration calibration = std::get<AffineCalibration>(std::move(fit));
    const QString warning = calibration.warning;
    ApplyAffineToPicture(std::move(calibration));
    if (PictureSurface* s = surface())
        CalibrationLayerOf(s)->clearFound();
    cmdPlace_->setChecked(false);
    ShowCalibratedAxes(true);
    lblFit_->setText(QStringLiteral("Applied: the picture reads through these references.") +
                     (warning.isEmpty() ? QString() : QStringLiteral(" Warning: ") + warning));
}

void ScaleAxesPanel::cmdFindAxes_Click()
{
    if (search_->running()) {
        search_->cancel();
        return;
    }
    startSearch({});
}

void ScaleAxesPanel::cmdFindAxesRegion_Click(bool armed)
{
    if (!armed)
        return;
    lblFit_->setStyleSheet(QString());
    lblFit_->setText(QStringLiteral("Drag a rectangle around the axes and their labels."));
}

void ScaleAxesPanel::startSearch(QRect region)
{
    PictureSurface* s = surface();
    if (!s || !s->hasPicture()) {
        lblFit_->setText(QStringLiteral("There is no picture to look at."));
        return;
    }
    cmdFindAxes_->setText(QStringLiteral("&Cancel"));
    cmdFindAxesRegion_->setEnabled(false);
    lblFit_->setStyleSheet(QString());
    lblFit_->setText(QStringLiteral("Looking for the axes, their ticks and labels..."));
    searched_ = s->picture().image;
    search_->start(searched_, region);
}

void ScaleAxesPanel::showProgress(const QString& stage, int done, int total)
{
    if (!search_->running())
        return;
    lblFit_->setText(total ? QStringLiteral("%1 %2/%3...").arg(stage).arg(done).arg(total)
                           : stage + QStringLiteral("..."));
    MainWindow* main = app().main;
    if (!main)
        return;
    main->setProgressBarVisible(true);
    // No total yet: the bar runs to and fro.
    main->progressBar()->setRange(0, total);
    main->progressBar()->setValue(done);
}

void ScaleAxesPanel::endProgress()
{
    if (app().main)
        app().main->setProgressBarVisible(false);
}

// Each axis whose labels agree gets its two references and its kind; an
// axis left to the user keeps what it had, and the panel says why.
void ScaleAxesPanel::propose(const AxisProposal& proposal)
{
    cmdFindAxes_->setText(QStringLiteral("&Find Axes"));
    cmdFindAxesRegion_->setEnabled(true);
    endProgress();
    const QImage searched = std::exchange(searched_, QImage());
    if (proposal.cancelled) {
        lblFit_->setText(QStringLiteral("The search was given up: nothing changed."));
        return;
    }
    if (!proposal.error.isEmpty()) {
        lblFit_->setStyleSheet(QStringLiteral("color: #b00000"));
        lblFit_->setText(proposal.error);
        return;
    }
    if (PictureSurface* s = surface(); s && isVisible())
        CalibrationLayerOf(s)->setFound(MarksOf(proposal), searched);
    if (knownMode())
        optAxisPoints_->setChecked(true);
    QStringList missing;
    const QSignalBlocker quiet(gridReferences_);
    // References given on a picture since gone mean nothing on this one.
    if (searched.cacheKey() != referencesOn_)
        for (std::size_t r = 0; r < pixels_.size(); ++r) {
            pixels_[r].reset();
            gridReferences_->item(static_cast<int>(r), XColumn)->setText(QString());
        }
    referencesOn_ = searched.cacheKey();
    const struct {
        const AxisProposalSide& side;
        int row;
        QCheckBox* log;
        QCheckBox* date;
    } axes[] = {{proposal.x, 0, chkXLog_, chkXDate_}, {proposal.y, 2, chkYLog_, chkYDate_}};
    for (const auto& a : axes) {
        if (!a.side.kind) {
            missing << a.side.missing;
            continue;
        }
        pixels_[static_cast<std::size_t>(a.row)] = a.side.first;
        pixels_[static_cast<std::size_t>(a.row + 1)] = a.side.second;
        const bool date = *a.side.kind == AxisKind::Date;
        gridReferences_->item(a.row, XColumn)->setText(ValueText(a.side.firstValue, date));
        gridReferences_->item(a.row + 1, XColumn)->setText(ValueText(a.side.secondValue, date));
        a.date->setChecked(date);
        a.log->setChecked(*a.side.kind == AxisKind::Log);
    }
    refresh();
    if (!missing.isEmpty()) {
        lblFit_->setStyleSheet(QStringLiteral("color: #b00000"));
        lblFit_->setText(missing.join(QLatin1Char(' ')) + QStringLiteral(" Place those references yourself."));
    }
}

PictureSurface* ScaleAxesPanel::surface()
{
    PictureSurface* now = DocumentSurface();
    if (now != surface_) {
        if (surface_)
            surface_->removeEventFilter(this);
        surface_ = now;
        if (surface_)
            surface_->installEventFilter(this);
    }
    return surface_;
}

void ScaleAxesPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The options' axis types are where a user starts from.
    if (!chkXDate_->isChecked())
        chkXLog_->setChecked(appState().XAxisLog);
    if (!chkYDate_->isChecked())
        chkYLog_->setChecked(appState().YAxisLog);
    refresh();
}

void ScaleAxesPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    cmdFindAxesRegion_->setChecked(false);
    if (surface_) {
        CalibrationLayerOf(surface_)->setReferences({});
        CalibrationLayerOf(surface_)->clearFound();
    }
}

bool ScaleAxesPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // The type first: a surface being destroyed still sends events here.
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) ||
        watched != surface_ || !isVisible() || !surface_->hasPicture())
        return QWidget::eventFilter(watched, event);
    if (cmdFindAxesRegion_->isChecked() || regionDrag_.dragging())
        return regionMouse(*surface_, static_cast<QMouseEvent&>(*event));
    if (cmdPlace_->isChecked())
        return surfaceMouse(*surface_, event);
    return QWidget::eventFilter(watched, event);
}

// A rectangle dragged around the axes is searched once released; a click
// without a drag searches nothing.
bool ScaleAxesPanel::regionMouse(PictureSurface& surface, const QMouseEvent& mouse)
{
    std::optional<QRect> region;
    const bool taken = regionDrag_.take(surface, mouse, region);
    if (region) {
        cmdFindAxesRegion_->setChecked(false);
        if (region->isEmpty())
            lblFit_->setText(QStringLiteral("Nothing was dragged: no search."));
        else
            startSearch(*region);
    }
    return taken;
}

// A press on a marker drags it; a press elsewhere places the selected
// reference there. Moves without a drag still show the read-out.
bool ScaleAxesPanel::surfaceMouse(PictureSurface& surface, QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF pixel = surface.picturePosition(mouse);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const CalibrationLayer* layer = CalibrationLayerOf(&surface);
        for (std::size_t r = 0; r < pixels_.size(); ++r)
            if (pixels_[r] && QLineF(layer->viewAt(*pixels_[r]), mouse->position()).length() <= GrabReach) {
                dragged_ = static_cast<int>(r);
                gridReferences_->setCurrentCell(dragged_, XColumn);
                return true;
            }
        placeSelected(pixel);
        return true;
    }
    case QEvent::MouseMove:
        if (dragged_ < 0 || !(mouse->buttons() & Qt::LeftButton))
            return false;
        pixels_[static_cast<std::size_t>(dragged_)] = pixel;
        touched();
        refresh();
        return true;
    default:
        dragged_ = -1;
        return true;
    }
}

void FindAxesCommand()
{
    ShowScaleAxesPanel();
    Panel()->cmdFindAxes_Click();
}

void ShowScaleAxesPanel()
{
    QPointer<ScaleAxesPanel>& panel = Panel();
    if (!panel) {
        panel = new ScaleAxesPanel(app().main);
        // At the top right of the windows' area, clear of the picture.
        panel->adjustSize();
        const QMdiArea* area = app().main->mdiArea();
        const QPoint corner = area->mapToGlobal(area->rect().topRight());
        const int titleBar = panel->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        panel->move(corner.x() - panel->width(), corner.y() + titleBar);
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void ShowCalibratedAxes(bool shown)
{
    AxesShown() = shown;
    if (app().main)
        app().main->action(QStringLiteral("mnuViewAxes"))->setChecked(shown);
    const AffineCalibration* affine = activeCalibration().affine();
    if (PictureSurface* s = DocumentSurface())
        CalibrationLayerOf(s)->setAxes(shown && affine ? std::optional(*affine) : std::nullopt);
}

void ToggleCalibratedAxes()
{
    ShowCalibratedAxes(!AxesShown());
}

void RedrawCalibratedAxes()
{
    ShowCalibratedAxes(AxesShown());
}

} // namespace tracella
