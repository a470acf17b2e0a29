#include "RecentFiles.h"

#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/ProfileList.h"

#include <QFileInfo>

RecentFiles::RecentFiles(QString settingsPath) : m_settingsPath(std::move(settingsPath))
{
    const PrivateProfile profile(m_settingsPath);
    m_files = ReadProfileList(profile, DesktopSettings::kRecentSection, DesktopSettings::kRecentKey,
                              kMaxFiles);
}

void RecentFiles::Add(const QString &path)
{
    m_files = WithItemFirst(m_files, QFileInfo(path).absoluteFilePath(), kMaxFiles);
    Store();
}

void RecentFiles::Remove(const QString &path)
{
    if (m_files.removeAll(path) > 0)
        Store();
}

void RecentFiles::Store()
{
    // A settings file that cannot be written costs only the list at the next start; the
    // user's load or save has succeeded and is not to be spoilt by a box about it.
    PrivateProfile profile(m_settingsPath);
    WriteProfileList(profile, DesktopSettings::kRecentSection, DesktopSettings::kRecentKey, m_files,
                     kMaxFiles);
}
