#pragma once

#include "device/ConfigControls.h"
#include "device/DeviceRules.h"

#include <QString>
#include <cstdint>
#include <optional>

class PicEngine;
class MemoryImage;
struct DeviceRecord;

// The chip commands of the Programming page beside the four operations: direct access to the
// configuration word, All Code Protect, Unprotect, and the oscillator calibration word. Each
// returns what the buttons then show; confirmations and message boxes belong to the caller.

inline const QString kErrorReadingConfiguration = QStringLiteral("Error Reading Configuration");
inline const QString kErrorWritingConfiguration = QStringLiteral("Error Writing Configuration");
inline const QString kErrorWritingConfigurationWord =
    QStringLiteral("Error Writing Configuration Word!");
inline const QString kErrorReadingCalibration =
    QStringLiteral("Error Reading Oscillator Calibration");
inline const QString kErrorWritingCalibration =
    QStringLiteral("Error Writing Oscillator Calibration");

// Read Configuration Directly: the chip's word masked to 14 bits, or nothing when the read
// failed.
std::optional<std::uint16_t> ReadConfigDirectly(PicEngine &engine);

// Write Configuration Directly from the text of the Direct Access field.
struct DirectWriteResult
{
    // The field's value, when it converts: the new direct-access value, whatever the write did.
    std::optional<std::uint16_t> value;
    QString conversionError; // set when the text is not a number; nothing was sent
    bool tooWide = false;    // bits beyond the device's configuration word; nothing was sent
    bool written = false;
};
DirectWriteResult WriteConfigDirectly(PicEngine &engine, const QString &configEditText);

// All Code Protect: reads the chip's configuration word, then programs it with every
// protection bit set that the device offers, keeping the chip's other options.
struct ProtectResult
{
    enum class Stage { ReadFailed, WriteFailed, Protected } stage = Stage::ReadFailed;
    // After a successful read: the chip's word masked to 14 bits (the new ConfigWord) and
    // the option controls it selects, which the window then shows.
    std::uint16_t configWord = 0;
    ConfigControls controls;
    std::uint16_t programmedWord = 0; // the word sent to the chip
};
ProtectResult AllCodeProtect(PicEngine &engine, const ConfigControls &current);

// Unprotect and erase (the code-protect disable sequence). True on success; false means the
// user is told "Communication Error".
bool UnprotectDevice(PicEngine &engine);

// Read Oscillator Calibration: the calibration byte, or nothing when the read failed.
std::optional<std::uint8_t> ReadCalibration(PicEngine &engine);

// Write Oscillator Calibration from the text of the calibration field.
struct CalibrationWriteResult
{
    enum class Status { NotApplicable, BadText, Failed, Written } status = Status::NotApplicable;
    QString conversionError;
    std::uint16_t word = 0; // the instruction programmed (MOVLW k or RETLW k)
};
CalibrationWriteResult WriteCalibration(PicEngine &engine, const QString &calEditText);

// Build From Memory: the calibration byte of the image's word at the calibration address as
// two digits, or the conversion error when that word is not a number. No chip access.
struct CalibrationBuildResult
{
    QString text;
    QString conversionError;
};
CalibrationBuildResult BuildCalibrationFromMemory(const MemoryImage &image,
                                                  const DeviceRecord &device);
