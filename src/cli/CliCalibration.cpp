#include "CliCalibration.h"

#include "CliChipSession.h"
#include "CliContext.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"

bool CalibrationInRange(const ChipSession &session)
{
    const DeviceRecord &device = session.Device();
    if (!CalibrationInstruction(device, 0))
        return false;
    const auto ranges = ParseAddressRanges(session.Host().Addresses());
    const std::uint32_t address = CalibrationWordAddress(device);
    return ranges && ranges->ProgStart <= address && address <= ranges->ProgEnd;
}

int KeepChipCalibration(ChipSession &session, MemoryImage &image)
{
    const std::uint16_t address = CalibrationWordAddress(session.Device());
    std::uint16_t word = 0;
    if (!session.Engine().PicRead(address, word))
        return ChipFailure(session,
                           kErrorReadingCalibration + QStringLiteral("; nothing was written"));
    const QString chipText = FormatHex(word, 4);
    session.err << "tolm-cli: keeping the chip's calibration word " << chipText << " at "
                << FormatHex(address, 4) << " (the file has " << image.GetProgramWordText(address)
                << "; --write-cal writes the file's)" << Qt::endl;
    image.SetProgramWordText(address, chipText);
    return CliExit::kOk;
}

void LeaveOutCalibration(ChipSession &session)
{
    const std::uint16_t address = CalibrationWordAddress(session.Device());
    session.err << "tolm-cli: the calibration word at " << FormatHex(address, 4)
                << " is left out of the comparison (--write-cal compares it)" << Qt::endl;
    // The calibration word is the highest program address, so the range ends just before it.
    session.Host().SetProgEndText(FormatHex(address - 1, 4));
}
