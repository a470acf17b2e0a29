#include "cli/chipwork/CalibrationLeftOut.h"

#include "cli/CliContext.h"
#include "cli/session/ChipSession.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

bool CalibrationInRange(const ChipSession &session)
{
    const auto address = CalibrationAddress(session.Device());
    if (!address)
        return false;
    const auto ranges = ParseAddressRanges(session.Host().Addresses());
    return ranges && ranges->ProgStart <= *address && *address <= ranges->ProgEnd;
}

void LeaveOutCalibration(ChipSession &session, ChipOperation operation)
{
    const auto lastAddress = ProgramEndBeforeCalibration(session.Device(), operation, true);
    if (!lastAddress || !CalibrationInRange(session))
        return;
    const QString address = FormatHex(*lastAddress + 1, 4);
    switch (operation) {
    case ChipOperation::Write:
        session.err << "tolm-cli: the chip's calibration word at " << address
                    << " is kept: it is left out of the write (--write-cal writes the file's)"
                    << Qt::endl;
        break;
    case ChipOperation::Verify:
        session.err << "tolm-cli: the calibration word at " << address
                    << " is left out of the comparison (--write-cal compares it)" << Qt::endl;
        break;
    default:
        session.err << "tolm-cli: the calibration word at " << address
                    << " is left out of the blank check (--write-cal checks it)" << Qt::endl;
        break;
    }
    session.Host().SetProgEndText(FormatHex(*lastAddress, 4));
}
