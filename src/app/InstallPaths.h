#pragma once

#include <QString>

// The folder an installed Tolm keeps its data in (Ready.wav): <prefix>/share/tolm beside
// <prefix>/bin. Found from the program's own place, so a copy installed under any prefix
// (or a package unpacked anywhere) finds its files.
QString InstalledDataFolder();
