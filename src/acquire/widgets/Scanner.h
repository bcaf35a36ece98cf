#pragma once

#include "acquire/ScanLibrary.h"

#include <functional>

class QWidget;

namespace tracella {

// The program's scanner helper: the four operations the scanner command and
// the about box rely on, over a scanner library (SANE in the program).
class Scanner {
public:
    // Lets the user pick one of the sources; nullopt when they cancel.
    using SourceChooser = std::function<std::optional<QString>(QWidget* owner, const QList<ScanSource>& sources,
                                                               const QString& current)>;

    Scanner(ScanLibrary& library, SourceChooser chooser);

    // Non-zero when there is something to scan with: the library starts and
    // finds at least one source.
    int IsAvailable();
    // Offers the sources; cancelling keeps the current one.
    void SelectImageSource(QWidget* owner);
    // Scans one page from the current source (the first one found while none
    // has been chosen) onto the clipboard, with a progress dialog whose Cancel
    // stops the scan. 0 when no image reached the clipboard.
    int AcquireToClipboard(QWidget* owner);
    // The library's version x 100. Throws AppError when it does not start.
    int Version();

    QString currentSource() const { return source_; }

private:
    ScanLibrary& library_;
    SourceChooser choose_;
    QString source_;
};

// The scanner the program uses: SANE with the source dialog, unless a test
// installed its own.
Scanner& scanner();
// Makes `replacement` the program's scanner (nullptr: back to SANE); returns
// the one it replaces, nullptr for SANE.
Scanner* InstallScanner(Scanner* replacement);

} // namespace tracella
