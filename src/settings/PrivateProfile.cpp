#include "PrivateProfile.h"

#include "fileio/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The lines as text for matching names and reading values; the raw bytes are what a write
// puts back, so a line this decoding cannot represent is never altered.
QStringList DecodedLines(const QList<QByteArray> &raw)
{
    QStringList lines;
    lines.reserve(raw.size());
    for (const QByteArray &line : raw)
        lines.append(QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line));
    return lines;
}

bool HasLineEnd(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Private-profile readers drop one pair of matching double or single quotes around a value,
// so a hand-written PicDevice="16f84" names the 16f84.
QString Unquoted(const QString &value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

PrivateProfile::PrivateProfile(QString path) : m_path(std::move(path)) {}

QList<QByteArray> PrivateProfile::ReadRawLines() const
{
    // Opening a FIFO would wait for a writer that never comes; only a regular file is read.
    if (SpecialFileKind(m_path))
        return {};
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    if (content.isEmpty())
        return {};
    QList<QByteArray> lines = content.split('\n');
    if (content.endsWith('\n'))
        lines.removeLast(); // the empty text after the last line end
    return lines;
}

QString PrivateProfile::ReadString(const QString &section, const QString &key,
                                   const QString &defaultValue) const
{
    return ReadStrings(section, {key}, defaultValue).constFirst();
}

QStringList PrivateProfile::ReadStrings(const QString &section, const QStringList &keys,
                                        const QString &defaultValue) const
{
    QList<std::pair<QString, QString>> keysAndDefaults;
    for (const QString &key : keys)
        keysAndDefaults.append({key, defaultValue});
    return ReadStrings(section, keysAndDefaults);
}

QStringList
PrivateProfile::ReadStrings(const QString &section,
                            const QList<std::pair<QString, QString>> &keysAndDefaults) const
{
    const QStringList lines = DecodedLines(ReadRawLines());
    QStringList values;
    values.reserve(keysAndDefaults.size());
    for (const auto &[key, defaultValue] : keysAndDefaults) {
        const Location loc = Find(lines, section, key);
        if (loc.key < 0) {
            values << defaultValue.left(kMaxValueLength);
            continue;
        }
        const QString &line = lines[loc.key];
        values << Unquoted(line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed())
                      .left(kMaxValueLength);
    }
    return values;
}

bool PrivateProfile::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteStrings(section, {{key, value}});
}

bool PrivateProfile::WriteStrings(const QString &section, const QList<KeyValue> &entries)
{
    // A line end inside a name or value would write lines of its own ("x\n[Main]"), which
    // later reads would take as sections and keys.
    if (HasLineEnd(section))
        return false;
    for (const auto &[key, value] : entries) {
        if (HasLineEnd(key) || HasLineEnd(value))
            return false;
    }
    QList<QByteArray> raw = ReadRawLines();
    // New lines follow the file's own line ends; a replaced line keeps the end it had.
    const QByteArray carriageReturn = !raw.isEmpty() && raw.first().endsWith('\r') ? "\r" : "";
    // One entry after the other, as if each were written on its own: a key added by an
    // earlier entry is found by a later one, and new keys keep the order given.
    for (const auto &[key, value] : entries) {
        const Location loc = Find(DecodedLines(raw), section, key);
        const QByteArray keyLine = (key + QLatin1Char('=') + value).toUtf8();
        const QByteArray entry = keyLine + carriageReturn;
        if (loc.key >= 0) {
            raw[loc.key] = keyLine + (raw[loc.key].endsWith('\r') ? "\r" : "");
        } else if (loc.section >= 0) {
            raw.insert(loc.sectionEnd, entry);
        } else {
            if (!raw.isEmpty() && !raw.last().trimmed().isEmpty())
                raw.append(carriageReturn);
            raw.append((QLatin1Char('[') + section + QLatin1Char(']')).toUtf8() + carriageReturn);
            raw.append(entry);
        }
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QByteArray content;
    for (const QByteArray &line : raw)
        content += line + '\n';
    // All or nothing: a full disk keeps the old file byte for byte and fails the write.
    return SaveFileSafely(m_path, content).Ok;
}
