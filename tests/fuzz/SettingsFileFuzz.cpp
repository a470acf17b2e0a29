// libFuzzer target: the settings file on any contents. Reads the keys, writes one, and
// requires that the write changed only its own line (or added it) and reads back as written.
#include "settings/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The file's lines as the settings class splits them: at LF, a final line end not counted.
QList<QByteArray> Lines(const QByteArray &content)
{
    QList<QByteArray> lines = content.split('\n');
    if (content.isEmpty() || content.endsWith('\n'))
        lines.removeLast();
    return lines;
}

// `after` is `before` with one line replaced, or with one to three lines added in one place
// (a key line; or, for a new section, a blank line, the header and the key line).
bool OnlyOnePlaceChanged(const QList<QByteArray> &before, const QList<QByteArray> &after)
{
    qsizetype i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i])
        ++i;
    const qsizetype added = after.size() - before.size();
    if (added < 0 || added > 3)
        return false;
    const qsizetype skipBefore = added == 0 ? 1 : 0; // a replaced line is skipped on both sides
    for (qsizetype j = i + skipBefore; j < before.size(); ++j) {
        if (before[j] != after[j + added])
            return false;
    }
    return true;
}

QString SettingsPath()
{
    // In memory when possible: every write renames a new file into place.
    static const QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tolm-fuzz")
                                                             : QString());
    return dir.filePath(QStringLiteral("VIRIVI.INI"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const char *const kSections[] = {"Main", "main", "Other", "MAIN"};
    static const char *const kKeys[] = {"PicDevice", "ModulePort", "WorkingDir", "picdevice"};
    // Values without line ends, quotes or surrounding blanks read back exactly as written.
    static const char kValueCharacters[] = "abcXYZ019_./:\\-=[];#";
    const QString section = QString::fromLatin1(kSections[data[0] & 3]);
    const QString key = QString::fromLatin1(kKeys[(data[0] >> 2) & 3]);
    const std::size_t valueLength = data[1] % 16;
    QString value;
    for (std::size_t i = 0; i < valueLength && 2 + i < size; ++i)
        value += QLatin1Char(kValueCharacters[data[2 + i] % (sizeof kValueCharacters - 1)]);
    const std::size_t fileStart = std::min(size, 2 + valueLength);
    const QByteArray before(reinterpret_cast<const char *>(data + fileStart),
                            static_cast<qsizetype>(size - fileStart));

    QFile file(SettingsPath());
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Require(file.write(before) == before.size());
    file.close();

    PrivateProfile profile(SettingsPath());
    for (const char *name : kKeys)
        Require(profile.ReadString(section, QString::fromLatin1(name), "-").size() <=
                PrivateProfile::kMaxValueLength);
    Require(profile.WriteString(section, key, value));
    Require(profile.ReadString(section, key, QStringLiteral("<none>")) == value);

    Require(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    Require(OnlyOnePlaceChanged(Lines(before), Lines(after)));
    return 0;
}
