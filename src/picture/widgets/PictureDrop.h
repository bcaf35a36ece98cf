#pragma once

#include <QStringList>

#include <memory>

class QMimeData;
class QWidget;

namespace tracella {

class PictureJob;

// Pictures and PDF documents dropped on the window open as the import
// opens them.
void AcceptPictureDrops(QWidget& window);
// The local file a drop carries (the first), or empty.
QString DroppedFile(const QMimeData& data);

// The program's arguments after its name: a picture file named there starts
// decoding at once, while the splash shows (nullptr for no file, and for a
// PDF document, whose questions wait for the window).
std::shared_ptr<PictureJob> StartArgumentFile(const QStringList& arguments);

// The file named there opens as the import opens it, from the job started
// for it if there is one; with none the program starts as it always does.
void OpenArgumentFile(const QStringList& arguments, std::shared_ptr<PictureJob> started = nullptr);

} // namespace tracella
