#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// A settings file in the classic private-profile form:
//
//   [Main]
//   PicDevice=16f84
//
// Section and key names match without regard to case; a missing file, section or key
// gives the caller's default; values keep at most 1023 characters. A write changes only
// its own key, keeps every other line byte for byte (a file brought over from Windows keeps
// its CR LF ends and its own character set), and replaces the file atomically, so a failed
// write never leaves half a settings file behind.
class PrivateProfile
{
public:
    static constexpr int kMaxValueLength = 1023;

    explicit PrivateProfile(QString path);

    const QString &Path() const { return m_path; }

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    bool WriteString(const QString &section, const QString &key, const QString &value);

    // Several keys of one section from a single reading of the file, each value as ReadString
    // gives it, in the order of `keys`.
    QStringList ReadStrings(const QString &section, const QStringList &keys,
                            const QString &defaultValue) const;
    // The same with a default of its own for each key: (key, default) pairs.
    QStringList ReadStrings(const QString &section,
                            const QList<std::pair<QString, QString>> &keysAndDefaults) const;
    // Several keys of one section in a single replacement of the file, as if written one after
    // the other in the order given; all of them or, when one cannot be written, none.
    using KeyValue = std::pair<QString, QString>;
    bool WriteStrings(const QString &section, const QList<KeyValue> &entries);

private:
    // The file's lines as stored, each without its LF (a CR before the LF stays with it).
    QList<QByteArray> ReadRawLines() const;

    QString m_path;
};
