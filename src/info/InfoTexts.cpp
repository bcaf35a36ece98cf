#include "info/InfoTexts.h"

#include "app/core/Message.h"
#include "app/core/NumberText.h"

namespace tracella {

const QString WarrantyNotice = QStringLiteral(
    "Warning: Tracella is provided as it is, without warranty of any kind. Check every value it reads against "
    "the original graph before you rely on it.");

const QString AuthorMailAddress = QStringLiteral("tracella-developers@users.noreply.github.com");

const VersionRecord& ProgramVersion()
{
    static const VersionRecord record{
        3,
        0,
        0,
        ApplicationTitle,
        QStringLiteral("This program was written to help gathering values from images."),
        QStringLiteral("Tracella Developers"),
        QStringLiteral("Copyright (c) 2004-2026 Tracella Developers"),
    };
    return record;
}

QString VersionLine(const VersionRecord& record)
{
    return QStringLiteral("Version %1.%2.%3").arg(record.major).arg(record.minor).arg(record.revision);
}

QString AboutDescription(const VersionRecord& record)
{
    return record.fileDescription + QStringLiteral("\r\n\r\nWritten by:\r") + record.legalCopyright;
}

QString DateLine(const QDateTime& when, const QLocale& locale)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString designator = time.hour() < 12 ? locale.amText() : locale.pmText();
    return QStringLiteral("%1 %2, %3 - %4:%5:%6 %7")
        .arg(locale.monthName(date.month(), QLocale::LongFormat))
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.year(), 4, 10, QChar(u'0'))
        .arg(hour12, 2, 10, QChar(u'0'))
        .arg(time.minute(), 2, 10, QChar(u'0'))
        .arg(time.second(), 2, 10, QChar(u'0'))
        .arg(designator);
}

QString ScannerVersionLabel(std::optional<int> versionTimes100)
{
    QString label = QStringLiteral("SANE v.");
    if (versionTimes100)
        label += NumberText(*versionTimes100 / 100.0);
    return label;
}

QString LabelText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

} // namespace tracella
