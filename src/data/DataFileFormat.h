#pragma once

#include "data/GridRows.h"

#include <QByteArray>
#include <QString>

namespace tracella {

// How one grid row becomes one line of a data file.
enum class DataFileLayout {
    Space,  // fields from character columns 1, 20 and 40
    Tab,    // a tab before each field
    Comma,  // each field in double quotes, separated by commas
};

// The save dialog's filter; its index (from 1) chooses the layout.
inline const QString DataFileFilter = QStringLiteral(
    "All Files (*.*)|*.*|Space Delimited (*.txt)|*.txt|Comma Delimited (*.csv)|*.csv|Tab Delimited (*.dat)|*.dat");
constexpr int DefaultDataFileFilterIndex = 2;

// 2 space, 4 tab; "All Files" and every other index write commas.
DataFileLayout LayoutForFilterIndex(int filterIndex);

// The whole file: one line per row from the header row on, each ending in
// CR LF, the texts unchanged, UTF-8 without a byte-order mark. In the space
// layout a text too long for its field is followed by exactly one blank, so
// the next field starts late but every line still splits on whitespace.
QByteArray DataFileBytes(const GridRows& rows, DataFileLayout layout);

} // namespace tracella
