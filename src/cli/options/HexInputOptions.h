#pragma once

#include "device/DeviceRecord.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"

#include <QString>
#include <optional>

class CliContext;
class MemoryImage;
class QCommandLineParser;
struct DeviceRecord;

// The targets of -t (prog, data, config, id, any case), or every target the device has.
// Asking for a memory the device lacks is a usage error, reported here.
std::optional<HexTargets> CliTargets(CliContext &ctx, const DeviceRecord &device);

// --prog-range SSSS-EEEE and --data-range SS-EE as the four address texts, defaulting to
// 0000..ProgMaxText and 00..DataMaxText. The texts are checked as the window checks its
// address fields; a bad one is a usage error, reported here.
std::optional<HexAddressTexts> CliAddressTexts(CliContext &ctx, const DeviceRecord &device);

// The image as the program holds it right after start-up with this device: program cells
// the device's blank word, data cells FF, configuration word 0, ID code FFFF.
void ResetImage(MemoryImage &image, const DeviceRecord &device);

// Loads a file as "Load From File" does and puts the report on stderr. On a file that
// cannot be read it gives nothing and sets `exitCode`.
std::optional<HexLoadResult> CliLoadHexFile(CliContext &ctx, const QString &path,
                                            MemoryImage &image, const DeviceRecord &device,
                                            const HexTargets &targets, int &exitCode);

// What a command does with a file from which records were left out because the device has
// no place for them: a chip written without them would not hold what the user meant (the
// file was usually made for another chip), while a converted file only lacks them.
enum class CliLeftOut { Warn, Refuse };

// write and verify refuse left-out records unless this option says to go on without them.
inline constexpr char kSkipOutsideOption[] = "skip-outside";
void AddSkipOutsideOption(QCommandLineParser &parser);

// write and verify refuse a file whose records give one address two values unless this
// option lets the later record win.
inline constexpr char kAllowConflictsOption[] = "allow-conflicts";
void AddAllowConflictsOption(QCommandLineParser &parser);

// Commands that pass a file on (convert, write, verify) take it only when it was read whole
// and gave at least one record for the targets: a damaged line or a file of nothing but
// foreign records would otherwise become an incomplete or all-blank image, written as if it
// were the file. With CliLeftOut::Refuse a file from which anything was left out is refused
// too, and with `refuseConflicts` a file whose records give one address two values. Gives
// kOk, or reports why and gives kFileError; the caller then leaves its output file and the
// chip untouched.
int CliRefuseIncompleteFile(CliContext &ctx, const QString &path, const HexLoadResult &loaded,
                            const DeviceRecord &device, CliLeftOut leftOut,
                            bool refuseConflicts = false);

// What a command that reads a hex file works on: the device, targets and address texts from
// the options, and the file loaded into a fresh image.
struct CliLoadedInput
{
    DeviceRecord Device;
    HexTargets Targets;
    HexAddressTexts Addresses;
    HexLoadResult Loaded;
};

// Resolves the device, targets and ranges, resets the image and loads `path` into it. On
// any failure it has reported the reason, sets `exitCode` and gives nothing.
std::optional<CliLoadedInput> CliLoadInput(CliContext &ctx, const QString &path, MemoryImage &image,
                                           int &exitCode);
