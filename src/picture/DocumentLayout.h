#pragma once

#include <QRect>
#include <QSize>

namespace tracella {

// What the document window's layout step works from, all in pixels.
struct DocumentLayoutInput {
    QSize inner;                  // the window's inner size
    int top = 0;                  // first row below the image toolbar strip (0 when it is hidden)
    int verticalBarWidth = 0;     // width of the vertical scroll bar
    int horizontalBarHeight = 0;  // height of the horizontal scroll bar
    QSize surface;                // the picture surface's size (the picture's size)
};

// Where the viewport and the scroll bars go, and the scroll ranges. Ranges
// are plain ints: the widest picture is far below their limit, unlike the
// 16-bit ranges of old.
struct DocumentLayout {
    QRect viewport;
    QRect horizontalBar;
    QRect verticalBar;
    int horizontalMaximum = 0; // the range is 0 to this
    int verticalMaximum = 0;
    bool horizontalVisible = false;
    bool verticalVisible = false;
};

// The viewport fills the window less a scroll bar's breadth on the right and
// at the bottom; the bars sit along it; each bar shows only when the surface
// overhangs the viewport in its direction.
DocumentLayout LayOutDocument(const DocumentLayoutInput& in);

} // namespace tracella
