// What the production log costs a chip: the row every port appends when its work has ended,
// and the serial number a chip takes from a shared counter, on an SQLite file and on a local
// PostgreSQL server (the goal: well under 10 ms a chip). A run of tolm-cli also makes the log
// ready once, before its ports start. Run the PostgreSQL half in a throwaway cluster:
//   pg_virtualenv build/bench/production_row_bench
#include "production/BenchFacts.h"
#include "production/LogConnection.h"
#include "production/LogPlace.h"
#include "production/ProductionLog.h"
#include "production/ProductionRecorder.h"
#include "production/SerialSource.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

enum class Where { Sqlite, Postgres };

// The log of the benchmark: a file in a fresh folder, or the server pg_virtualenv made.
struct BenchLog
{
    QTemporaryDir folder;
    LogPlace place;
    bool usable = false;

    explicit BenchLog(Where where)
    {
        if (where == Where::Sqlite) {
            place.path = folder.filePath(QStringLiteral("production.sqlite"));
            usable = true;
            return;
        }
        QString error;
        if (qEnvironmentVariableIsEmpty("PGDATABASE"))
            return;
        place = *ParseLogPlace(
            QStringLiteral("postgresql:///") + qEnvironmentVariable("PGDATABASE"), error);
        usable = true;
    }
};

ProductionRow ChipRow(const BenchFacts &bench, int chip)
{
    ProductionRow row = NewProductionRow(bench);
    row.port = QStringLiteral("ttyUSB%1").arg(chip % 16);
    row.device = QStringLiteral("16f84");
    row.command = QStringLiteral("-d 16f84 -p ttyUSB0 write board.hex --serial 1 --serial-at id");
    row.operation = QStringLiteral("write");
    row.file = QStringLiteral("/home/bench/board.hex");
    row.fileSha256 = QString(64, QLatin1Char('a'));
    row.checksum = 0x1234;
    row.serial = static_cast<std::uint64_t>(chip);
    row.result = QStringLiteral("ok");
    row.words = 1088;
    row.elapsedMs = 34300;
    return row;
}

// Whether the benchmark can run: the log is there and can be made ready (when `prepare`).
bool Usable(benchmark::State &state, const BenchLog &log, bool prepare)
{
    if (!log.usable) {
        state.SkipWithError("no PostgreSQL server here (run under pg_virtualenv)");
        return false;
    }
    if (prepare && ProductionRecorder(log.place, log.folder.path()).Prepare().refusal) {
        state.SkipWithError("the log cannot be made ready");
        return false;
    }
    return true;
}

// One chip's row: a connection of its own, the insert, and (SQLite) the sync of the file.
void Row(benchmark::State &state, Where where)
{
    BenchLog log(where);
    if (!Usable(state, log, true))
        return;
    ProductionRecorder recorder(log.place, log.folder.path());
    const BenchFacts bench = CurrentBenchFacts("bench", "lot", "tolm-cli bench");
    int chip = 0;
    for (auto _ : state) {
        if (recorder.Append(ChipRow(bench, ++chip)).outcome !=
            ProductionRecorder::Outcome::Logged) {
            state.SkipWithError("a row was not logged");
            return;
        }
    }
}

// The insert alone, on a connection held open: what a row costs beyond connecting (and, for
// SQLite, beyond opening the file).
void RowOnOpenConnection(benchmark::State &state, Where where)
{
    BenchLog log(where);
    if (!Usable(state, log, true))
        return;
    LogConnection connection(log.place, LogConnection::Mode::ReadWrite);
    if (connection.Open()) {
        state.SkipWithError("no connection");
        return;
    }
    const BenchFacts bench = CurrentBenchFacts("bench", "lot", "tolm-cli bench");
    int chip = 0;
    for (auto _ : state) {
        if (InsertRows(connection, {ChipRow(bench, ++chip)})) {
            state.SkipWithError("a row was not logged");
            return;
        }
    }
}

// Making the log ready, once a run: the checks, the schema, the queue.
void Prepare(benchmark::State &state, Where where)
{
    BenchLog log(where);
    if (!Usable(state, log, false))
        return;
    for (auto _ : state) {
        ProductionRecorder recorder(log.place, log.folder.path());
        if (recorder.Prepare().refusal) {
            state.SkipWithError("the log cannot be made ready");
            return;
        }
    }
}

// One chip's serial number from the shared counter (`block` 1), or from the bench's reserve
// refilled 50 at a time.
void CounterNumber(benchmark::State &state, Where where, int block)
{
    BenchLog log(where);
    if (!Usable(state, log, false))
        return;
    SerialSourcePlan plan;
    plan.counterName = QStringLiteral("bench-%1").arg(block);
    plan.block = block;
    plan.log = log.place;
    plan.benchFolder = log.folder.path();
    plan.seed = 1;
    for (auto _ : state) {
        if (!TakeSerial(plan, kMaxSerialNumber - 1).number) {
            state.SkipWithError("no number");
            return;
        }
    }
}

BENCHMARK_CAPTURE(Row, sqlite, Where::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Row, postgres, Where::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RowOnOpenConnection, sqlite, Where::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RowOnOpenConnection, postgres, Where::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Prepare, sqlite, Where::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Prepare, postgres, Where::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CounterNumber, sqlite_each, Where::Sqlite, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CounterNumber, postgres_each, Where::Postgres, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CounterNumber, postgres_block50, Where::Postgres, 50)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the SQL drivers are plugins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
