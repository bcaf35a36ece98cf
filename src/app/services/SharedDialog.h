#pragma once

#include <QString>

namespace tracella {

// The file name the main window's shared file dialog (CMDialog) holds: what
// the last dialog returned, shown pre-filled by the next one that keeps it.
inline QString& SharedDialogFileName()
{
    static QString name;
    return name;
}

} // namespace tracella
