#include "picture/widgets/PageChooserDialog.h"

#include "picture/PdfDocument.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace tracella {
namespace {

QIcon blankPage()
{
    QPixmap pixmap(PageChooserDialog::ThumbnailSide * 3 / 4, PageChooserDialog::ThumbnailSide);
    pixmap.fill(QColor(235, 235, 235));
    QPainter painter(&pixmap);
    painter.setPen(QColor(180, 180, 180));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

class QtPageChooserService final : public PageChooserService {
public:
    std::optional<PageChoice> choose(const PageSource& pages, const QString& title, int dpi) override
    {
        PageChooserDialog dialog(pages, title, dpi, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }
};

} // namespace

PageChooserDialog::PageChooserDialog(const PageSource& pages, const QString& title, int dpi, QWidget* parent)
    : QDialog(parent), pages_(pages), hasThumbnail_(static_cast<std::size_t>(std::max(0, pages.pageCount())))
{
    setObjectName(QStringLiteral("frmPageChooser"));
    setWindowTitle(title);

    lstPages_ = new QListWidget(this);
    lstPages_->setObjectName(QStringLiteral("lstPages"));
    lstPages_->setViewMode(QListView::IconMode);
    lstPages_->setMovement(QListView::Static);
    lstPages_->setResizeMode(QListView::Adjust);
    lstPages_->setUniformItemSizes(true);
    lstPages_->setIconSize(QSize(ThumbnailSide, ThumbnailSide));
    lstPages_->setGridSize(QSize(ThumbnailSide + 24, ThumbnailSide + 32));
    lstPages_->setMinimumSize(4 * (ThumbnailSide + 24) + 30, 2 * (ThumbnailSide + 32) + 10);
    const QIcon blank = blankPage();
    for (int page = 0; page < pages.pageCount(); ++page)
        new QListWidgetItem(blank, QStringLiteral("Page %1").arg(page + 1), lstPages_);

    txtPage_ = new QSpinBox(this);
    txtPage_->setObjectName(QStringLiteral("txtPage"));
    txtPage_->setRange(1, std::max(1, pages.pageCount()));
    txtResolution_ = new QSpinBox(this);
    txtResolution_->setObjectName(QStringLiteral("txtResolution"));
    txtResolution_->setRange(MinimumPdfDpi, MaximumPdfDpi);
    txtResolution_->setSuffix(QStringLiteral(" dpi"));
    txtResolution_->setSingleStep(50);
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblResolutionNote"));
    lblNote_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Page:"), txtPage_);
    fields->addRow(QStringLiteral("Resolution:"), txtResolution_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lstPages_, 1);
    column->addLayout(fields);
    column->addWidget(lblNote_);
    column->addWidget(buttons);

    connect(lstPages_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            txtPage_->setValue(row + 1);
    });
    connect(lstPages_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(txtPage_, &QSpinBox::valueChanged, this, [this](int page) {
        lstPages_->setCurrentRow(page - 1);
        showNote();
    });
    connect(txtResolution_, &QSpinBox::valueChanged, this, &PageChooserDialog::showNote);

    // Thumbnails are drawn one per turn of the event loop, only for pages in sight.
    thumbnails_ = new QTimer(this);
    thumbnails_->setInterval(0);
    connect(thumbnails_, &QTimer::timeout, this, &PageChooserDialog::drawNextThumbnail);
    const auto wake = [this] { thumbnails_->start(); };
    connect(lstPages_->verticalScrollBar(), &QScrollBar::valueChanged, this, wake);
    thumbnails_->start();

    txtResolution_->setValue(dpi);
    setPage(0);
    showNote();
}

PageChoice PageChooserDialog::choice() const
{
    return {txtPage_->value() - 1, txtResolution_->value()};
}

void PageChooserDialog::setPage(int page)
{
    txtPage_->setValue(page + 1);
    lstPages_->setCurrentRow(page);
}

void PageChooserDialog::setDpi(int dpi)
{
    txtResolution_->setValue(dpi);
}

QString PageChooserDialog::resolutionNote() const
{
    return lblNote_->text();
}

void PageChooserDialog::showNote()
{
    const PageChoice c = choice();
    const int fitting = pages_.fittingDpi(c.page, c.dpi);
    lblNote_->setText(fitting < c.dpi ? QStringLiteral("Page %1 is too large at %2 dpi; it will be rendered at %3 "
                                                       "dpi, the highest resolution within %4 pixels a side.")
                                            .arg(c.page + 1)
                                            .arg(c.dpi)
                                            .arg(fitting)
                                            .arg(MaxPictureSide)
                                      : QString());
}

void PageChooserDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    thumbnails_->start(); // more pages may have come into sight
}

void PageChooserDialog::drawNextThumbnail()
{
    const QRect inSight = lstPages_->viewport()->rect();
    for (int row = 0; row < lstPages_->count(); ++row) {
        QListWidgetItem* item = lstPages_->item(row);
        if (hasThumbnail_[static_cast<std::size_t>(row)] || !lstPages_->visualItemRect(item).intersects(inSight))
            continue;
        hasThumbnail_[static_cast<std::size_t>(row)] = true;
        const QImage image = pages_.thumbnail(row, ThumbnailSide);
        if (!image.isNull()) {
            item->setIcon(QIcon(QPixmap::fromImage(image)));
            ++drawn_;
        }
        return; // one per turn; the timer comes back for the next
    }
    thumbnails_->stop();
}

PageChooserService& QtPageChooser()
{
    static QtPageChooserService chooser;
    return chooser;
}

} // namespace tracella
