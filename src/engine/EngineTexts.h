#pragma once

#include <QString>
#include <cstdint>

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

// The write error box names the word's address with four digits. The data memory write uses
// the same words ("Program Memory") and four digits for a byte address: users and their
// documentation know the box by this text.
QString WriteErrorText(std::uint16_t address);
} // namespace EngineTexts
