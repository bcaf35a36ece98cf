#pragma once

#include <QString>

namespace tracella {

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A message box as the commands write it. Line breaks are "\r\n"; an empty
// title shows the application title.
struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// The title of every message box that names none of its own.
inline const QString ApplicationTitle = QStringLiteral("Tracella '2004");

// The unexpected-error message of every command.
struct AppError;
Message UnexpectedErrorMessage(const AppError& error);

} // namespace tracella
