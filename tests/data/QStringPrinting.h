#pragma once

#include <QString>
#include <ostream>

// Readable failure messages for cell texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
