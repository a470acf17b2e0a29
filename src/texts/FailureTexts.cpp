#include "texts/FailureTexts.h"

#include "device/HexText.h"
#include "link/ModuleCommand.h"

#include <array>

namespace {

// The module's commands by their byte, as its documentation names them.
const std::array<const char *, 24> kCommandNames = {
    "Parallel PIC Command",
    "Serial PIC Command",
    "Serial Read Data",
    "Serial Load Data",
    "Program Pulse",
    "Set Pulse Timing",
    "Identify",
    "Power Off",
    "Power On 16C5x",
    "Power On Serial Mode",
    "Read 12-Bit Word",
    "Read Program Word",
    "Read Data Word",
    "Write 12-Bit Word",
    "Write 12-Bit Config",
    "Write Word EPROM",
    "Write Word Flash",
    "Write Data Byte",
    "Increment 12-Bit",
    "Advance 12-Bit",
    "Increment Address",
    "Advance Address",
    "Load Config",
    "Parity Mode",
};

QString CommandText(std::uint8_t command)
{
    const QString name = command < kCommandNames.size()
                             ? QStringLiteral(" (%1)").arg(QLatin1String(kCommandNames[command]))
                             : QString();
    return QStringLiteral("command %1%2").arg(FormatHex(command, 2), name);
}

bool IsModuleWrite(std::uint8_t command)
{
    return command >= static_cast<std::uint8_t>(ModuleCommand::Write12BitWord) &&
           command <= static_cast<std::uint8_t>(ModuleCommand::WriteDataByte);
}

QString AddressText(ChipTarget target, std::uint16_t address)
{
    return target == ChipTarget::DataMemory ? FormatHex(address & 0xFF, 2) : FormatHex(address, 4);
}

QString ExchangeReason(const std::optional<ExchangeFailure> &failure, const QString &where)
{
    if (!failure)
        return QStringLiteral("an exchange with the module failed%1").arg(where);
    if (failure->ModuleSilent())
        return QStringLiteral("the module stopped answering%1: %2")
            .arg(where, ExchangeFailureText(*failure));
    return ExchangeFailureText(*failure) + where;
}

QString MemoryReason(const TargetReport &report)
{
    const EngineResult &detail = report.detail;
    const QString address = AddressText(report.target, detail.address);
    const QString unit =
        report.target == ChipTarget::DataMemory ? QStringLiteral("byte") : QStringLiteral("word");
    switch (detail.outcome) {
    case EngineOutcome::PowerOnFailed:
        return ExchangeReason(detail.failure, QStringLiteral(" during the power-on"));
    case EngineOutcome::BadAddressField:
        return QStringLiteral("an address field is not a hexadecimal number");
    case EngineOutcome::CommunicationFailed:
        return ExchangeReason(detail.failure, QStringLiteral(" at %1 %2").arg(unit, address));
    case EngineOutcome::VerifyDifference:
        return QStringLiteral("%1: expected %2, read %3")
            .arg(address, detail.expectedText, detail.readText);
    case EngineOutcome::NotBlank:
        return QStringLiteral("%1 is not blank: read %2, blank is %3")
            .arg(address, detail.readText, detail.expectedText);
    default:
        return {};
    }
}

} // namespace

QString ExchangeFailureText(const ExchangeFailure &failure)
{
    const QString command = CommandText(failure.command);
    switch (failure.kind) {
    case ExchangeFailure::Kind::NoAnswer:
        return failure.replyByte == 0
                   ? QStringLiteral("no answer from the module to %1").arg(command)
                   : QStringLiteral("no answer from the module to %1 after %2 bytes of its reply")
                         .arg(command)
                         .arg(failure.replyByte);
    case ExchangeFailure::Kind::WrongAcknowledge:
        // The module's own write commands answer a word that would not take this way.
        return QStringLiteral("%1the module answered %2 with %3 instead of the acknowledge 20")
            .arg(IsModuleWrite(failure.command) ? QStringLiteral("the word did not take: ")
                                                : QString(),
                 command, FormatHex(failure.received, 2));
    case ExchangeFailure::Kind::BadDigit:
        return QStringLiteral("the module's reply to %1 held %2 at byte %3, not a hexadecimal "
                              "digit")
            .arg(command, FormatHex(failure.received, 2))
            .arg(failure.replyByte + 1);
    case ExchangeFailure::Kind::PortGone:
        return QStringLiteral("the port stopped taking bytes at %1").arg(command);
    }
    return {};
}

QString ReadBackText(const ReadBackDifference &difference)
{
    const QString values =
        QStringLiteral("read back %1, expected %2")
            .arg(FormatHex(difference.read, 4), FormatHex(difference.expected, 4));
    if (difference.location < 0)
        return values;
    return QStringLiteral("ID location %1 %2").arg(difference.location).arg(values);
}

QString ProtectedChipText(const ProtectedChip &refusal)
{
    return QStringLiteral("the chip is code- or data-protected (configuration word %1): only "
                          "Chip Erase clears that, which the programmer module cannot send; "
                          "nothing was changed")
        .arg(FormatHex(refusal.configWord, 4));
}

QString FailureReason(const ChipFailure &failure)
{
    if (const auto *exchange = std::get_if<ExchangeFailure>(&failure))
        return ExchangeReason(*exchange, QString());
    if (const auto *refusal = std::get_if<ProtectedChip>(&failure))
        return ProtectedChipText(*refusal);
    return ReadBackText(std::get<ReadBackDifference>(failure));
}

QString TargetFailureReason(const TargetReport &report)
{
    if (report.failure && std::holds_alternative<ProtectedChip>(*report.failure))
        return FailureReason(*report.failure);
    if (IsMemoryTarget(report.target))
        return MemoryReason(report);
    if (report.failure)
        return FailureReason(*report.failure);
    if (!report.readText.isEmpty() && !report.expectedText.isEmpty())
        return QStringLiteral("expected %1, read %2").arg(report.expectedText, report.readText);
    return {};
}

bool ModuleStoppedAnswering(const TargetReport &report)
{
    return report.failure && ModuleSilent(*report.failure);
}

QString CalibrationWriteReason(const ChipFailure &failure)
{
    const QString reason = FailureReason(failure);
    const auto *difference = std::get_if<ReadBackDifference>(&failure);
    if (!difference || (difference->expected & ~difference->read) == 0)
        return reason;
    return reason + QStringLiteral(": the chip's word has bits at 0 where the new value needs "
                                   "a 1, and an EPROM bit cannot go from 0 back to 1");
}
