#pragma once

#include <QString>

// The folder an installed Tolm keeps its data in (Ready.wav): <prefix>/share/tolm beside
// <prefix>/bin. Found from the program's own place, so a copy installed under any prefix
// (or a package unpacked anywhere) finds its files.
QString InstalledDataFolder();

// The user guide: installed at <prefix>/share/doc/tolm/guide.md beside the program; a program
// run from its build tree finds the source tree's docs/guide.md. Where neither exists, the
// path where an installation puts it.
QString UserGuidePath();
