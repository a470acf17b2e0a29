#include "cli/production/ProductionRun.h"

#include "cli/CliContext.h"
#include "cli/output/TextTable.h"
#include "cli/session/ChipSession.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "production/ProductionLog.h"
#include "production/SerialCounter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace {

// The chip commands that change a chip or check it against a file; the plain reads of one
// word (config read, cal read, id read, detect) leave no record.
bool CommandIsLogged(const QString &name)
{
    static const QStringList logged = {
        QStringLiteral("read"),         QStringLiteral("write"),     QStringLiteral("verify"),
        QStringLiteral("blank"),        QStringLiteral("erase"),     QStringLiteral("protect"),
        QStringLiteral("config write"), QStringLiteral("cal write"), QStringLiteral("id write"),
    };
    return logged.contains(name);
}

// The arguments as a shell would take them back: any with a blank or a quote in quotes.
QString CommandText(const QStringList &arguments)
{
    QStringList words;
    for (const QString &argument : arguments) {
        const bool plain = !argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
                           !argument.contains(QLatin1Char('\'')) &&
                           !argument.contains(QLatin1Char('"'));
        words << (plain
                      ? argument
                      : QLatin1Char('\'') +
                            QString(argument).replace(QLatin1String("'"), QLatin1String("'\\''")) +
                            QLatin1Char('\''));
    }
    return words.join(QLatin1Char(' '));
}

QString FileSha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

std::optional<QString> CliProductionLogPath(CliContext &ctx)
{
    const bool none = ctx.IsSet(QStringLiteral("no-log"));
    const auto given = ctx.Value(QStringLiteral("log"));
    if (none && given) {
        ctx.UsageError(QStringLiteral("--log and --no-log exclude each other"));
        return std::nullopt;
    }
    if (given && given->isEmpty()) {
        ctx.UsageError(QStringLiteral("--log needs a file name"));
        return std::nullopt;
    }
    if (none)
        return QString();
    return given ? *given : DefaultProductionLogPath();
}

ProductionRun::ProductionRun(CliContext &ctx, const ChipSetup &setup, const ProductionFacts &facts,
                             QString logPath)
    : m_ctx(ctx), m_setup(setup), m_facts(facts), m_logPath(std::move(logPath)),
      m_logged(CommandIsLogged(ctx.commandName))
{}

void ProductionRun::Prepare()
{
    if (!m_logged || m_logPath.isEmpty())
        return;
    if (const auto failure = PrepareProductionLog(m_logPath)) {
        m_ctx.err << "tolm-cli: cannot log into " << m_logPath << ": " << *failure
                  << "; the chip work goes on unrecorded" << Qt::endl;
        m_logFailed = true;
        return;
    }
    m_logReady = true;
}

ProductionPort::ProductionPort(ProductionRun &run, PortIo &io) : m_run(run), m_io(io)
{
    m_timer.start();
}

int ProductionPort::TakeSerial(MemoryImage &image)
{
    return m_run.m_facts.serial ? m_run.TakeSerial(m_io, image, m_record) : CliExit::kOk;
}

int ProductionPort::Finish(const MemoryImage &image, int exitCode)
{
    m_record.exitCode = exitCode;
    m_record.words = m_io.wordsDone;
    // The detail is built from what the work noted, never from the lines it printed.
    if (exitCode != CliExit::kOk && m_io.failure)
        m_record.detail = WorkFailureDetail(*m_io.failure);
    m_record.elapsedMs = m_timer.elapsed();
    m_run.Record(m_io, image, m_record);
    return exitCode;
}

int ProductionRun::TakeSerial(PortIo &io, MemoryImage &image, ProductionPortRecord &record)
{
    const SerialPlan &plan = *m_facts.serial;
    const SerialCounter::Taken taken =
        SerialCounter(plan.counterPath).Take(plan.start, plan.step, SerialCapacity(plan.location));
    if (!taken.number) {
        io.err << "tolm-cli: no serial number for this chip: " << taken.error << Qt::endl;
        io.NoteFailure({.step = QStringLiteral("no serial number for this chip"),
                        .systemReason = taken.error});
        return taken.doesNotFit ? CliExit::kUsage : CliExit::kFileError;
    }
    record.serial = taken.number;
    PlaceSerial(image, plan.location, m_setup.device, *taken.number);
    return CliExit::kOk;
}

void ProductionRun::Record(PortIo &io, const MemoryImage &image, const ProductionPortRecord &record)
{
    const bool ok = record.exitCode == CliExit::kOk;
    // A module that went silent before the first word reached the chip: the number stays
    // taken (it is never handed out again) but no chip carries it.
    const bool serialUnused =
        record.serial && record.exitCode == CliExit::kPortError && record.words == 0;
    // What a read produced counts only once the read completed and its file was saved.
    const bool imageValid = ok || !m_facts.checksumOnlyOnSuccess;
    std::optional<std::uint16_t> checksum;
    if (m_facts.checksum && imageValid)
        checksum = ImageChecksum(image, m_setup.device);
    if (m_facts.summaryLine) {
        // Upper case where it went wrong, so a failed chip stands out among good ones.
        io.err << "tolm-cli: " << m_ctx.commandName << ' '
               << (ok ? QStringLiteral("ok")
                      : QStringLiteral("%1 (exit %2)")
                            .arg(PortResultText(record.exitCode).toUpper())
                            .arg(record.exitCode))
               << ": " << record.words << " words in " << SecondsText(record.elapsedMs) << " s";
        if (checksum)
            io.err << ", checksum " << FormatHex(*checksum, 4);
        if (record.serial)
            io.err << ", serial " << *record.serial << (serialUnused ? " (not used)" : "");
        io.err << Qt::endl;
    }
    if (!m_logReady)
        return;
    ProductionRow row;
    row.time = QDateTime::currentDateTimeUtc();
    row.host = QSysInfo::machineHostName();
    row.port = io.port;
    row.device = m_setup.device.DeviceName;
    row.command = CommandText(m_ctx.commandLine);
    if (m_facts.file) {
        row.file = QFileInfo(m_facts.file(io.port)).absoluteFilePath();
        if (imageValid)
            row.fileSha256 = FileSha256(row.file);
    }
    row.checksum = checksum;
    row.serial = record.serial;
    row.result = PortResultText(record.exitCode);
    row.exitCode = record.exitCode;
    row.words = record.words;
    row.elapsedMs = record.elapsedMs;
    row.detail =
        serialUnused ? QStringLiteral("serial number not used: ") + record.detail : record.detail;
    if (const auto failure = AppendProductionRow(m_logPath, row)) {
        io.err << "tolm-cli: this chip is not recorded in " << m_logPath << ": " << *failure
               << Qt::endl;
        m_logFailed = true;
    }
}

int ProductionRun::Finish(int worstExitCode)
{
    if (!m_logFailed)
        return worstExitCode;
    m_ctx.err << "tolm-cli: " << (m_logReady ? "not every chip" : "no chip") << " of this run is "
              << "recorded in the production log " << m_logPath << Qt::endl;
    // Only a success becomes exit 3: a chip that failed must still read as failed.
    return worstExitCode == CliExit::kOk ? CliExit::kFileError : worstExitCode;
}
