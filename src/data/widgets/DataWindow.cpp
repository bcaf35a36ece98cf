#include "data/widgets/DataWindow.h"

#include "app/core/AppState.h"
#include "app/core/NumberReading.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Sounds.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/ActiveCalibration.h"
#include "data/GridEditing.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>

#include <cmath>

namespace tracella {
namespace {

// The layout is designed in twips; the screen has 15 twips per pixel.
constexpr int TwipsPerPixel = 15;
int Px(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel)); }
QRect TwipsRect(int left, int top, int width, int height) { return {Px(left), Px(top), Px(width), Px(height)}; }

constexpr int ColumnWidths[GridColumnCount] = {800, 1600, 1600};
constexpr int GridWidth = 4100;
constexpr int WindowWidth = 7635;
// The grid's rows are as high as the 8 point system font needs.
constexpr int RowHeight = 240;

// Leading and trailing blanks only; tabs stay, as they would in a cell.
QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

// The grid's view: a movement key with Shift extends the block also when
// Ctrl is held (Ctrl+Shift+End reaches the last row), as in other tables.
class GridView final : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        if (event && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->modifiers().testFlag(Qt::ShiftModifier) && key->modifiers().testFlag(Qt::ControlModifier))
                return QItemSelectionModel::SelectCurrent;
        }
        return QTableView::selectionCommand(index, event);
    }
};

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

DataWindow::DataWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("Data Points"));
    // The controls were laid out for MS Sans Serif at 8 points; where it is
    // missing, a narrower face of the same height keeps the captions inside them.
    QFont designed(QStringLiteral("MS Sans Serif"));
    designed.setPixelSize(11);
    if (!QFontInfo(designed).exactMatch())
        designed.setStretch(QFont::Condensed);
    setFont(designed);
    setMouseTracking(true);

    model_ = new GridModel(app().curves, this);
    view_ = Named(new GridView(this), "GridData");
    view_->move(Px(360), Px(240));
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setShowGrid(true);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(Px(RowHeight));
    view_->horizontalHeader()->setMinimumSectionSize(1);
    view_->horizontalHeader()->setFixedHeight(Px(RowHeight));
    view_->horizontalHeader()->setSectionsClickable(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->viewport()->installEventFilter(this);
    view_->horizontalHeader()->viewport()->installEventFilter(this); // the fixed header row
    connect(view_, &QTableView::clicked, this, &DataWindow::GridData_Click);
    // A fresh start of the view forgets which rows it hid.
    connect(model_, &QAbstractItemModel::modelReset, this, &DataWindow::applyHeaderFixing);
    applyHeaderFixing();

    buildEditFrame();
    buildSortFrame();
}

void DataWindow::buildEditFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Edit Data Points"), this), "Frame1");
    frame->setGeometry(TwipsRect(4680, 360, 2535, 1845));
    Named(new QLabel(QStringLiteral("Point Number"), frame), "Label1")->setGeometry(TwipsRect(165, 390, 960, 195));
    text1_ = Named(new QLineEdit(frame), "Text1");
    text1_->setGeometry(TwipsRect(1200, 345, 1200, 285));
    Named(new QLabel(QStringLiteral("X Value"), frame), "Label2")->setGeometry(TwipsRect(495, 720, 555, 195));
    txtXValue_ = Named(new QLineEdit(frame), "TxtXValue");
    txtXValue_->setGeometry(TwipsRect(1200, 660, 1200, 285));
    Named(new QLabel(QStringLiteral("Y Value"), frame), "Label3")->setGeometry(TwipsRect(495, 1050, 555, 195));
    txtYValue_ = Named(new QLineEdit(frame), "TxtYValue");
    txtYValue_->setGeometry(TwipsRect(1200, 975, 1200, 285));
    auto* setValues = Named(new QPushButton(QStringLiteral("Set New Values"), frame), "cmdSetValues");
    setValues->setGeometry(TwipsRect(435, 1410, 1560, 300));

    connect(text1_, &QLineEdit::textChanged, this, &DataWindow::Text1_Change);
    connect(setValues, &QPushButton::clicked, this, &DataWindow::cmdSetValues_Click);
}

