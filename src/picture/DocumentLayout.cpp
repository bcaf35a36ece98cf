#include "picture/DocumentLayout.h"

#include <algorithm>

namespace tracella {

DocumentLayout LayOutDocument(const DocumentLayoutInput& in)
{
    DocumentLayout out;
    const int width = std::max(0, in.inner.width() - in.verticalBarWidth);
    const int height = std::max(0, in.inner.height() - in.top - in.horizontalBarHeight);
    out.viewport = QRect(0, in.top, width, height);
    out.horizontalBar = QRect(0, in.top + height, width, in.horizontalBarHeight);
    out.verticalBar = QRect(width, in.top, in.verticalBarWidth, height);
    out.horizontalMaximum = std::max(0, in.surface.width() - width);
    out.verticalMaximum = std::max(0, in.surface.height() - height);
    out.horizontalVisible = in.surface.width() > width;
    out.verticalVisible = in.surface.height() > height;
    return out;
}

} // namespace tracella
