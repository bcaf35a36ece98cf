#include "app/core/AppError.h"

#include "app/core/NumberText.h"

#include <cstring>

namespace tracella {

AppError FileError(int errnoValue, const QString& path)
{
    return {errnoValue, QString::fromLocal8Bit(std::strerror(errnoValue)) + QStringLiteral(": ") + path};
}

QString UnexpectedErrorText(const AppError& error)
{
    return QStringLiteral("Error # ") + NumberText(static_cast<std::int64_t>(error.number)) +
           QStringLiteral(" was generated. ") + QChar(u'\r') + error.description;
}

} // namespace tracella

#include "app/core/Message.h"

namespace tracella {

Message UnexpectedErrorMessage(const AppError& error)
{
    return {UnexpectedErrorText(error), QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace tracella
