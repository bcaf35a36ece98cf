#include "data/widgets/DataWindow.h"

namespace tracella {

DataWindow::DataWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("Data Points"));
}

} // namespace tracella
