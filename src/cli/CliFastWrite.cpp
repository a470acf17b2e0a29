#include "CliFastWrite.h"

#include "CliChipOperation.h"
#include "CliChipSession.h"
#include "CliConfigControls.h"
#include "CliContext.h"
#include "CliStopSignals.h"
#include "device/DeviceRecord.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/EngineTexts.h"
#include "hexfile/HexReader.h"

namespace {

bool WholeRanges(const DeviceRecord &device, const HexAddressTexts &addresses)
{
    const auto given = ParseAddressRanges(addresses);
    const auto whole = ParseAddressRanges(
        {QStringLiteral("0000"), device.ProgMaxText, QStringLiteral("00"), device.DataMaxText});
    return given && whole && given->ProgStart == whole->ProgStart &&
           given->ProgEnd == whole->ProgEnd &&
           (!device.HasDataMemory ||
            (given->DataStart == whole->DataStart && given->DataEnd == whole->DataEnd));
}

bool EveryTarget(const DeviceRecord &device, const HexTargets &targets)
{
    return targets.Program && targets.IDCode && (targets.Data || !device.HasDataMemory) &&
           (targets.Config || device.NoConfigWord != 0);
}

} // namespace

std::optional<QString> FastWriteRefusal(const DeviceRecord &device, const HexTargets &targets,
                                        const HexAddressTexts &addresses)
{
    if (device.DeviceFamily != DeviceFamily::kFlash14Bit)
        return QStringLiteral("--fast needs a flash part, which can be erased first; the %1 is "
                              "an EPROM part")
            .arg(device.DeviceName);
    if (!EveryTarget(device, targets) || !WholeRanges(device, addresses))
        return QStringLiteral("--fast erases the whole chip, so it writes every target over the "
                              "whole ranges; leave out -t, --prog-range and --data-range");
    return std::nullopt;
}

int FastWriteChip(ChipSession &session, const HexLoadResult &loaded)
{
    if (const int code = session.Open(true))
        return code;
    session.Host().SetStatus(QStringLiteral("Erasing ..."));
    if (!UnprotectDevice(session.Engine()))
        return ChipFailure(session, EngineTexts::kCommunicationError +
                                        QStringLiteral(": the chip was not erased"));
    session.Progress().FinishTarget();

    const std::uint16_t config = ConfigWordThroughControls(
        session.Device(), session.Engine().Image().ConfigWord, loaded.ConfigFound);
    const auto controlsWord = [config] { return config; };
    HexTargets memories = session.Setup().targets;
    memories.Config = false;
    const HexTargets configOnly{false, false, true, false};

    const ChipOperationRequest steps[] = {
        {ChipOperation::Write, memories, controlsWord, false, PicEngine::WriteScope::SkipBlank},
        {ChipOperation::Verify, memories, controlsWord, false, PicEngine::WriteScope::EveryWord},
        {ChipOperation::Write, configOnly, controlsWord, false, PicEngine::WriteScope::EveryWord},
        {ChipOperation::Verify, configOnly, controlsWord, false, PicEngine::WriteScope::EveryWord},
    };
    const int stepCount = session.Device().NoConfigWord ? 2 : 4;
    for (int i = 0; i < stepCount; ++i) {
        // A chip that failed a step is rejected: nothing more is written to it.
        if (const int code = RunChipOperation(session, steps[i]))
            return code;
    }
    return CliExit::kOk;
}