void DataWindow::buildSortFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Sort Data"), this), "Frame2");
    frame->setGeometry(TwipsRect(4680, 2400, 2535, 1455));
    auto* label = Named(new QLabel(QStringLiteral("Sort data grid into ascending numerical order based on X or Y "), frame),
                        "Label4");
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(TwipsRect(120, 240, 2295, 495));
    optSortX_ = Named(new QRadioButton(QStringLiteral("X Values"), frame), "OptSortX");
    optSortX_->setGeometry(TwipsRect(240, 720, 975, 255));
    optSortX_->setChecked(true);
    optSortY_ = Named(new QRadioButton(QStringLiteral("Y Values"), frame), "OptSortY");
    optSortY_->setGeometry(TwipsRect(240, 1080, 975, 255));
    auto* sort = Named(new QPushButton(QStringLiteral("&Sort"), frame), "cmdSort");
    sort->setGeometry(TwipsRect(1320, 840, 975, 300));

    connect(sort, &QPushButton::clicked, this, &DataWindow::cmdSort_Click);
}

GridModel& DataWindow::grid() const
{
    return *model_;
}

QTableView* DataWindow::gridView() const
{
    return view_;
}

void DataWindow::Form_Load()
{
    model_->replaceRows(RemoveAllRows);
    for (int c = 0; c < GridColumnCount; ++c)
        view_->setColumnWidth(c, Px(ColumnWidths[c]));
    view_->resize(Px(GridWidth), view_->height());
    setCurrentCell(0, 0);
    showCaption();
    for (int c = 0; c < GridColumnCount; ++c)
        model_->setColumnAlignment(c, Qt::AlignCenter);

    const QScreen* shown = screen();
    const int screenHeight = shown ? shown->geometry().height() : 0;
    outerSize_ = QSize(Px(WindowWidth), static_cast<int>(0.48 * screenHeight));
    applyOuterSize();
}

// The designed size is the outer size of the MDI child.
void DataWindow::applyOuterSize()
{
    if (!outerSize_.isValid())
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->resize(outerSize_);
    else
        resize(outerSize_);
}

bool DataWindow::event(QEvent* event)
{
    // The MDI child sizes itself after taking the window in; the designed
    // size follows once it has.
    if (event->type() == QEvent::ParentChange)
        QMetaObject::invokeMethod(this, &DataWindow::applyOuterSize, Qt::QueuedConnection);
    return QWidget::event(event);
}

void DataWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void DataWindow::Form_Resize()
{
    setHeaderFixed(false);
    const QWidget* outer = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    view_->resize(view_->width(), static_cast<int>(0.8 * outer->height()));
    setHeaderFixed(HeaderRowFixed(model_->rowCount()));
    update();
}

void DataWindow::setHeaderFixed(bool fixed)
{
    headerFixed_ = fixed;
    applyHeaderFixing();
}

// A fixed header row stands above the rows as the view's own header: it
// never scrolls away, and the row itself is hidden so nothing selects it.
void DataWindow::applyHeaderFixing()
{
    view_->horizontalHeader()->setVisible(headerFixed_);
    view_->setRowHidden(0, headerFixed_);
}

std::optional<AppError> DataWindow::AppendPointRow(PrecisionValue x, PrecisionValue y)
{
    return AppendFormattedPointRow(NumberText(x), NumberText(y));
}

std::optional<AppError> DataWindow::AppendFormattedPointRow(const QString& xText, const QString& yText)
{
    std::optional<AppError> refused = model_->appendRow({NumberText(model_->rowCount()), xText, yText});
    update(); // coalesced by the event loop: rows come in by the thousand
    return refused;
}

bool DataWindow::sortOnX() const
{
    return optSortX_->isChecked();
}

void DataWindow::setSortOnX(bool onX)
{
    (onX ? optSortX_ : optSortY_)->setChecked(true);
}

int DataWindow::currentRow() const
{
    return view_->currentIndex().row();
}

CellBlock DataWindow::selectedBlock() const
{
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        const QModelIndex current = view_->currentIndex();
        return current.isValid() ? CellBlock::single(current.row(), current.column()) : CellBlock::single(0, 0);
    }
    CellBlock block{selected.first().row(), selected.first().column(), selected.first().row(),
                    selected.first().column()};
    for (const QModelIndex& index : selected) {
        block.row = std::min(block.row, index.row());
        block.rowSel = std::max(block.rowSel, index.row());
        block.column = std::min(block.column, index.column());
        block.columnSel = std::max(block.columnSel, index.column());
    }
    return block;
}

