#include "cli/production/ProductionRun.h"

#include "cli/CliContext.h"
#include "cli/output/TextTable.h"
#include "cli/session/ChipSession.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "production/ProductionLog.h"
#include "production/SerialSource.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

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

ProductionRun::ProductionRun(CliContext &ctx, const ChipSetup &setup, const ProductionFacts &facts,
                             const CliLogChoice &log)
    : m_ctx(ctx), m_setup(setup), m_facts(facts),
      m_bench(
          CurrentBenchFacts(ctx.Value(QStringLiteral("operator")).value_or(QString()),
                            ctx.Value(QStringLiteral("lot")).value_or(QString()),
                            QStringLiteral("tolm-cli ") + QCoreApplication::applicationVersion())),
      m_logged(CommandIsLogged(ctx.commandName))
{
    if (!log.none)
        m_recorder.emplace(log.place, BenchDataFolder());
}

int ProductionRun::Prepare()
{
    if (!m_logged || !m_recorder)
        return CliExit::kOk;
    const QString shown = m_recorder->Place().Shown();
    const ProductionRecorder::Readiness readiness = m_recorder->Prepare();
    if (readiness.refusal && m_recorder->Place().IsPostgres()) {
        m_ctx.err << "tolm-cli: cannot log into " << shown << ": " << *readiness.refusal
                  << "; nothing was sent to any chip" << Qt::endl;
        return CliExit::kFileError;
    }
    if (readiness.refusal) {
        m_ctx.err << "tolm-cli: cannot log into " << shown << ": " << *readiness.refusal
                  << "; the chip work goes on unrecorded" << Qt::endl;
        m_logFailed = true;
        return CliExit::kOk;
    }
    if (readiness.sent > 0)
        m_ctx.err << "tolm-cli: " << readiness.sent << (readiness.sent == 1 ? " row" : " rows")
                  << " logged on this bench reached " << shown << Qt::endl;
    if (readiness.serverAway)
        m_ctx.err << "tolm-cli: the server of " << shown << " is away (" << readiness.awayReason
                  << "); the rows of this run are kept on this bench" << Qt::endl;
    m_logReady = true;
    return CliExit::kOk;
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
    const SerialTake taken = ::TakeSerial(plan.source, SerialCapacity(plan.location));
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
    ProductionRow row = NewProductionRow(m_bench);
    row.operation = m_ctx.commandName;
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
    Append(io, row);
}

void ProductionRun::Append(PortIo &io, const ProductionRow &row)
{
    const ProductionRecorder::Appended appended = m_recorder->Append(row);
    if (appended.outcome == ProductionRecorder::Outcome::Kept) {
        ++m_kept;
    } else if (appended.outcome == ProductionRecorder::Outcome::Lost) {
        io.err << "tolm-cli: this chip is not recorded in " << m_recorder->Place().Shown() << ": "
               << appended.reason << Qt::endl;
        m_logFailed = true;
    }
}

int ProductionRun::Finish(int worstExitCode)
{
    // A kept row changes nothing about the exit code: it is on the bench and goes out later.
    if (m_kept > 0)
        m_ctx.err << "tolm-cli: " << KeptRowsText(m_recorder->Waiting()) << Qt::endl;
    if (!m_logFailed)
        return worstExitCode;
    m_ctx.err << "tolm-cli: " << (m_logReady ? "not every chip" : "no chip") << " of this run is "
              << "recorded in the production log " << m_recorder->Place().Shown() << Qt::endl;
    // Only a success becomes exit 3: a chip that failed must still read as failed.
    return worstExitCode == CliExit::kOk ? CliExit::kFileError : worstExitCode;
}
