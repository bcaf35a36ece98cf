#include "app/core/TempPicture.h"

#include <QDir>
#include <QStandardPaths>

namespace tracella {

QString TempPicturePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("Tracella_TempFile"));
}

} // namespace tracella
