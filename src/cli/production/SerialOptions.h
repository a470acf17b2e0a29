#pragma once

#include "production/SerialLayout.h"

#include <QCommandLineParser>
#include <QString>
#include <cstdint>
#include <optional>

class CliContext;
class MemoryImage;
struct ChipSetup;

// write --serial START --serial-at WHERE [--serial-step N] [--serial-file FILE]: every chip
// gets the next number of the serial file at WHERE in its copy of the image.
struct SerialPlan
{
    SerialLocation location;
    std::uint64_t start = 0; // seeds a serial file that does not exist yet
    std::uint64_t step = 1;
    QString counterPath;
};

void AddSerialOptions(QCommandLineParser &parser);

// The serial plan of write, when --serial or another serial option is given: checked against
// the device, the targets and ranges, the serial file and the number of ports, with a warning
// when the loaded image has data where the numbers go. Gives 0 (and `plan` set, or left empty
// without serial options), or the exit code after saying why: 2 for a bad value, a location
// outside the device or the written ranges, or numbers that do not fit; 3 for a serial file
// that cannot be used.
int CliSerialPlan(CliContext &ctx, const QCommandLineParser &parser, const ChipSetup &setup,
                  const MemoryImage &image, std::optional<SerialPlan> &plan);

// The serial file beside a production log ("next-serial" in its folder); beside the default
// log when `logPath` is empty (--no-log).
QString DefaultSerialFilePath(const QString &logPath);
