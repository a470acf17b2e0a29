#include "engine/TargetSequence.h"

#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

namespace {

const QString kBlankIdCode = QStringLiteral("FFFF");

EngineResult RunMemory(PicEngine &engine, ChipOperation operation, ChipTarget target,
                       PicEngine::WriteScope scope)
{
    const bool program = target == ChipTarget::ProgramMemory;
    switch (operation) {
    case ChipOperation::Read:
        return program ? engine.PicReadProgMem() : engine.PicReadDataMem();
    case ChipOperation::Write:
        return program ? engine.PicWriteProgMem(scope) : engine.PicWriteDataMem(scope);
    case ChipOperation::Verify:
        return program ? engine.PicVerifyProgMem() : engine.PicVerifyDataMem();
    case ChipOperation::BlankCheck:
        return program ? engine.PicBlankCheckProgMem() : engine.PicBlankCheckDataMem();
    }
    return {};
}

void RunIdCode(PicEngine &engine, ChipOperation operation, TargetReport &report)
{
    MemoryImage &image = engine.Image();
    if (operation == ChipOperation::Write) {
        // An ID code that is not a number leaves the chip untouched and the target failed.
        const auto code = IdCodeValue(image.IDCodeText);
        if (code) {
            const ChipResult<NoValue> written = engine.PicWriteIDCode(*code);
            report.succeeded = written.Ok();
            report.failure = written.FailureIfAny();
        }
        return;
    }
    const ChipResult<QString> read = engine.PicReadIDCode();
    report.failure = read.FailureIfAny();
    report.readText = read ? *read : QString();
    switch (operation) {
    case ChipOperation::Read:
        report.succeeded = read.Ok();
        if (read) {
            image.IDCodeText = *read;
        }
        break;
    case ChipOperation::Verify:
        report.expectedText = image.IDCodeText;
        report.succeeded = read && *read == image.IDCodeText;
        break;
    default:
        report.expectedText = kBlankIdCode;
        report.succeeded = read && *read == kBlankIdCode;
        break;
    }
}

// Whether the chip's configuration words are the expected ones, in the bits a read compares:
// every bit on most parts; the implemented ones without the band-gap bits on the newer flash
// parts, and the implemented bits of a second configuration word.
bool ConfigWordsMatch(const DeviceRecord &device, const PicEngine::ConfigWords &read,
                      std::uint16_t first, std::uint16_t second)
{
    const std::uint16_t mask = ConfigCompareMask(device);
    const bool firstMatches = mask == 0xFFFF ? (read.first & kChipWordBits) == first
                                             : (read.first & mask) == (first & mask);
    const std::uint16_t secondMask = SecondConfigImplemented(device);
    return firstMatches && (!read.second || (*read.second & secondMask) == (second & secondMask));
}

// "2FD4", or "2FD4 3EFF" on a part with a second configuration word.
QString ConfigWordsText(std::uint16_t first, bool hasSecond, std::uint16_t second)
{
    const QString text = FormatHex(first, 4);
    return hasSecond ? text + QLatin1Char(' ') + FormatHex(second, 4) : text;
}

void RunConfigWord(PicEngine &engine, ChipOperation operation, const TargetSequenceHooks &hooks,
                   TargetReport &report)
{
    MemoryImage &image = engine.Image();
    const DeviceRecord &device = engine.Device();
    if (operation == ChipOperation::Write || operation == ChipOperation::Verify) {
        image.ConfigWord = hooks.configWordFromControls();
    }
    if (operation == ChipOperation::Write) {
        const ChipResult<NoValue> written =
            engine.PicWriteConfig(image.ConfigWord, image.SecondConfigWord);
        report.succeeded = written.Ok();
        report.failure = written.FailureIfAny();
        return;
    }
    const ChipResult<PicEngine::ConfigWords> read = engine.PicReadConfigWords();
    report.failure = read.FailureIfAny();
    if (!read) {
        return;
    }
    const std::uint16_t word = read->first;
    const bool hasSecond = read->second.has_value();
    const std::uint16_t second = read->second.value_or(0) & kChipWordBits;
    report.readText = ConfigWordsText(word, hasSecond, read->second.value_or(0));
    switch (operation) {
    case ChipOperation::Read:
        report.succeeded = true;
        image.ConfigWord = word & kChipWordBits;
        if (hasSecond) {
            image.SecondConfigWord = second;
        }
        hooks.configWordRead(image.ConfigWord);
        break;
    case ChipOperation::Verify:
        report.expectedText = ConfigWordsText(image.ConfigWord, hasSecond, image.SecondConfigWord);
        report.readText = ConfigWordsText(word & kChipWordBits, hasSecond, second);
        report.succeeded =
            ConfigWordsMatch(device, *read, image.ConfigWord, image.SecondConfigWord);
        break;
    default: {
        // An erased configuration word has every bit of the core's width set: 0FFF on the
        // 12-bit parts, 3FFF on the others; on the newer flash parts the bits that are no cells
        // read as their part file says and the band-gap bits are the factory's.
        const bool masked = ConfigCompareMask(device) != 0xFFFF || hasSecond;
        if (!masked) {
            report.expectedText = BlankWordText(device);
            report.succeeded = word == BlankWord(device);
            break;
        }
        const std::uint16_t blank = ConfigBlankWord(device);
        report.expectedText = ConfigWordsText(blank, hasSecond, SecondConfigBlank(device));
        report.succeeded = ConfigWordsMatch(device, *read, blank, SecondConfigBlank(device));
        break;
    }
    }
}

} // namespace

