#include "texts/TargetTexts.h"

#include "device/HexText.h"
#include "engine/TargetSequence.h"
#include "texts/ChipTexts.h"

#include <array>

namespace {

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

// The status lines of the memories end in " ..." for every operation; those of the ID code
// and the configuration word do not for Blank Check.
QString MemoryStatus(ChipOperation operation, bool program)
{
    const char *memory = program ? "Program Memory ..." : "Data Memory ...";
    switch (operation) {
    case ChipOperation::Read:
        return QStringLiteral("Reading ") + QLatin1String(memory);
    case ChipOperation::Write:
        return QStringLiteral("Writing ") + QLatin1String(memory);
    case ChipOperation::Verify:
        return QStringLiteral("Verifying ") + QLatin1String(memory);
    case ChipOperation::BlankCheck:
        return QStringLiteral("Blank Checking ") + QLatin1String(memory);
    }
    return {};
}

QString SingleValueStatus(ChipOperation operation, bool id)
{
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

} // namespace

QString StatusText(const ChipActivity &activity)
{
    if (activity.erasing)
        return QStringLiteral("Erasing ...");
    if (IsMemoryTarget(activity.target))
        return MemoryStatus(activity.operation, activity.target == ChipTarget::ProgramMemory);
    return SingleValueStatus(activity.operation, activity.target == ChipTarget::IdCode);
}

QString TargetMessage(ChipOperation operation, ChipTarget target, bool succeeded)
{
    const Texts texts = TextsFor(operation, target);
    const char *text = succeeded ? texts.success : texts.failure;
    return text ? QString::fromLatin1(text) : QString();
}

QString TargetMessage(const TargetReport &report)
{
    if (report.tooWideConfig)
        return ConfigTooWideText(*report.tooWideConfig);
    if (report.detail.outcome == EngineOutcome::BadImageText)
        return InvalidHexMessage(report.detail.expectedText);
    if (report.stopped)
        return StoppedMessage(report.operation, report.target, report.detail.address);
    if (report.succeeded && report.quietSuccess)
        return {};
    return TargetMessage(report.operation, report.target, report.succeeded);
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
