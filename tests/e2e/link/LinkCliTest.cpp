#include "CliProcess.h"
#include "ModsimProcess.h"
#include "PseudoTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

namespace {

using CliResult = CliRun;

class LinkCli : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "link_e2e_tests";
        static char *argv[] = {name, nullptr};
        s_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    void StopModule() { m_modsim.Stop(); }

    // Starts the simulated module on a pseudo-terminal linked at LinkPath().
    void StartModule(const QStringList &extra = {})
    {
        ASSERT_TRUE(m_modsim.Start(QStringLiteral("16f84"), extra))
            << m_modsim.Error().toStdString();
    }

    QString LinkPath() const { return m_modsim.LinkPath(); }
    CliResult Cli(const QStringList &arguments)
    {
        return RunTolmCli(QStringLiteral(TOLM_CLI), arguments, m_dir.path(), 10000);
    }

    static std::unique_ptr<QCoreApplication> s_app;
    QTemporaryDir m_dir;
    ModsimProcess m_modsim{QStringLiteral(TOLM_MODSIM)};
};

std::unique_ptr<QCoreApplication> LinkCli::s_app;

TEST_F(LinkCli, ModuleAnswersProbeAndIdentify)
{
    struct Case
    {
        QStringList modsimOptions;
        const char *command;
        int exitCode;
        QString out;
    };
    const Case cases[] = {
        {{}, "probe", 0, "Programmer Device Connected\n"},
        {{}, "identify", 0, "AA\n"},
        {{"--identify-byte", "5a"}, "identify", 0, "5A\n"},
        {{"--no-ack-from", "1"}, "probe", 4, "Programmer Device NOT Connected\n"},
        {{"--wrong-ack-at", "1"}, "probe", 4, "Programmer Device NOT Connected\n"},
        {{"--wrong-ack-at", "1"}, "identify", 4, ""},
    };
    for (const Case &c : cases) {
        StartModule(c.modsimOptions);
        const CliResult result = Cli({"-p", LinkPath(), c.command});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.command << result.err.toStdString();
        EXPECT_EQ(result.out, c.out) << c.command;
        StopModule();
    }
}

TEST_F(LinkCli, ProbeWithNothingOnTheOtherEndGivesUpWithinHalfASecond)
{
    PseudoTerminal pty; // nobody reads or answers its master side
    ASSERT_TRUE(pty.IsValid());
    const CliResult result = Cli({"-p", pty.SlavePath(), "probe"});
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(result.out, "Programmer Device NOT Connected\n");
    EXPECT_GE(result.elapsedMs, 240);
    // Half a second for the check, and some room for starting the program.
    EXPECT_LT(result.elapsedMs, 900);
}

TEST_F(LinkCli, PortThatCannotBeOpenedIsExitFourWithTheReason)
{
    const QString missing = m_dir.filePath(QStringLiteral("no-such-port"));
    for (const char *command : {"probe", "identify"}) {
        const CliResult result = Cli({"-p", missing, command});
        EXPECT_EQ(result.exitCode, 4) << command;
        EXPECT_TRUE(result.err.contains("COM Port Error")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(missing)) << result.err.toStdString();
    }
}

TEST_F(LinkCli, TraceWritesEveryExchange)
{
    StartModule();
    const QString trace = m_dir.filePath(QStringLiteral("trace.txt"));
    ASSERT_EQ(Cli({"-p", LinkPath(), "--trace", trace, "probe"}).exitCode, 0);
    ASSERT_EQ(Cli({"-p", LinkPath(), "identify", "--trace", trace}).exitCode, 0);
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // A pseudo-terminal has no low-latency setting; the trace says so before the exchanges.
    EXPECT_EQ(file.readAll(), "# low latency: not available on this port (Inappropriate ioctl "
                              "for device)\n> 06 < AA 20\n")
        << "each run starts its own trace";

    const CliResult unwritable =
        Cli({"-p", LinkPath(), "--trace", m_dir.filePath("missing/trace.txt"), "probe"});
    EXPECT_EQ(unwritable.exitCode, 3);
}

} // namespace
