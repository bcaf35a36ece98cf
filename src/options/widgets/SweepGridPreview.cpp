#include "options/widgets/SweepGridPreview.h"

#include "zoom/ZoomDrawing.h"

#include <QEvent>
#include <QPainter>

namespace tracella {

SweepGridPreview::SweepGridPreview(QWidget* surface) : QWidget(surface)
{
    setObjectName(QStringLiteral("SweepGridPreview"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(surface->rect());
    surface->installEventFilter(this);
    hide();
}

void SweepGridPreview::showGrid(const QSizeF& cell)
{
    cell_ = cell;
    raise();
    show();
    update();
}

bool SweepGridPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void SweepGridPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGrid(painter, size(), cell_.width(), cell_.height(), PreviewGridMinimumSpacing);
}

} // namespace tracella
