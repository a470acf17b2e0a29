#pragma once

#include "production/SerialLayout.h"

#include <QString>
#include <optional>

class ChipSession;
class MemoryImage;
struct HexLoadResult;

// The chip work of each command, on a session of its own (its port, module, engine, image and
// output streams), so the same work can run on several ports at once. Each opens the
// session's port, does the work and gives the exit code.

// read OUT: reads the targets into the session's (fresh) image and saves OUT.
int ReadChipToFile(ChipSession &session, const QString &outPath);
// write IN: writes the loaded image; keeps the chip's calibration word unless writeCal.
int WriteChipFromImage(ChipSession &session, const HexLoadResult &loaded, bool writeCal);
// verify IN: compares the chip with the loaded image, leaving out where each chip carries its
// own serial number (verify --serial-at), with a line that says so.
int VerifyChipAgainstImage(ChipSession &session, const HexLoadResult &loaded, bool writeCal,
                           bool listEveryDifference,
                           const std::optional<SerialLocation> &serialAt = std::nullopt);
// blank: leaves the calibration word out unless checkCal.
int BlankCheckChip(ChipSession &session, bool checkCal);

int EraseChip(ChipSession &session);
int ProtectChip(ChipSession &session);
int ReadChipConfig(ChipSession &session);
int WriteChipConfig(ChipSession &session, std::uint16_t word);
// The second configuration word of the parts that have one (16F88X: 2008).
int ReadChipSecondConfig(ChipSession &session);
int WriteChipSecondConfig(ChipSession &session, std::uint16_t word);
int ReadChipCalibration(ChipSession &session);
int WriteChipCalibration(ChipSession &session, std::uint8_t value);
int ReadChipId(ChipSession &session);
int WriteChipId(ChipSession &session, std::uint16_t code);
