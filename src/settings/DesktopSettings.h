#pragma once

#include <QString>

// What the desktop program keeps beside the three keys of section Main, each in a section of
// its own, so that Main keeps exactly its keys in their order for every copy and version of
// the program that reads the same file.
namespace DesktopSettings {
// The files last loaded or saved, newest first: File1 ... File8.
inline const QString kRecentSection = QStringLiteral("Recent Files");
inline const QString kRecentKey = QStringLiteral("File%1");
// Ports typed in the Options dialog, listed again on later showings: Port1 ... Port8.
inline const QString kTypedPortsSection = QStringLiteral("Typed Ports");
inline const QString kTypedPortKey = QStringLiteral("Port%1");
// "1": a loaded file that changes on disk is loaded again at once instead of offered.
inline const QString kFilesSection = QStringLiteral("Files");
inline const QString kReloadAtOnceKey = QStringLiteral("ReloadAtOnce");
// "0": "File loaded successfully" and the verify and blank check successes go to the status
// line and the operation log instead of a box.
inline const QString kBoxesSection = QStringLiteral("Boxes");
inline const QString kConfirmSuccessesKey = QStringLiteral("ConfirmSuccesses");
// Where the main window was last: its frame's left and top edge on the desktop.
inline const QString kWindowSection = QStringLiteral("Main Window");
inline const QString kLeftKey = QStringLiteral("Left");
inline const QString kTopKey = QStringLiteral("Top");
} // namespace DesktopSettings
