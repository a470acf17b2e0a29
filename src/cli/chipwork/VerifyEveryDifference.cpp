// verify --all: the desktop's verify stops at the first difference; a bench that rejects a
// chip wants to see every word that is wrong.
#include "cli/chipwork/TargetSequenceRun.h"
#include "cli/output/TargetReporter.h"
#include "cli/session/ChipSession.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "hexfile/HexWriter.h"

namespace {

struct Difference
{
    int address;
    QString expected;
    QString read;
};

// The chip's word as verify compares it: masked to the family's width, as four digits; a
// data byte as its two digits.
QString ComparedText(const QString &readText, bool program, std::uint16_t mask)
{
    if (!program)
        return readText;
    return FormatHex(ParseHexText(readText).value_or(0) & mask, 4);
}

// Whether the address lies where each chip carries its own serial number.
bool InSerialLocation(const std::optional<SerialLocation> &leftOut, bool program, int address)
{
    if (!leftOut ||
        leftOut->place != (program ? SerialPlace::ProgramMemory : SerialPlace::DataMemory))
        return false;
    return address >= leftOut->address && address < leftOut->address + leftOut->count;
}

std::vector<Difference> Compare(const MemoryImage &chip, const MemoryImage &expected, bool program,
                                std::uint32_t start, std::uint32_t end, std::uint16_t mask,
                                const std::optional<SerialLocation> &leftOut)
{
    std::vector<Difference> differences;
    for (std::uint32_t a = start; a <= end; ++a) {
        const int address = static_cast<int>(a);
        if (InSerialLocation(leftOut, program, address))
            continue;
        const QString want =
            program ? expected.GetProgramWordText(address) : expected.GetDataByteText(address);
        const QString got =
            ComparedText(program ? chip.GetProgramWordText(address) : chip.GetDataByteText(address),
                         program, mask);
        if (want != got)
            differences.push_back({address, want, got});
    }
    return differences;
}

} // namespace

TargetReport VerifyWholeMemory(ChipSession &session, TargetReporter &reporter,
                               const MemoryImage &expected, ChipTarget target,
                               const std::optional<SerialLocation> &leftOut, bool listEvery)
{
    const bool program = target == ChipTarget::ProgramMemory;
    MemoryImage chip;
    PicEngine reader(session.Module(), session.Host(), chip, session.Device());
    TargetReport report;
    report.operation = ChipOperation::Verify;
    report.target = target;
    report.detail = program ? reader.PicReadProgMem() : reader.PicReadDataMem();
    const bool completed = report.detail.outcome == EngineOutcome::Completed;
    if (completed) {
        const auto ranges = ParseAddressRanges(session.Host().Addresses());
        const std::uint32_t start = program ? ranges->ProgStart : ranges->DataStart;
        const std::uint32_t end = program ? ranges->ProgEnd : ranges->DataEnd;
        const std::uint16_t mask = WordMask(session.Device());
        const std::vector<Difference> differences =
            Compare(chip, expected, program, start, end, mask, leftOut);
        session.Progress().FinishTarget();
        const int digits = program ? 4 : 2;
        for (std::size_t i = 0; listEvery && i < differences.size() && i < kMaxDifferenceLines; ++i)
            reporter.PrintDifference(target, FormatHex(differences[i].address, digits),
                                     differences[i].expected, differences[i].read);
        if (listEvery)
            session.out << TargetOptionName(target) << " differences " << differences.size()
                        << '\n';
        session.out.flush();
        if (!differences.empty()) {
            report.detail.outcome = EngineOutcome::VerifyDifference;
            report.detail.address = static_cast<std::uint16_t>(differences.front().address);
            report.expectedText = differences.front().expected;
            report.readText = differences.front().read;
        }
    }
    report.succeeded = report.detail.Succeeded();
    report.soundBeforeMessage = true;
    if (report.detail.failure)
        report.failure = *report.detail.failure;
    return report;
}
