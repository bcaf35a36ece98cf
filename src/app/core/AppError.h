#pragma once

#include <QString>

namespace tracella {

// An error of the program: a number and a description. File errors carry
// errno; the program's own errors use the numbers below.
struct AppError {
    long number = 0;
    QString description;
};

namespace ErrorNumber {
constexpr long Overflow = 6;            // a value beyond the range of its type
constexpr long DivisionByZero = 11;
constexpr long InvalidArgument = 5;     // an argument or setting outside its range
constexpr long OutOfMemory = 7;
constexpr long Cancelled = 18;          // the user gave the work up
constexpr long BadFileFormat = 321;     // unreadable or unsupported picture
constexpr long PictureTooLarge = 480;
constexpr long GridFull = 30009;        // the grid cannot take another row
constexpr long NoPrinter = 482;
} // namespace ErrorNumber

// A file error from errno, with the system's description.
AppError FileError(int errnoValue, const QString& path);

// "Error # <NumberText> was generated. \r<description>"
QString UnexpectedErrorText(const AppError& error);

} // namespace tracella
