#pragma once

#include <QString>

// Section [Production] of the settings file: where the production log lives, shared by the
// desktop program and tolm-cli, and whether the desktop program writes to it.
namespace ProductionSettings {
inline const QString kSection = QStringLiteral("Production");
// A file path or a postgresql:// URI (never with a password); empty: the default file.
inline const QString kLogKey = QStringLiteral("Log");
// "1": the desktop program adds a row for each Write, Verify, Read and Blank Check.
inline const QString kDesktopLogKey = QStringLiteral("DesktopLog");
} // namespace ProductionSettings
