#include "acquire/widgets/SourceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tracella {
namespace {

QString describe(const ScanSource& s)
{
    const QString product = QStringList{s.vendor, s.model}.join(QChar(u' ')).trimmed();
    return product.isEmpty() ? s.name : product + QStringLiteral(" (") + s.name + QChar(u')');
}

} // namespace

SourceDialog::SourceDialog(const QList<ScanSource>& sources, const QString& current, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectSource"));
    setWindowTitle(QStringLiteral("Select Source"));

    auto* label = new QLabel(QStringLiteral("&Sources:"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstSources"));
    label->setBuddy(list_);
    for (const ScanSource& s : sources) {
        auto* item = new QListWidgetItem(describe(s), list_);
        item->setData(Qt::UserRole, s.name);
        item->setToolTip(s.type);
        if (s.name == current)
            list_->setCurrentItem(item);
    }
    if (!list_->currentItem() && list_->count() > 0)
        list_->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* select = buttons->addButton(QStringLiteral("&Select"), QDialogButtonBox::AcceptRole);
    select->setObjectName(QStringLiteral("cmdSelect"));
    select->setDefault(true);
    select->setEnabled(list_->count() > 0);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(360, 240);
}

QString SourceDialog::selectedSource() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

std::optional<QString> SourceDialog::choose(QWidget* owner, const QList<ScanSource>& sources, const QString& current)
{
    SourceDialog dialog(sources, current, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedSource().isEmpty())
        return std::nullopt;
    return dialog.selectedSource();
}

} // namespace tracella
