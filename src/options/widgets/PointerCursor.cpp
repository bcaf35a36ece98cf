#include "options/widgets/PointerCursor.h"

#include "resources/CursorHotspots.h"

#include <algorithm>

namespace tracella {
namespace {

int& SliderMaximum()
{
    static int maximum = 1;
    return maximum;
}

} // namespace

QPixmap PointerPixmap(int position)
{
    return QPixmap(QString::fromLatin1(PointerImageAt(position).resource));
}

QCursor PointerCursor(int position)
{
    const PointerImage& image = PointerImageAt(position);
    return QCursor(PointerPixmap(position), image.hotX, image.hotY);
}

void SetPointerSliderMaximum(int count)
{
    SliderMaximum() = std::max(1, count);
}

int PointerSliderMaximum()
{
    return SliderMaximum();
}

} // namespace tracella
