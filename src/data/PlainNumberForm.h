#pragma once

#include <QString>

#include <optional>

namespace tracella {

// What bringing a text into plain form changed, to take it back.
struct PlainMend {
    bool blankRemoved = false;
    bool zeroInserted = false; // after the minus sign when negative
    bool negative = false;
};

// Brings a cell text into the plain form the sort writes back (the
// PlainNumberText of its leading-number value) in place and gives that
// value, without the general reading and writing: done only for a plain
// decimal of at most 15 significant digits in positional range, with at
// most a blank in front or the "0" before its point missing, which covers
// the texts the grid writes itself. Nothing, the text untouched, for every
// other text. `mend`, when given, says what was changed.
std::optional<double> RewriteInPlainForm(QString& text, PlainMend* mend = nullptr);

} // namespace tracella
