#pragma once

#include <QString>
#include <QStringList>

// The hex files last loaded or saved, newest first, offered again from the Load button. They
// are kept in the settings file's own section for them and written as soon as they change:
// unlike the Options, a list of recent files that waited for a Save would never be there.
class RecentFiles
{
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QString settingsPath);

    const QStringList &Files() const { return m_files; }
    // The file (made absolute) goes first; an earlier entry for it goes.
    void Add(const QString &path);
    void Remove(const QString &path);

private:
    void Store();

    QString m_settingsPath;
    QStringList m_files;
};
