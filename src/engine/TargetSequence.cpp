#include "engine/TargetSequence.h"

#include "engine/PicEngine.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/EngineTexts.h"

#include <array>

namespace {

const QString kBlankIdCode = QStringLiteral("FFFF");

// The box texts of one target: failure for every operation, success for Verify and Blank
// Check. The memory texts have two blanks after "Completed.", the others one.
struct Texts
{
    const char *failure;
    const char *success;
};

Texts TextsFor(ChipOperation operation, ChipTarget target)
{
    static const std::array<std::array<Texts, 4>, 4> table = {{
        {{{"Error Reading Program Memory", nullptr},
          {"Error Reading Data Memory", nullptr},
          {"Error Reading ID Code", nullptr},
          {"Error Reading Configuration", nullptr}}},
        {{{"Error Writing Program Memory", nullptr},
          {"Error Writing Data Memory", nullptr},
          {"Error Writing ID Code", nullptr},
          {"Error Writing Configuration", nullptr}}},
        {{{"Error Verifying Program Memory", "Program Memory Verify Completed.  No Errors..."},
          {"Error Verifying Data Memory", "Data Memory Verify Completed.  No Errors..."},
          {"Error Verifying ID Code", "ID Code Verify Completed. No Errors"},
          {"Error Verifying Configuration", "Configuration Verify Completed. No Errors..."}}},
        {{{"Program Memory Blank Check Failed", "Program Memory Blank"},
          {"Data Memory Blank Check Failed", "Data Memory Blanc"},
          {"ID Code Blank Check Failed", "ID Code Blank"},
          {"Configuration Blank Check Failed", "Configuration Blank"}}},
    }};
    return table[static_cast<int>(operation)][static_cast<int>(target)];
}

// The status line the sequence shows for the ID code and configuration targets; the memory
// algorithms show their own.
QString StatusFor(ChipOperation operation, ChipTarget target)
{
    const bool id = target == ChipTarget::IdCode;
    switch (operation) {
    case ChipOperation::Read:
        return id ? "Reading ID Code ..." : "Reading Configuration Word ...";
    case ChipOperation::Write:
        return id ? "Writing ID Code ..." : "Writing Configuration Word ...";
    case ChipOperation::Verify:
        return id ? "Verifying ID Code ..." : "Verifying Configuration Word ...";
    case ChipOperation::BlankCheck:
        return id ? "Blank Checking ID Code" : "Blank Checking Configuration Word";
    }
    return {};
}

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
        report.succeeded = engine.PicWriteIDCode();
        return;
    }
    QString read;
    const bool ok = engine.PicReadIDCode(read);
    if (!ok) {
        read.clear();
    }
    report.readText = read;
    switch (operation) {
    case ChipOperation::Read:
        report.succeeded = ok;
        if (ok) {
            image.IDCodeText = read;
        }
        break;
    case ChipOperation::Verify:
        report.expectedText = image.IDCodeText;
        report.succeeded = ok && read == image.IDCodeText;
        break;
    default:
        report.expectedText = kBlankIdCode;
        report.succeeded = ok && read == kBlankIdCode;
        break;
    }
}

void RunConfigWord(PicEngine &engine, ChipOperation operation, const TargetSequenceHooks &hooks,
                   TargetReport &report)
{
    MemoryImage &image = engine.Image();
    if (operation == ChipOperation::Write || operation == ChipOperation::Verify) {
        image.ConfigWord = hooks.configWordFromControls();
    }
    if (operation == ChipOperation::Write) {
        report.succeeded = engine.PicWriteConfig(image.ConfigWord);
        return;
    }
    std::uint16_t word = 0;
    const bool ok = engine.PicReadConfig(word);
    if (ok) {
        report.readText = FormatHex(word, 4);
    }
    switch (operation) {
    case ChipOperation::Read:
        report.succeeded = ok;
        if (ok) {
            image.ConfigWord = word & kChipWordBits;
            hooks.configWordRead(image.ConfigWord);
        }
        break;
    case ChipOperation::Verify:
        report.expectedText = FormatHex(image.ConfigWord, 4);
        report.readText = ok ? FormatHex(word & kChipWordBits, 4) : QString();
        report.succeeded = ok && (word & kChipWordBits) == image.ConfigWord;
        break;
    default:
        // An erased configuration word has every bit of the core's width set: 0FFF on the
        // 12-bit parts, 3FFF on the others.
        report.expectedText = FormatHex(BlankWord(engine.Device()), 4);
        report.succeeded = ok && word == BlankWord(engine.Device());
        break;
    }
}

} // namespace

QString TargetMessage(ChipOperation operation, ChipTarget target, bool succeeded)
{
    const Texts texts = TextsFor(operation, target);
    const char *text = succeeded ? texts.success : texts.failure;
    return text ? QString::fromLatin1(text) : QString();
}

QString TargetName(ChipTarget target)
{
    switch (target) {
    case ChipTarget::ProgramMemory:
        return QStringLiteral("Program Memory");
    case ChipTarget::DataMemory:
        return QStringLiteral("Data Memory");
    case ChipTarget::IdCode:
        return QStringLiteral("ID Code");
    case ChipTarget::ConfigWord:
        return QStringLiteral("Configuration Word");
    }
    return {};
}

QString StoppedMessage(ChipOperation operation, ChipTarget target, std::uint16_t address)
{
    const bool program = target == ChipTarget::ProgramMemory;
    const char *verb = "Reading";
    const char *undone = "read";
    switch (operation) {
    case ChipOperation::Read:
        break;
    case ChipOperation::Write:
        verb = "Writing";
        undone = "written";
        break;
    case ChipOperation::Verify:
        verb = "Verifying";
        undone = "checked";
        break;
    case ChipOperation::BlankCheck:
        verb = "Blank Checking";
        undone = "checked";
        break;
    }
    return QStringLiteral("%1 %2 stopped at %3: the %4 from there on were not %5")
        .arg(QLatin1String(verb), TargetName(target),
             program ? FormatHex(address, 4) : FormatHex(address & 0xFF, 2),
             program ? QStringLiteral("words") : QStringLiteral("bytes"), QLatin1String(undone));
}

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
    report.target = ChipTarget::ConfigWord;
    report.tooWideConfig = word;
    report.message = EngineTexts::ConfigTooWideText(word, engine.Device());
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
        return;
    }
    hooks.setStatus(StatusFor(operation, target));
    if (target == ChipTarget::IdCode) {
        RunIdCode(engine, operation, report);
    } else {
        RunConfigWord(engine, operation, hooks, report);
    }
    if (!report.succeeded) {
        report.failure = engine.LastExchangeFailure();
        report.readBack = engine.LastReadBackDifference();
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
        report.target = target;
        RunTarget(engine, operation, hooks, report);
        report.soundBeforeMessage =
            operation == ChipOperation::Verify || operation == ChipOperation::BlankCheck;
        if (report.detail.outcome == EngineOutcome::BadImageText) {
            report.message = InvalidHexMessage(report.detail.expectedText);
            report.endsSequence = true;
        } else if (report.stopped) {
            report.message = StoppedMessage(operation, target, report.detail.address);
            report.endsSequence = true;
        } else {
            report.message = TargetMessage(operation, target, report.succeeded);
        }
        hooks.report(report);
        if (report.endsSequence) {
            return;
        }
    }
}
