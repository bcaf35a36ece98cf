#pragma once

#include <QStringList>

class QMimeData;
class QWidget;

namespace tracella {

// Pictures and PDF documents dropped on the window open as the import
// opens them.
void AcceptPictureDrops(QWidget& window);
// The local file a drop carries (the first), or empty.
QString DroppedFile(const QMimeData& data);

// The program's arguments after its name: a file opens as the import opens
// it; with none the program starts as it always does.
void OpenArgumentFile(const QStringList& arguments);

} // namespace tracella
