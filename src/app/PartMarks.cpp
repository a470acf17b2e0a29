#include "PartMarks.h"

#include "device/catalogue/PartDefinition.h"

#include <QFileInfo>

PartMarks MarksOf(const PartDefinition &part)
{
    PartMarks marks;
    marks.unconfirmed = !part.confirmedOnHardware;
    marks.userFile = part.source.userFile;
    marks.overridesShipped = part.overridesShipped;
    if (part.source.userFile)
        marks.file = part.source.file;
    return marks;
}

QString MarkText(const PartMarks &marks)
{
    QStringList lines;
    if (marks.unconfirmed)
        lines << QStringLiteral("Not yet confirmed on hardware: written from the manufacturer's "
                                "programming guide, never yet tried on a real chip "
                                "through the module.");
    if (marks.overridesShipped)
        lines << QStringLiteral("Your own definition (%1) replaces the one Tolm ships.")
                     .arg(QFileInfo(marks.file).fileName());
    else if (marks.userFile)
        lines << QStringLiteral("Your own part (%1).").arg(QFileInfo(marks.file).fileName());
    return lines.join(QLatin1Char('\n'));
}

QStringList PartsMatching(const QStringList &names, const QString &typed)
{
    QStringList found;
    const QString text = typed.trimmed();
    for (const QString &name : names) {
        if (name.contains(text, Qt::CaseInsensitive))
            found << name;
    }
    return found;
}

std::optional<QString> PartNamedBy(const QStringList &names, const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (names.contains(text))
        return text;
    for (const QString &name : names) {
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return name;
    }
    const QStringList found = PartsMatching(names, text);
    if (found.size() == 1)
        return found.front();
    return std::nullopt;
}
