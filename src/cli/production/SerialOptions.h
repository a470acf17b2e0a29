#pragma once

#include "production/SerialLayout.h"
#include "production/SerialSource.h"

#include <QCommandLineParser>
#include <QString>
#include <cstdint>
#include <optional>

class CliContext;
class MemoryImage;
struct ChipSetup;

struct CliLogChoice;

// write --serial START --serial-at WHERE [--serial-step N] [--serial-file FILE |
// --serial-counter NAME [--serial-block N]]: every chip gets the next number of the serial
// file or of the log's counter at WHERE in its copy of the image. START seeds a file or
// counter that does not exist yet.
struct SerialPlan
{
    SerialLocation location;
    SerialSourcePlan source;
};

void AddSerialOptions(QCommandLineParser &parser);

// The serial plan of write, when --serial or another serial option is given: checked against
// the device, the targets and ranges, the serial file and the number of ports, with a warning
// when the loaded image has data where the numbers go. Gives 0 (and `plan` set, or left empty
// without serial options), or the exit code after saying why: 2 for a bad value, a location
// outside the device or the written ranges, or numbers that do not fit; 3 for a serial file
// that cannot be used, or a counter whose server is away when the bench has no reserve.
int CliSerialPlan(CliContext &ctx, const QCommandLineParser &parser, const ChipSetup &setup,
                  const MemoryImage &image, std::optional<SerialPlan> &plan);

// verify --serial-at WHERE: where each chip carries its own serial number, left out of the
// comparison. Gives 0 (and `location` set when the option is given) or 2 after saying why.
void AddVerifySerialAtOption(QCommandLineParser &parser);
int CliVerifySerialLocation(CliContext &ctx, const QCommandLineParser &parser,
                            const ChipSetup &setup, std::optional<SerialLocation> &location);

// The serial file beside a production log file ("next-serial" in its folder); beside the
// default log when there is no log file (--no-log, a log on a server).
QString DefaultSerialFilePath(const CliLogChoice &log);
