#include "data/CurveExport.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace tracella {
namespace {

constexpr int MaxNamePartBytes = 120;

QString CsvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray CsvBytes(const std::vector<QStringList>& lines)
{
    QString text;
    for (const QStringList& fields : lines) {
        QStringList quoted;
        quoted.reserve(fields.size());
        for (const QString& field : fields)
            quoted.append(CsvField(field));
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QByteArray LongBytes(const CurveDocument& curves)
{
    std::vector<QStringList> lines{{QStringLiteral("Curve"), QStringLiteral("X"), QStringLiteral("Y")}};
    for (int i = 0; i < curves.count(); ++i) {
        const Curve& c = curves.curve(i);
        for (int r = 1; r < c.rows.rowCount(); ++r)
            lines.push_back({c.name, c.rows.cell(r, 1), c.rows.cell(r, 2)});
    }
    return CsvBytes(lines);
}

QByteArray WideBytes(const CurveDocument& curves)
{
    std::vector<QStringList> lines(1);
    int longest = 0;
    for (int i = 0; i < curves.count(); ++i) {
        lines[0] << curves.curve(i).name + QStringLiteral(" X") << curves.curve(i).name + QStringLiteral(" Y");
        longest = std::max(longest, curves.curve(i).rows.dataRowCount());
    }
    for (int r = 1; r <= longest; ++r) {
        QStringList fields;
        for (int i = 0; i < curves.count(); ++i) {
            const GridRows& rows = curves.curve(i).rows;
            const bool held = r < rows.rowCount();
            fields << (held ? rows.cell(r, 1) : QString()) << (held ? rows.cell(r, 2) : QString());
        }
        lines.push_back(fields);
    }
    return CsvBytes(lines);
}

std::vector<CurveFile> PerCurveFiles(const CurveDocument& curves, const QString& chosen)
{
    const QFileInfo info(chosen);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString stem = info.path() + u'/' + info.completeBaseName() + QStringLiteral(" - ");
    std::vector<CurveFile> files;
    QSet<QString> taken; // folded: two names may differ only in case
    for (int i = 0; i < curves.count(); ++i) {
        const Curve& c = curves.curve(i);
        if (c.rows.dataRowCount() == 0)
            continue;
        const QString part = SafeFileNamePart(c.name);
        QString path = stem + part + suffix;
        for (int n = 2; taken.contains(path.toCaseFolded()); ++n)
            path = stem + part + QStringLiteral(" (%1)").arg(n) + suffix;
        taken.insert(path.toCaseFolded());
        files.push_back({path, DataFileBytes(c.rows, DataFileLayout::Comma)});
    }
    return files;
}

} // namespace

CurveExportLayout CurveExportLayoutForFilterIndex(int filterIndex)
{
    switch (filterIndex) {
    case 2:
        return CurveExportLayout::Wide;
    case 3:
        return CurveExportLayout::PerCurve;
    default:
        return CurveExportLayout::Long;
    }
}

std::vector<CurveFile> CurveExportFiles(const CurveDocument& curves, const QString& chosen, CurveExportLayout layout)
{
    switch (layout) {
    case CurveExportLayout::Long:
        return {{chosen, LongBytes(curves)}};
    case CurveExportLayout::Wide:
        return {{chosen, WideBytes(curves)}};
    case CurveExportLayout::PerCurve:
        break;
    }
    return PerCurveFiles(curves, chosen);
}

QString SafeFileNamePart(const QString& name)
{
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    QString safe;
    for (const QChar c : name)
        safe += (reserved.contains(c) || c.category() == QChar::Other_Control) ? u'_' : c;
    while (safe.toUtf8().size() > MaxNamePartBytes)
        safe.chop(safe.size() >= 2 && safe.back().isLowSurrogate() ? 2 : 1);
    while (!safe.isEmpty() && (safe.back() == u'.' || safe.back() == u' '))
        safe.chop(1);
    if (safe.startsWith(u'.'))
        safe[0] = u'_';
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

} // namespace tracella
