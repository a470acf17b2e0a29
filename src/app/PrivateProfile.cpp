#include "PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <optional>

namespace {

std::optional<QString> SectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<QString> KeyName(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return std::nullopt;
    return line.left(eq).trimmed();
}

// Position of the section header, and of the key line within the section if present.
struct Location
{
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype sectionEnd = -1; // one past the section's last non-empty line
};

Location Find(const QStringList &lines, const QString &section, const QString &key)
{
    Location loc;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (loc.section >= 0)
                break;
            if (SameName(*name, section)) {
                loc.section = i;
                loc.sectionEnd = i + 1;
            }
            continue;
        }
        if (loc.section < 0)
            continue;
        if (!lines[i].trimmed().isEmpty())
            loc.sectionEnd = i + 1;
        const auto k = KeyName(lines[i]);
        if (k && loc.key < 0 && SameName(*k, key))
            loc.key = i;
    }
    return loc;
}

} // namespace

PrivateProfile::PrivateProfile(QString path) : m_path(std::move(path)) {}

QStringList PrivateProfile::ReadLines() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd())
        lines.append(in.readLine());
    return lines;
}

QString PrivateProfile::ReadString(const QString &section, const QString &key,
                                   const QString &defaultValue) const
{
    const QStringList lines = ReadLines();
    const Location loc = Find(lines, section, key);
    if (loc.key < 0)
        return defaultValue.left(kMaxValueLength);
    const QString &line = lines[loc.key];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed().left(kMaxValueLength);
}

bool PrivateProfile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines = ReadLines();
    const Location loc = Find(lines, section, key);
    const QString entry = key + QLatin1Char('=') + value;
    if (loc.key >= 0) {
        lines[loc.key] = entry;
    } else if (loc.section >= 0) {
        lines.insert(loc.sectionEnd, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(entry);
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    for (const QString &line : lines)
        out << line << '\n';
    out.flush();
    return out.status() == QTextStream::Ok && file.commit();
}
