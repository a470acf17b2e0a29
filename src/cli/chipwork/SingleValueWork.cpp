// The chip commands beside the four operations: erase, protect, and direct access to the
// configuration word, the calibration word and the ID code. Each is one short power cycle
// (two for protect) that the engine runs without looking at the stop note, so a Ctrl-C only
// takes effect once it has finished.
#include "cli/CliContext.h"
#include "cli/chipwork/ChipWork.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/session/ChipSession.h"
#include "cli/session/StopSignals.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/PicEngine.h"
#include "texts/ChipTexts.h"
#include "texts/TargetTexts.h"

namespace {

// After a command: a signal that came while it ran still ends tolm-cli with its exit code.
int Finish(ChipSession &session, int exitCode)
{
    if (const int signal = StopSignalReceived()) {
        session.err << "tolm-cli: stopped; the chip is powered off" << Qt::endl;
        session.NoteFailure({.step = QStringLiteral("stopped")});
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
    const ChipResult<NoValue> erased = UnprotectDevice(session.Engine());
    if (!erased) {
        // A chip the module cannot erase was not touched: that is no communication error.
        const bool refused = std::holds_alternative<ProtectedChip>(erased.Failure());
        return Finish(session, ReportChipFailure(session,
                                                 refused ? QStringLiteral("the chip was not erased")
                                                         : kCommunicationError,
                                                 erased.Failure()));
    }
    return Finish(session, CliExit::kOk);
}

int ProtectChip(ChipSession &session)
{
    PicEngine &engine = session.Engine();
    if (ProtectionNeedsChipErase(session.Device()))
        session.err << "tolm-cli: warning: once protected, the " << session.Device().DeviceName
                    << " cannot be erased through the programmer module again: only Chip Erase "
                       "clears its protection, which the module cannot send"
                    << Qt::endl;
    const ChipResult<ProtectPlan> plan =
        PlanAllCodeProtect(engine, FreshControls(session.Device()));
    if (!plan)
        return Finish(session,
                      ReportChipFailure(session, kErrorReadingConfiguration, plan.Failure()));
    const ChipResult<NoValue> written = engine.PicWriteConfig(plan->programmedWord);
    if (!written)
        return Finish(
            session, ReportChipFailure(session, kErrorWritingConfigurationWord, written.Failure()));
    return Print(session, FormatHex(plan->programmedWord, 4));
}

int ReadChipConfig(ChipSession &session)
{
    const ChipResult<std::uint16_t> word = ReadConfigDirectly(session.Engine());
    if (!word)
        return Finish(session,
                      ReportChipFailure(session, kErrorReadingConfiguration, word.Failure()));
    return Print(session, FormatHex(*word, 4));
}

int WriteChipConfig(ChipSession &session, std::uint16_t word)
{
    const ChipResult<NoValue> written = session.Engine().PicWriteConfig(word);
    if (!written)
        return Finish(session,
                      ReportChipFailure(session, kErrorWritingConfiguration, written.Failure()));
    return Finish(session, CliExit::kOk);
}

int ReadChipSecondConfig(ChipSession &session)
{
    const ChipResult<PicEngine::ConfigWords> words = session.Engine().PicReadConfigWords();
    if (!words)
        return Finish(session,
                      ReportChipFailure(session, kErrorReadingConfiguration, words.Failure()));
    return Print(session, FormatHex(words->second.value_or(0) & kChipWordBits, 4));
}

int WriteChipSecondConfig(ChipSession &session, std::uint16_t word)
{
    const ChipResult<NoValue> written = session.Engine().PicWriteSecondConfig(word);
    if (!written)
        return Finish(session,
                      ReportChipFailure(session, kErrorWritingConfiguration, written.Failure()));
    return Finish(session, CliExit::kOk);
}

int ReadChipCalibration(ChipSession &session)
{
    const ChipResult<std::uint8_t> value = ReadCalibration(session.Engine());
    if (!value)
        return Finish(session,
                      ReportChipFailure(session, kErrorReadingCalibration, value.Failure()));
    return Print(session, FormatHex(*value, 2));
}

int WriteChipCalibration(ChipSession &session, std::uint8_t value)
{
    // The command line refuses a device without a calibration word before the port opens.
    const auto instruction = CalibrationInstruction(session.Device(), value);
    if (!instruction)
        return CliExit::kUsage;
    const ChipResult<NoValue> written = WriteCalibration(session.Engine(), *instruction);
    if (!written)
        return Finish(session,
                      ReportChipFailure(session, kErrorWritingCalibration, written.Failure()));
    return Finish(session, CliExit::kOk);
}

int ReadChipId(ChipSession &session)
{
    const ChipResult<QString> idCode = session.Engine().PicReadIDCode();
    if (!idCode)
        return Finish(session,
                      ReportChipFailure(
                          session, TargetMessage(ChipOperation::Read, ChipTarget::IdCode, false),
                          idCode.Failure()));
    return Print(session, *idCode);
}

int WriteChipId(ChipSession &session, std::uint16_t code)
{
    session.Engine().Image().IDCodeText = FormatHex(code, 4);
    const ChipResult<NoValue> written = session.Engine().PicWriteIDCode(code);
    if (!written)
        return Finish(session,
                      ReportChipFailure(
                          session, TargetMessage(ChipOperation::Write, ChipTarget::IdCode, false),
                          written.Failure()));
    return Finish(session, CliExit::kOk);
}
