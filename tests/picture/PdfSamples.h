#pragma once

#include <QByteArray>
#include <QSizeF>

namespace tracella::test {

// PDF documents made on the spot for the PDF import's tests, the fuzz
// corpus and the benchmarks.

// Pages of plots drawn by QPdfWriter: a frame, axes and a curve of
// `segments` line segments; each page's curve is its own, so pages differ.
QByteArray PlotPdfBytes(int pages, QSizeF pagePoints = QSizeF(595, 842), int segments = 200);

// Written by hand, one page of pagePoints with a filled square.
QByteArray SimplePdfBytes(QSizeF pagePoints = QSizeF(200, 100));
// A document whose page tree holds no page.
QByteArray NoPagePdfBytes();
// One page, encrypted with RC4 (standard security, revision 2) for the user password.
QByteArray EncryptedPdfBytes(const QByteArray& userPassword);

} // namespace tracella::test
