#pragma once

#include <QString>
#include <cstdint>

struct DeviceRecord;

// Texts the engine puts in the progress window or hands to its callers.
namespace EngineTexts {
inline const QString kCommunicationError = QStringLiteral("Communication Error");
inline const QString kContinueCaption = QStringLiteral("Continue");

inline const QString kReadingProgram = QStringLiteral("Reading Program Memory ...");
inline const QString kVerifyingProgram = QStringLiteral("Verifying Program Memory ...");
inline const QString kBlankCheckingProgram = QStringLiteral("Blank Checking Program Memory ...");
inline const QString kWritingProgram = QStringLiteral("Writing Program Memory ...");
inline const QString kReadingData = QStringLiteral("Reading Data Memory ...");
inline const QString kVerifyingData = QStringLiteral("Verifying Data Memory ...");
inline const QString kBlankCheckingData = QStringLiteral("Blank Checking Data Memory ...");
inline const QString kWritingData = QStringLiteral("Writing Data Memory ...");

// The write error box names the memory and the word's address with four digits, also for a
// data byte: users and their documentation know the box by this form.
QString WriteErrorText(std::uint16_t address, bool dataMemory = false);

// "F000 has bits beyond the 16c54's 12-bit configuration word"
QString ConfigTooWideText(std::uint32_t word, const DeviceRecord &device);
} // namespace EngineTexts