bool DataWindow::setCurrentCell(int row, int column)
{
    if (row < 0 || row >= model_->rowCount() || column < 0 || column >= GridColumnCount ||
        (row == 0 && headerFixed_))
        return false;
    view_->selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::ClearAndSelect);
    return true;
}

void DataWindow::selectRows(int first, int last)
{
    const int top = std::clamp(std::min(first, last), 0, model_->rowCount() - 1);
    const int bottom = std::clamp(std::max(first, last), 0, model_->rowCount() - 1);
    QItemSelectionModel* selection = view_->selectionModel();
    selection->setCurrentIndex(model_->index(top, 0), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(model_->index(top, 0), model_->index(bottom, GridColumnCount - 1)),
                      QItemSelectionModel::ClearAndSelect);
}

int DataWindow::topRow() const
{
    return view_->rowAt(0);
}

void DataWindow::setTopRow(int row)
{
    if (row >= 0 && row < model_->rowCount())
        view_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
}

void DataWindow::GridData_Click()
{
    if (currentRow() == 0)
        setCurrentCell(1, view_->currentIndex().column());
    const QString number = QString::number(std::max(currentRow(), 0));
    if (text1_->text() != number)
        text1_->setText(number); // runs Text1_Change
}

void DataWindow::Text1_Change()
{
    const std::int64_t row = RoundHalfEven(LeadingNumber(text1_->text()));
    // A number that is no row leaves the current row where it was.
    if (row >= 0 && row < model_->rowCount()) {
        setTopRow(static_cast<int>(row));
        // Already current (a Shift+click), the row keeps the block selected.
        if (row != currentRow())
            setCurrentCell(static_cast<int>(row), std::max(view_->currentIndex().column(), 0));
    }
    const int current = currentRow();
    if (current <= 0)
        return;
    txtXValue_->setText(model_->cell(current, 1));
    txtYValue_->setText(model_->cell(current, 2));
    markPoint();
}

// The point being edited, in half the points colour, until the next refresh.
void DataWindow::markPoint()
{
    const AppState& s = appState();
    const auto position = activeCalibration().positionOfCells(txtXValue_->text(), txtYValue_->text(), s);
    if (position && app().document)
        app().document->surface()->drawDot(position->x(), position->y(), CurrentCurveColour() / 2);
}

void DataWindow::cmdSetValues_Click()
{
    const double number = LeadingNumber(text1_->text());
    const std::int64_t row = RoundHalfEven(number);
    if (number <= 0 || row < 1 || row >= model_->rowCount())
        return;
    const UndoStep step(QStringLiteral("Set New Values"));
    setTopRow(static_cast<int>(row));
    setCurrentCell(static_cast<int>(row), std::max(view_->currentIndex().column(), 0));
    model_->setCell(static_cast<int>(row), 1, TrimBlanks(txtXValue_->text()));
    model_->setCell(static_cast<int>(row), 2, TrimBlanks(txtYValue_->text()));
    RunCommand(QStringLiteral("mnuViewRefresh"));
}

// The model shows the current curve afresh; what the edit boxes hold stays
// with the curve it was typed for.
void DataWindow::switchCurves(const std::function<void(CurveDocument&)>& change)
{
    CurveDocument& curves = app().curves;
    const int leaving = curves.current().id;
    curves.setDataFile(curves.currentIndex(), appState().DataFileName, curves.current().layout);
    std::array<QString, 3> typed{text1_->text(), txtXValue_->text(), txtYValue_->text()};
    model_->changeCurves(change);
    const Curve& shown = curves.current();
    appState().DataFileName = shown.dataFileName;
    if (shown.id != leaving) {
        edits_[leaving] = std::move(typed);
        const auto kept = edits_.find(shown.id);
        typed = kept == edits_.end() ? std::array<QString, 3>{} : kept->second;
        if (kept != edits_.end())
            edits_.erase(kept);
        const QSignalBlocker quiet(text1_);
        text1_->setText(typed[0]);
        txtXValue_->setText(typed[1]);
        txtYValue_->setText(typed[2]);
    }
    std::erase_if(edits_, [&curves](const auto& kept) { return curves.indexOf(kept.first) < 0; });
    showCaption();
    if (app().main) // a curve without a file shows the panel's caption, as at start
        app().main->statusPanels()->setPanelText(
            1, shown.dataFileName.isEmpty() ? QStringLiteral("Data File") : shown.dataFileName);
}

