#pragma once

#include <QString>

// Where the port named in the settings or on the command line lives on this system:
//   "COMn" (any case, n from 1)  -> /dev/ttyS<n-1>, the n-th built-in serial port;
//   a name containing "/"        -> that path, relative names taken from the current directory
//                                   (a pseudo-terminal or a symlink to one works);
//   any other name ("ttyUSB0")   -> the device of that name under /dev.
// Names are used whole: nothing is cut to a length.
QString ModulePortSystemLocation(const QString &name);
