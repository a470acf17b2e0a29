#pragma once

#include <QString>

// The program's version as the window, the About box and --version show it: "V2.60", the
// project's version (CMakeLists.txt) with a "V" before it.
inline const QString kVersionText = QStringLiteral("V" TOLM_VERSION);
