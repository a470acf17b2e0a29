#pragma once

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QString>
#include <cstdint>

// The images tests write to a chip or a file, made one way for every suite.

// The image as the program holds it right after start-up with this device: blank program
// words, data bytes FF, and the configuration word and ID code given.
inline void MakeBlankImage(MemoryImage &image, const DeviceRecord &device, std::uint16_t configWord,
                           const QString &idCode = QStringLiteral("FFFF"))
{
    image.FillProgramImage(BlankWordText(device));
    image.FillDataImage(QStringLiteral("FF"));
    image.ConfigWord = configWord;
    image.IDCodeText = idCode;
}

// A program of `words` words from 0000: word a holds first + a * step, kept to the core's
// width, so that neighbouring words differ and no word is blank by chance.
inline void PutProgram(MemoryImage &image, const DeviceRecord &device, int words,
                       std::uint16_t first, std::uint16_t step)
{
    for (int a = 0; a < words; ++a)
        image.SetProgramWordText(a, FormatHex((first + a * step) & WordMask(device), 4));
}

// `bytes` data bytes from 00 the same way, kept to eight bits.
inline void PutData(MemoryImage &image, int bytes, std::uint8_t first, std::uint8_t step)
{
    for (int a = 0; a < bytes; ++a)
        image.SetDataByteText(a, FormatHex((first + a * step) & 0xFF, 2));
}
