#pragma once

#include "app/core/AppError.h"
#include "picture/Picture.h"

#include <QString>

#include <optional>

namespace tracella {

// Whether a file's content is a PDF document.
bool IsPdfFile(const QString& path);

// A PDF page opened for the document: asks for the password of an
// encrypted file (input box) and, when there are several pages, for the
// page and resolution (page chooser). Esc while the page is drawn gives the
// import up (Cancelled). Nothing of the document is touched.
struct PdfOpening {
    enum class Outcome { Cancelled, Failed, Opened } outcome = Outcome::Cancelled;
    Picture picture;
    int pageNumber = 0; // 1-based
    AppError error;
    int dpi = 0; // the resolution asked for
};
PdfOpening OpenPdfPage(const QString& path);

} // namespace tracella
