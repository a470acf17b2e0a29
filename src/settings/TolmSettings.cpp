#include "TolmSettings.h"

#include "PrivateProfile.h"

#include <QDir>

QString TolmSettings::SettingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/VIRIVI.INI");
}

TolmSettings::MainSettings TolmSettings::ReadMainSettings(const QString &path)
{
    const QStringList values =
        PrivateProfile(path).ReadStrings(kSection, {{kPicDeviceKey, kDefaultDevice},
                                                    {kModulePortKey, QString()},
                                                    {kWorkingDirKey, QString()}});
    return {values[0], values[1], values[2]};
}
