#pragma once

#include <QString>

// The working directory as the file choosers use it: one trailing "/" or "\" is removed,
// so "/home/ann/hex/" and "/home/ann/hex" name the same folder in the settings, except
// where the separator is the whole text ("/") or follows a drive colon ("C:\"), which
// name a root and must keep it.
QString DialogDirectory(const QString &workingDir);
