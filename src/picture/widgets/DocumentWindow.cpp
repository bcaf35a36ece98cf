#include "picture/widgets/DocumentWindow.h"

#include <QVBoxLayout>

namespace tracella {

DocumentWindow::DocumentWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("Picture"));
    imageToolbar_ = new QWidget(this);
    imageToolbar_->setObjectName(QStringLiteral("Picture3"));
    imageToolbar_->setFixedHeight(22);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(imageToolbar_);
    layout->addStretch();
}

} // namespace tracella
