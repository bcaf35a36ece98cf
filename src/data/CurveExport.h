#pragma once

#include "data/CurveDocument.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tracella {

// How Save All Curves lays the curves out.
enum class CurveExportLayout {
    Long,     // one file: a header line, then curve name, X and Y per point
    Wide,     // one file: an X and a Y column per curve, side by side
    PerCurve, // one file per curve holding points, named after it
};

// The Save All Curves dialog's filter; its index (from 1) chooses the layout.
inline const QString CurveExportFilter = QStringLiteral(
    "All Curves, Long (*.csv)|*.csv|All Curves, Wide (*.csv)|*.csv|One File per Curve (*.csv)|*.csv");

CurveExportLayout CurveExportLayoutForFilterIndex(int filterIndex);

// A file to write and its whole contents.
struct CurveFile {
    QString path;
    QByteArray bytes;
};

// The files of the layout for the name chosen in the dialog. Values are the
// cells' texts unchanged; fields holding a comma, a quote or a line break
// are quoted as RFC 4180 has it; lines end in CR LF, UTF-8 without a mark.
// One file per curve: the chosen name with " - " and the curve's name
// before its extension, each in the comma layout of Save.
std::vector<CurveFile> CurveExportFiles(const CurveDocument& curves, const QString& chosen, CurveExportLayout layout);

// The name made fit for a file name on any common file system: no folder
// separators, reserved or control characters, no leading dot, no trailing
// dot or blank, at most 120 bytes of UTF-8.
QString SafeFileNamePart(const QString& name);

} // namespace tracella