void DataWindow::changeCurves(const std::function<void(CurveDocument&)>& change)
{
    switchCurves(change);
    RunCommand(QStringLiteral("mnuViewRefresh"));
    setCurrentCell(headerFixed_ ? 1 : 0, 0);
}

// Every curve's markers are on the picture already: only which lie on top
// changes, so nothing is drawn again.
void DataWindow::showCurve(int index)
{
    switchCurves([index](CurveDocument& curves) { curves.setCurrent(index); });
    setHeaderFixed(HeaderRowFixed(model_->rowCount()));
    setCurrentCell(headerFixed_ ? 1 : 0, 0);
    if (app().document) {
        app().document->curveBox()->setCurrentIndex(index);
        app().document->surface()->setMarkerGroup(app().curves.current().id);
    }
}

// The caption names the curve shown once there is more than one; it still
// starts with "Data", by which the commands know the window.
void DataWindow::showCaption()
{
    const CurveDocument& curves = app().curves;
    setWindowTitle(curves.count() > 1 ? QStringLiteral("Data Points - ") + curves.current().name
                                      : QStringLiteral("Data Points"));
}

void DataWindow::sortRows()
{
    const SortKey key = sortOnX() ? SortKey::X : SortKey::Y;
    BusyPointer busy(Qt::BusyCursor);
    model_->reorderTexts([key](GridRows& rows) {
        RowsReorder record;
        SortGridRows(rows, key, record);
        return record;
    });
}

void DataWindow::cmdSort_Click()
{
    const UndoStep step(QStringLiteral("Sort"));
    sortRows();
    Text1_Change();
}

void DataWindow::closeEvent(QCloseEvent* event)
{
    const bool several = app().curves.count() > 1;
    if (app().curves.anyPoints()) {
        if (ShowMessage(QStringLiteral("Values will be deleted from the grid if the grid window is closed.\r\n"
                                       "Do you want to close the window?"),
                        windowTitle(), MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
            event->ignore();
            return;
        }
        if (ShowMessage(QStringLiteral("Save Data from the Grid?"), QStringLiteral("Last Call"), MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes)
            RunCommand(several ? QStringLiteral("SaveEveryCurve") : QStringLiteral("mnuDataSave"));
    }
    event->accept();
    const UndoStep step(QStringLiteral("Close Data Points"));
    model_->changeCurves([](CurveDocument& curves) {
        for (int i = 0; i < curves.count(); ++i)
            curves.editRows(i, RemoveAllRows);
    });
    // Closed, the window is gone with its rows; the next use makes a new one.
    if (app().data == this)
        app().data = nullptr;
}

void DataWindow::mouseMoveEvent(QMouseEvent* event)
{
    appState().MouseOverPicture = false;
    QWidget::mouseMoveEvent(event);
}

// The right button opens the pop-up menu and leaves the selection alone;
// the corner of the fixed header row selects every data row.
bool DataWindow::eventFilter(QObject* watched, QEvent* event)
{
    QHeaderView* header = view_->horizontalHeader();
    if ((watched == view_->viewport() || watched == header->viewport()) &&
        event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (watched == header->viewport() && press->button() == Qt::LeftButton) {
            if (header->logicalIndexAt(press->position().toPoint()) == 0)
                selectRows(1, model_->rowCount() - 1);
            return false;
        }
        if (press->button() == Qt::RightButton) {
            // Pressed, the window becomes the active child, as any click makes it.
            if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
                sub->mdiArea()->setActiveSubWindow(sub);
            PlayResourceSound(ClickSound);
            if (app().main) {
                if (QMenu* popUp = app().main->menu(QStringLiteral("mnuPopUpMenu")))
                    popUp->popup(press->globalPosition().toPoint());
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tracella
