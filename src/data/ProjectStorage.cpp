#include "data/ProjectStorage.h"

#include "data/DataFileWriting.h"
#include "data/ProjectStart.h"

#include <QFile>
#include <QFileInfo>


namespace tracella {

namespace {

QString Refused(const QString& path, const QString& why)
{
    return QStringLiteral("Cannot open the project %1.\n%2").arg(path, why);
}

} // namespace

std::optional<AppError> SaveProjectFile(const QString& path, const Project& project)
{
    return WriteDataFile(path, EncodeProject(project));
}

std::variant<Project, QString> ReadProjectFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Refused(path, QStringLiteral("The file does not exist."));
    // A pipe or device would be read without end, a folder not at all.
    if (!info.isFile())
        return Refused(path, QStringLiteral("It is not a file."));
    if (info.size() > MaxProjectFileBytes)
        return Refused(path, QStringLiteral("The file is %1 MiB, larger than the %2 MiB a project can hold.")
                                 .arg(info.size() >> 20)
                                 .arg(MaxProjectFileBytes >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refused(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Refused(path, file.errorString());
    // Other bytes are not decoded at all: see IsProjectStart.
    if (!bytes.isEmpty() && !IsProjectStart(bytes))
        return Refused(path, QStringLiteral("This is not a Tracella project file."));
    auto decoded = DecodeProject(bytes);
    if (const QString* problem = std::get_if<QString>(&decoded))
        return Refused(path, *problem);
    return decoded;
}

} // namespace tracella
