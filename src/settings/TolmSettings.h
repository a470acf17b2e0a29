#pragma once

#include <QString>

// Where the settings file lives and what its keys are. The file keeps its historic name
// VIRIVI.INI so users recognise it; on Linux it sits in the user's configuration folder.
namespace TolmSettings {
inline const QString kSection = QStringLiteral("Main");
inline const QString kPicDeviceKey = QStringLiteral("PicDevice");
inline const QString kModulePortKey = QStringLiteral("ModulePort");
inline const QString kWorkingDirKey = QStringLiteral("WorkingDir");
inline const QString kDefaultDevice = QStringLiteral("16c84");
inline const QString kDefaultPort = QStringLiteral("COM1");

// $XDG_CONFIG_HOME/VIRIVI.INI, else ~/.config/VIRIVI.INI.
QString SettingsFilePath();

// The three keys of section Main as start-up takes them, from one reading of the file: the
// device (kDefaultDevice when the key is missing), the module port and the working folder
// (empty when missing). A key that is there with no value gives the empty text.
struct MainSettings
{
    QString picDevice;
    QString modulePort;
    QString workingDir;
};
MainSettings ReadMainSettings(const QString &path);
} // namespace TolmSettings
