#include "cli/production/SerialOptions.h"

#include "cli/CliContext.h"
#include "cli/production/ProductionRun.h"
#include "cli/session/ChipSession.h"
#include "device/HexText.h"
#include "production/LogCounter.h"
#include "production/ProductionLog.h"
#include "production/SerialNumber.h"

#include <QFileInfo>

namespace {

const char kSerial[] = "serial";
const char kSerialAt[] = "serial-at";
const char kSerialStep[] = "serial-step";
const char kSerialFile[] = "serial-file";
const char kSerialCounter[] = "serial-counter";
const char kSerialBlock[] = "serial-block";

// A block large enough to ride out a long outage, small enough that numbers a bench never
// uses stay few.
constexpr int kLargestBlock = 100000;

// Why the location lies outside START-END that `option` gave, or nothing.
std::optional<QString> OutsideRange(const SerialLocation &location, const QString &start,
                                    const QString &end, const char *option)
{
    const auto first = ParseHexText(start);
    const auto last = ParseHexText(end);
    const int lastCell = location.address + location.count - 1;
    if (first && last && (location.address < *first || lastCell > static_cast<int>(*last)))
        return QStringLiteral("the serial number goes to %1, outside %2 %3-%4")
            .arg(SerialLocationText(location), QLatin1String(option), start, end);
    return std::nullopt;
}

// Whether the ranges being written cover the location: a number outside them would never
// reach the chip.
std::optional<QString> OutsideWrittenRange(const SerialLocation &location, const ChipSetup &setup)
{
    const HexTargets &targets = setup.targets;
    const HexAddressTexts &ranges = setup.addresses;
    const bool written = location.place == SerialPlace::IdCode       ? targets.IDCode
                         : location.place == SerialPlace::DataMemory ? targets.Data
                                                                     : targets.Program;
    if (!written)
        return QStringLiteral("the serial number goes to %1, which -t leaves out")
            .arg(SerialLocationText(location));
    if (location.place == SerialPlace::DataMemory)
        return OutsideRange(location, ranges.DataStart, ranges.DataEnd, "--data-range");
    if (location.place == SerialPlace::ProgramMemory)
        return OutsideRange(location, ranges.ProgStart, ranges.ProgEnd, "--prog-range");
    return std::nullopt;
}

// Where the numbers come from: --serial-counter (and --serial-block), else the serial file.
bool ReadSource(CliContext &ctx, const QCommandLineParser &parser, const CliLogChoice &log,
                SerialSourcePlan &source)
{
    if (!parser.isSet(kSerialCounter)) {
        if (parser.isSet(kSerialBlock)) {
            ctx.UsageError(QStringLiteral("--serial-block takes numbers from --serial-counter"));
            return false;
        }
        source.filePath =
            parser.isSet(kSerialFile) ? parser.value(kSerialFile) : DefaultSerialFilePath(log);
        return true;
    }
    source.counterName = parser.value(kSerialCounter);
    if (parser.isSet(kSerialFile)) {
        ctx.UsageError(QStringLiteral("--serial-file and --serial-counter exclude each other"));
        return false;
    }
    if (!IsCounterName(source.counterName)) {
        ctx.UsageError(QStringLiteral("--serial-counter takes a name of letters, digits, '.', "
                                      "'_' and '-', not '%1'")
                           .arg(source.counterName));
        return false;
    }
    if (log.none) {
        ctx.UsageError(QStringLiteral("--serial-counter takes its numbers from the production "
                                      "log's database; --no-log leaves none"));
        return false;
    }
    bool ok = true;
    source.block = parser.isSet(kSerialBlock) ? parser.value(kSerialBlock).toInt(&ok) : 1;
    if (!ok || source.block < 1 || source.block > kLargestBlock) {
        ctx.UsageError(QStringLiteral("--serial-block takes a number from 1 to %1, not '%2'")
                           .arg(kLargestBlock)
                           .arg(parser.value(kSerialBlock)));
        return false;
    }
    source.log = log.place;
    source.benchFolder = BenchDataFolder();
    return true;
}

// Reads the option values; a bad one is a usage error, reported here.
std::optional<SerialPlan> ReadValues(CliContext &ctx, const QCommandLineParser &parser,
                                     const CliLogChoice &log)
{
    if (!parser.isSet(kSerial) || !parser.isSet(kSerialAt)) {
        ctx.UsageError(QStringLiteral("serial numbers need both --serial START and --serial-at "
                                      "WHERE"));
        return std::nullopt;
    }
    SerialPlan plan;
    QString error;
    const auto location = ParseSerialLocation(parser.value(kSerialAt), error);
    if (!location) {
        ctx.UsageError(error);
        return std::nullopt;
    }
    plan.location = *location;
    const auto start = ParseSerialNumber(parser.value(kSerial));
    const auto step = parser.isSet(kSerialStep) ? ParseSerialNumber(parser.value(kSerialStep))
                                                : std::optional<std::uint64_t>(1);
    if (!start || !step || *step == 0) {
        ctx.UsageError(QStringLiteral("%1 takes a number from %2 to %3 (decimal, or hexadecimal "
                                      "after 0x), not '%4'")
                           .arg(start ? "--serial-step" : "--serial")
                           .arg(start ? 1 : 0)
                           .arg(kMaxSerialNumber)
                           .arg(parser.value(start ? kSerialStep : kSerial)));
        return std::nullopt;
    }
    plan.source.seed = *start;
    plan.source.step = *step;
    if (!ReadSource(ctx, parser, log, plan.source))
        return std::nullopt;
    return plan;
}

// The last number this run may hand out, or nothing when it passes the largest one.
std::optional<std::uint64_t> LastNumber(std::uint64_t first, std::uint64_t step, int ports)
{
    const std::uint64_t more = static_cast<std::uint64_t>(ports - 1);
    if (more != 0 && step > (kMaxSerialNumber - first) / more)
        return std::nullopt;
    return first + step * more;
}

bool SerialOptionsGiven(const QCommandLineParser &parser)
{
    for (const char *name :
         {kSerial, kSerialAt, kSerialStep, kSerialFile, kSerialCounter, kSerialBlock}) {
        if (parser.isSet(name))
            return true;
    }
    return false;
}

} // namespace

void AddSerialOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {kSerial,
         "Give every chip a serial number: START seeds the serial file when it does not exist "
         "yet; afterwards the file's next number is used.",
         "START"},
        {kSerialAt, "Where the number goes: id, data:AA[:N] or prog:AAAA[:N] (RETLW table).",
         "WHERE"},
        {kSerialStep, "How far apart the numbers are (default 1).", "N"},
        {kSerialFile,
         "The file that holds the next number (default: next-serial beside the "
         "production log).",
         "FILE"},
        {kSerialCounter,
         "Take the numbers from the counter NAME in the production log's database, shared by "
         "every bench that writes to it (START seeds it when it is made).",
         "NAME"},
        {kSerialBlock,
         "Take N numbers from the counter at a time and keep the rest in a reserve on this "
         "bench, which goes on numbering while the server is away.",
         "N"},
    });
}

int CliSerialPlan(CliContext &ctx, const QCommandLineParser &parser, const ChipSetup &setup,
                  const MemoryImage &image, std::optional<SerialPlan> &result)
{
    if (!SerialOptionsGiven(parser))
        return CliExit::kOk;
    const auto log = CliProductionLog(ctx);
    if (!log)
        return CliExit::kUsage;
    auto plan = ReadValues(ctx, parser, *log);
    if (!plan)
        return CliExit::kUsage;
    if (auto refusal = SerialLocationRefusal(plan->location, setup.device))
        return ctx.UsageError(*refusal);
    if (auto outside = OutsideWrittenRange(plan->location, setup))
        return ctx.UsageError(*outside);
    const SerialOutlook outlook = LookAheadSerial(plan->source);
    if (!outlook.next) {
        ctx.err << "tolm-cli: no serial number can be had: " << outlook.error << Qt::endl;
        return CliExit::kFileError;
    }
    const std::uint64_t next = *outlook.next;
    const SerialSourcePlan &source = plan->source;
    if (outlook.continues && next != source.seed)
        ctx.err << "tolm-cli: "
                << (source.UsesCounter() ? QStringLiteral("the counter ") + source.counterName
                                         : source.filePath)
                << " continues at " << next << "; --serial " << source.seed << " only starts a new "
                << (source.UsesCounter() ? "counter" : "serial file") << Qt::endl;
    const std::uint64_t capacity = SerialCapacity(plan->location);
    const auto last = LastNumber(next, source.step, static_cast<int>(setup.ports.size()));
    if (!last || *last > capacity)
        return ctx.UsageError(
            QStringLiteral("the serial numbers from %1 do not fit %2 (at most %3)")
                .arg(next)
                .arg(SerialLocationText(plan->location))
                .arg(capacity));
    if (ImageHasDataAt(image, plan->location, setup.device))
        ctx.err << "tolm-cli: warning: the file has data at " << SerialLocationText(plan->location)
                << "; each chip gets its serial number there instead" << Qt::endl;
    result = std::move(plan);
    return CliExit::kOk;
}

void AddVerifySerialAtOption(QCommandLineParser &parser)
{
    parser.addOption({kSerialAt,
                      "Leave out where write --serial put each chip's own number: id, "
                      "data:AA[:N] or prog:AAAA[:N].",
                      "WHERE"});
}

int CliVerifySerialLocation(CliContext &ctx, const QCommandLineParser &parser,
                            const ChipSetup &setup, std::optional<SerialLocation> &location)
{
    if (!parser.isSet(kSerialAt))
        return CliExit::kOk;
    QString error;
    location = ParseSerialLocation(parser.value(kSerialAt), error);
    if (!location)
        return ctx.UsageError(error);
    if (const auto refusal = SerialLocationRefusal(*location, setup.device))
        return ctx.UsageError(*refusal);
    return CliExit::kOk;
}

QString DefaultSerialFilePath(const CliLogChoice &log)
{
    const bool file = !log.none && !log.place.IsPostgres();
    return (file ? QFileInfo(log.place.path).absolutePath() : BenchDataFolder()) +
           QStringLiteral("/next-serial");
}
