#pragma once

#include <QString>

namespace tracella {

// The import dialog's filter, second entry preselected.
inline const QString PictureImportFilter =
    QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.ico;*.wmf;*.jpg;*.gif)|*.bmp;*.ico;*.wmf;*.jpg;*.gif");
constexpr int PictureImportFilterIndex = 2;

// The new-document reset, also run by import and paste: no data file, the
// calibration reset, the surface emptied, status panels 1 to 4 reset. The
// grid keeps its rows.
void ResetDocument();

// New, Import, Paste and Copy of the Picture menu, and ResetDocument by name.
void RegisterPictureCommands();

} // namespace tracella
