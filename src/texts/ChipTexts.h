#pragma once

#include <QString>
#include <cstdint>

struct DeviceRecord;
struct TooWideConfig;

// The fixed texts of the chip commands beside the four operations, and the pieces of the
// progress window and the write error box.

inline const QString kCommunicationError = QStringLiteral("Communication Error");
inline const QString kContinueCaption = QStringLiteral("Continue");

inline const QString kErrorReadingConfiguration = QStringLiteral("Error Reading Configuration");
inline const QString kErrorWritingConfiguration = QStringLiteral("Error Writing Configuration");
inline const QString kErrorWritingConfigurationWord =
    QStringLiteral("Error Writing Configuration Word!");
inline const QString kErrorReadingCalibration =
    QStringLiteral("Error Reading Oscillator Calibration");
inline const QString kErrorWritingCalibration =
    QStringLiteral("Error Writing Oscillator Calibration");

// The write error box names the memory and the word's address with four digits, also for a
// data byte: users and their documentation know the box by this form.
QString WriteErrorText(std::uint16_t address, bool dataMemory = false);

// "F000 has bits beyond the 16c54's 12-bit configuration word"
QString ConfigTooWideText(std::uint32_t word, const DeviceRecord &device);
QString ConfigTooWideText(const TooWideConfig &refused);
