#pragma once

#include <QString>

#include <memory>

namespace tracella {

// The import dialog's filter, second entry preselected; PDF documents after
// the two picture entries.
inline const QString PictureImportFilter =
    QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.ico;*.wmf;*.jpg;*.gif)|*.bmp;*.ico;*.wmf;*.jpg;*.gif|"
                   "PDF Documents (*.pdf)|*.pdf");
constexpr int PictureImportFilterIndex = 2;

// The new-document reset, also run by import and paste: no data file, the
// calibration reset, the surface emptied, status panels 1 to 4 reset. The
// grid keeps its rows.
void ResetDocument();

class PictureJob;

// Opens a picture or PDF file as the import does once a file is chosen
// (also for a file named on the command line or dropped on the program).
// The picture decodes on a worker (or comes from `started`, a job already
// loading this path); the document changes only once it is ready.
void OpenPictureFile(const QString& path, std::shared_ptr<PictureJob> started = nullptr);

// New, Import, Paste and Copy of the Picture menu, and ResetDocument by name.
void RegisterPictureCommands();

} // namespace tracella
