// The chip commands beside the four operations: erase, protect, and direct access to the
// configuration word, the calibration word and the ID code. Each is one short power cycle
// (two for protect) that the engine runs without looking at the stop note, so a Ctrl-C only
// takes effect once it has finished.
#include "cli/CliContext.h"
#include "cli/chipwork/ChipWork.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/session/ChipSession.h"
#include "cli/session/StopSignals.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/EngineTexts.h"
#include "engine/TargetSequence.h"

namespace {

// After a command: a signal that came while it ran still ends tolm-cli with its exit code.
int Finish(ChipSession &session, int exitCode)
{
    if (const int signal = StopSignalReceived()) {
        session.err << "tolm-cli: stopped; the chip is powered off" << Qt::endl;
        return StopExitCode(signal);
    }
    return exitCode;
}

// Prints a result line and finishes.
int Print(ChipSession &session, const QString &result)
{
    session.out << result << Qt::endl;
    return Finish(session, CliExit::kOk);
}

} // namespace

int EraseChip(ChipSession &session)
{
    if (!UnprotectDevice(session.Engine()))
        return Finish(session, ChipFailure(session, EngineTexts::kCommunicationError));
    return Finish(session, CliExit::kOk);
}

int ProtectChip(ChipSession &session)
{
    const ProtectResult result = AllCodeProtect(session.Engine(), FreshControls(session.Device()));
    switch (result.stage) {
    case ProtectResult::Stage::ReadFailed:
        return Finish(session, ChipFailure(session, kErrorReadingConfiguration));
    case ProtectResult::Stage::WriteFailed:
        return Finish(session, ChipFailure(session, kErrorWritingConfigurationWord));
    case ProtectResult::Stage::Protected:
        break;
    }
    return Print(session, FormatHex(result.programmedWord, 4));
}

int ReadChipConfig(ChipSession &session)
{
    const auto word = ReadConfigDirectly(session.Engine());
    if (!word)
        return Finish(session, ChipFailure(session, kErrorReadingConfiguration));
    return Print(session, FormatHex(*word, 4));
}

int WriteChipConfig(ChipSession &session, std::uint16_t word)
{
    if (!WriteConfigDirectly(session.Engine(), FormatHex(word, 4)).written)
        return Finish(session, ChipFailure(session, kErrorWritingConfiguration));
    return Finish(session, CliExit::kOk);
}

int ReadChipCalibration(ChipSession &session)
{
    const auto value = ReadCalibration(session.Engine());
    if (!value)
        return Finish(session, ChipFailure(session, kErrorReadingCalibration));
    return Print(session, FormatHex(*value, 2));
}

int WriteChipCalibration(ChipSession &session, std::uint8_t value)
{
    const CalibrationWriteResult result = WriteCalibration(session.Engine(), FormatHex(value, 2));
    if (result.status != CalibrationWriteResult::Status::Written)
        return Finish(session, ChipFailure(session, kErrorWritingCalibration));
    return Finish(session, CliExit::kOk);
}

int ReadChipId(ChipSession &session)
{
    QString idCode;
    if (!session.Engine().PicReadIDCode(idCode))
        return Finish(session, ChipFailure(session, TargetMessage(ChipOperation::Read,
                                                                  ChipTarget::IdCode, false)));
    return Print(session, idCode);
}

int WriteChipId(ChipSession &session, const QString &idCode)
{
    session.Engine().Image().IDCodeText = idCode;
    if (!session.Engine().PicWriteIDCode())
        return Finish(session, ChipFailure(session, TargetMessage(ChipOperation::Write,
                                                                  ChipTarget::IdCode, false)));
    return Finish(session, CliExit::kOk);
}
