#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace tracella {

// The program's version record, read by the about box and the splash window.
struct VersionRecord {
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString title;
    QString fileDescription;
    QString companyName;
    QString legalCopyright;
};

const VersionRecord& ProgramVersion();

// "Version 3.0.0"
QString VersionLine(const VersionRecord& record);

// The about box's description: what the program is for and who wrote it.
QString AboutDescription(const VersionRecord& record);

// The splash window's date line, "mmmm dd, yyyy - hh:mm:ss AMPM": full month
// name, two-digit day, four-digit year, the 12-hour clock and the locale's
// AM or PM designator.
QString DateLine(const QDateTime& when, const QLocale& locale);

// "SANE v." followed by the scanner library's version (x 100) divided by 100
// in NumberText form; the bare label when the library gave none.
QString ScannerVersionLabel(std::optional<int> versionTimes100);

// The warranty notice of both windows.
extern const QString WarrantyNotice;
// Where the about box's mail link writes to.
extern const QString AuthorMailAddress;

// A text with CR LF or CR line breaks as a label shows it.
QString LabelText(QString text);

} // namespace tracella
