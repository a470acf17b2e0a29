// The production log's detail column comes from what the chip work noted about its failure,
// never from the lines it printed: a reworded terminal message leaves the log as it was.
#include "cli/CliContext.h"
#include "cli/output/WorkFailure.h"
#include "cli/production/ProductionRun.h"
#include "cli/session/ChipSession.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/MemoryImage.h"
#include "production/LogQuery.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TargetReport Report(ChipOperation operation, ChipTarget target, EngineOutcome outcome,
                    std::uint16_t address)
{
    TargetReport report;
    report.operation = operation;
    report.target = target;
    report.detail.outcome = outcome;
    report.detail.address = address;
    report.succeeded = report.detail.Succeeded();
    return report;
}

// What each kind of failure leaves in the column: the difference as the stdout line has it, or
// what failed and why.
TEST(ProductionDetail, EachFailureKindGivesItsDetail)
{
    TargetReport difference = Report(ChipOperation::Verify, ChipTarget::ProgramMemory,
                                     EngineOutcome::VerifyDifference, 0x0005);
    difference.expectedText = "2005";
    difference.readText = "3FFF";
    TargetReport idDifference =
        Report(ChipOperation::Verify, ChipTarget::IdCode, EngineOutcome::Completed, 0);
    idDifference.succeeded = false;
    idDifference.expectedText = "1234";
    idDifference.readText = "FFFF";
    TargetReport silent = Report(ChipOperation::Write, ChipTarget::DataMemory,
                                 EngineOutcome::CommunicationFailed, 0x12);
    silent.detail.failure = ExchangeFailure{ExchangeFailure::Kind::NoAnswer, 0x11, 0, 0};
    silent.failure = *silent.detail.failure;
    const ReadBackDifference readBack{0x3FF1, 0x3FFF, -1};

    const struct
    {
        const char *name;
        WorkFailure failure;
        QString detail;
    } rows[] = {
        {"verify difference", {.target = difference}, "prog 0005 expected 2005 read 3FFF"},
        {"ID code difference", {.target = idDifference}, "id - expected 1234 read FFFF"},
        {"write ended by the answer given in advance",
         {.target = Report(ChipOperation::Write, ChipTarget::ProgramMemory, EngineOutcome::Aborted,
                           0x0005)},
         "Error Writing Program Memory: the write ended at 0005 (--on-write-error)"},
        {"words skipped",
         {.target =
              Report(ChipOperation::Write, ChipTarget::ProgramMemory, EngineOutcome::Completed, 0),
          .skippedWords = 2},
         "Error Writing Program Memory: 2 words were left as the chip took them "
         "(--on-write-error ignore)"},
        {"module silent",
         {.target = silent},
         "Error Writing Data Memory: the module stopped answering at byte 12: no answer from the "
         "module to command 11 (Write Data Byte)"},
        {"read back",
         {.step = "Error Writing Configuration", .cause = readBack},
         "Error Writing Configuration: read back 3FFF, expected 3FF1"},
        {"port",
         {.step = "COM Port Error", .systemReason = "No such file or directory"},
         "COM Port Error: No such file or directory"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(WorkFailureDetail(r.failure), r.detail) << r.name;
}

class ProductionPortLog : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "cli_unit_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv); // the SQL driver is a plugin
    }

    // One port of a write that printed `printed` and noted `failure`; the detail logged.
    QString LoggedDetail(const QString &printed, const std::optional<WorkFailure> &failure)
    {
        QString outText;
        QString errText;
        QTextStream out(&outText);
        QTextStream err(&errText);
        CliContext ctx(out, err);
        ctx.commandName = QStringLiteral("write");
        ctx.commandLine = QStringList{"-p", "ttyUSB0", "write", "board.hex"};
        ChipSetup setup;
        setup.device = *FindDevice(QStringLiteral("16f84"));
        const ProductionFacts facts;
        const QString log = m_dir.filePath(QStringLiteral("production.sqlite"));
        QFile::remove(log);
        CliLogChoice choice;
        choice.place.path = log;
        ProductionRun run(ctx, setup, facts, choice);
        run.Prepare();
        PortIo io{QStringLiteral("ttyUSB0"), std::nullopt, out, err, {}};
        ProductionPort port(run, io);
        port.Io().err << printed << Qt::endl;
        if (failure)
            port.Io().NoteFailure(*failure);
        MemoryImage image;
        port.Finish(image, CliExit::kFailed);
        const LogReadResult read = ReadProductionLog(log, {});
        return read.rows.size() == 1 ? read.rows[0].detail : "<no row: " + errText + ">";
    }

    QTemporaryDir m_dir;
};

TEST_F(ProductionPortLog, RewordedMessagesLeaveTheDetailAsNoted)
{
    const WorkFailure noted{
        .step = "Error Reading Configuration",
        .cause = ExchangeFailure{ExchangeFailure::Kind::WrongAcknowledge, 0x0B, 4, 0x41}};
    const QString expected = WorkFailureDetail(noted);
    for (const QString &printed :
         {QStringLiteral("tolm-cli: Error Reading Configuration: the module answered oddly"),
          QStringLiteral("tolm-cli: something else entirely"),
          QStringLiteral("prog 0000 expected 1234 read 3FFF")}) {
        EXPECT_EQ(LoggedDetail(printed, noted).toStdString(), expected.toStdString())
            << printed.toStdString();
    }
    // Nothing noted leaves the column empty, whatever was printed.
    EXPECT_EQ(LoggedDetail("tolm-cli: Error Writing ID Code", std::nullopt).toStdString(), "");
}

// A failure that follows from an earlier one (the file not written after a read that failed)
// does not replace it.
TEST(ProductionDetail, TheFirstFailureNotedIsKept)
{
    QString text;
    QTextStream stream(&text);
    PortIo io{QStringLiteral("ttyUSB0"), std::nullopt, stream, stream, {}};
    io.NoteFailure({.step = "Error Reading Program Memory"});
    io.NoteFailure({.step = "cannot save out.hex"});
    ASSERT_TRUE(io.failure.has_value());
    EXPECT_EQ(io.failure->step, "Error Reading Program Memory");
}

} // namespace