std::optional<std::uint16_t> ProgramEndBeforeCalibration(const DeviceRecord &device,
                                                         ChipOperation operation,
                                                         bool leaveOutCalibration)
{
    const auto calibration = CalibrationAddress(device);
    if (!leaveOutCalibration || !calibration || operation == ChipOperation::Read) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*calibration - 1);
}

namespace {

// Write: a configuration word wider than the chip's is refused before anything is sent.
bool RefuseTooWideConfig(PicEngine &engine, ChipOperation operation,
                         const TargetSequenceHooks &hooks)
{
    if (operation != ChipOperation::Write || !hooks.ticked(ChipTarget::ConfigWord)) {
        return false;
    }
    const std::uint16_t word = hooks.configWordFromControls();
    if ((word & ~ConfigWordMask(engine.Device())) == 0) {
        return false;
    }
    TargetReport report;
    report.operation = operation;
    report.target = ChipTarget::ConfigWord;
    report.tooWideConfig =
        TooWideConfig{word, engine.Device().DeviceName, ConfigWidthBits(engine.Device())};
    report.endsSequence = true;
    hooks.report(report);
    return true;
}

void RunTarget(PicEngine &engine, ChipOperation operation, const TargetSequenceHooks &hooks,
               TargetReport &report)
{
    const ChipTarget target = report.target;
    if (target == ChipTarget::ProgramMemory || target == ChipTarget::DataMemory) {
        engine.LimitProgramEnd(
            ProgramEndBeforeCalibration(engine.Device(), operation, hooks.leaveOutCalibration));
        report.detail = RunMemory(engine, operation, target, hooks.writeScope);
        engine.LimitProgramEnd(std::nullopt);
        report.succeeded = report.detail.Succeeded();
        report.expectedText = report.detail.expectedText;
        report.readText = report.detail.readText;
        report.stopped = report.detail.outcome == EngineOutcome::Closed;
        if (report.detail.failure) {
            report.failure = *report.detail.failure;
        }
        return;
    }
    engine.Host().ShowActivity({operation, target});
    if (target == ChipTarget::IdCode) {
        RunIdCode(engine, operation, report);
    } else {
        RunConfigWord(engine, operation, hooks, report);
    }
}

} // namespace

void RunTargetSequence(PicEngine &engine, ChipOperation operation, const TargetSequenceHooks &hooks)
{
    if (RefuseTooWideConfig(engine, operation, hooks)) {
        return;
    }
    for (const ChipTarget target : {ChipTarget::ProgramMemory, ChipTarget::DataMemory,
                                    ChipTarget::IdCode, ChipTarget::ConfigWord}) {
        // Close ends the operation: a target not yet started does not start.
        if (engine.Host().CloseRequested()) {
            return;
        }
        if (!hooks.ticked(target)) {
            continue;
        }
        TargetReport report;
        report.operation = operation;
        report.target = target;
        RunTarget(engine, operation, hooks, report);
        report.soundBeforeMessage =
            operation == ChipOperation::Verify || operation == ChipOperation::BlankCheck;
        report.endsSequence =
            report.detail.outcome == EngineOutcome::BadImageText || report.stopped;
        hooks.report(report);
        if (report.endsSequence) {
            return;
        }
    }
}
