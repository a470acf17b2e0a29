#include "TolmSettings.h"

#include <QDir>

QString TolmSettings::SettingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/VIRIVI.INI");
}
