#pragma once

#include <QCursor>
#include <QPixmap>

namespace tracella {

// The pointer pictures of the main window's list, by 1-based position; a
// position outside the list gives its nearest end.
QPixmap PointerPixmap(int position);
QCursor PointerCursor(int position);

// How many pointer pictures the options' slider offers. The main window's
// load step sets it to the size of its list; until then the slider has one.
void SetPointerSliderMaximum(int count);
int PointerSliderMaximum();

} // namespace tracella
