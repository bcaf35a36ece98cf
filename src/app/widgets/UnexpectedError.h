#pragma once

#include "app/core/AppError.h"

#include <QApplication>

namespace tracella {

// The unexpected-error message of every command: restores the normal
// pointer first, then shows "Error # ... was generated." with its description.
void ShowUnexpectedError(const AppError& error);

// The screen-wide busy pointer for the length of a scope.
class BusyPointer {
public:
    explicit BusyPointer(Qt::CursorShape shape = Qt::BusyCursor) { QApplication::setOverrideCursor(shape); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace tracella
