#include "CliProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

CliRun RunCli(const QStringList &args, const QString &configDir)
{
    return RunTolmCli(QStringLiteral(TOLM_CLI), args, configDir, 10000);
}

struct CliCase
{
    const char *args;
    int exitCode;
    const char *out; // expected stdout, or the start of stderr when the exit code is not 0
};

class CliConfig : public testing::TestWithParam<CliCase>
{
protected:
    QTemporaryDir config;
};

TEST_P(CliConfig, PrintsTheWordOrRefuses)
{
    const CliCase c = GetParam();
    const CliRun run = RunCli(QProcess::splitCommand(QString::fromUtf8(c.args)), config.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    if (c.exitCode == 0)
        EXPECT_EQ(run.out, QString::fromUtf8(c.out));
    else
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.out))) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliConfig,
    testing::Values(
        CliCase{"-d 16f84 config build --osc RC", 0, "3FFB\n"},
        CliCase{"config build -d 16f84 --osc rc --wdt", 0, "3FFF\n"},
        CliCase{"-d 16c54 config build", 0, "0FFB\n"},
        CliCase{"-d 12c508 config build --osc \"External RC\" --mclr", 0, "0FFB\n"},
        CliCase{"-d 16f877 config build", 0, "3D3B\n"},
        CliCase{"-d 16f628 config build", 0, "3F1B\n"},
        CliCase{"-d 16f628 config build --osc 0 --protect upper34", 0, "1708\n"},
        CliCase{"-d 16c84 config build --protect all", 0, "0063\n"},
        CliCase{"-d 16f84 config decode 3FF3", 0, "osc=RC\nwdt=off\npwrt=on\nprotect=none\n"},
        CliCase{"-d 16c63 config decode 3F0F", 0,
                "osc=RC\nwdt=on\npwrt=off\nbor=off\nprotect=unknown\n"},
        CliCase{"-d 16F84 config build", 2,
                "tolm-cli: unknown device '16F84'; valid devices: 12c508"},
        CliCase{"-d 16f84 config build --lvp", 2, "tolm-cli: 16f84 has no \"Low Voltage"},
        CliCase{"-d 16f84 config build --osc ER", 2, "tolm-cli: 16f84 has no oscillator 'ER'"},
        CliCase{"-d 16f84 config build --protect upper12", 2, "tolm-cli: 16f84 does not offer"},
        CliCase{"-d 16f84 config decode 12345", 2, "tolm-cli: '12345' is not"},
        CliCase{"-d 16f84 config decode", 2, "tolm-cli: config decode takes one WORD"},
        // Named fields no control stands for, and a second configuration word.
        CliCase{"-d 16f887 config build --osc \"IntOsc IO\" --field boren=on --field wrt=0000-00FF",
                0, "23D4\n3DFF\n"},
        CliCase{"-d 16f887 config decode 2FD4 3EFF", 0,
                "osc=IntOsc IO\nwdt=off\npwrt=off\nlvp=off\nmclr=off\ndebug=off\ncpd=off\n"
                "protect=none\nboren=on\nieso=on\nfcmen=on\nwrt=off\nbor4v=2.1V\n"},
        CliCase{"-d 16f887 config build --field BORV=4.0V", 2,
                "tolm-cli: 16f887 has no configuration field 'BORV'"},
        CliCase{"-d 16f877a config build --field wrt=all", 2,
                "tolm-cli: 16f877a has no WRT value 'all'; values: 0000-1FFF"},
        CliCase{"-d 16f84 config decode 3FF3 3FFF", 2,
                "tolm-cli: 16f84 has no second configuration word"},
        CliCase{"-d 16f84 config2 read", 2, "tolm-cli: 16f84 has no second configuration word"},
        CliCase{"-d 16f887 config2 write 4000", 2, "tolm-cli: WORD: '4000' is not"},
        CliCase{"devices --check", 2, "tolm-cli: devices --check takes one FILE or more"},
        CliCase{"devices --show 16f87", 2, "tolm-cli: unknown device '16f87'"},
        CliCase{"frobnicate", 2, "tolm-cli: unknown command 'frobnicate'"}));

TEST(CliDevices, ListsTheSelectorOrderWithSizesAndMethods)
{
    QTemporaryDir config;
    const CliRun run = RunCli({"devices"}, config.path());
    ASSERT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 53);
    EXPECT_TRUE(lines.first().startsWith("12c508 ")) << lines.first().toStdString();
    EXPECT_TRUE(lines[29].startsWith("16f876 "));
    const QStringList f84 = lines[27].simplified().split(' ');
    EXPECT_EQ(f84, QStringList({"16f84", "14-bit-flash", "03FF", "3F", "parallel,serial"}));
    const QStringList c54 = lines[3].simplified().split(' ');
    EXPECT_EQ(c54, QStringList({"16c54", "16C5x", "01FF", "-", "parallel"}));
}

// The parts not yet confirmed on a real chip, and only those, carry the mark; the 16f87 and
// 16f88 are named as not offered, with the reason.
TEST(CliDevices, MarksTheUnconfirmedPartsAndSaysWhyTwoAreNotOffered)
{
    QTemporaryDir config;
    const CliRun run = RunCli({"devices"}, config.path());
    ASSERT_EQ(run.exitCode, 0);
    int unconfirmed = 0;
    for (const QString &line : run.out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList columns = line.simplified().split(' ');
        const bool marked = columns.last() == "unconfirmed";
        unconfirmed += marked ? 1 : 0;
        // The 30 parts of old are confirmed; the 23 added ones are not yet.
        EXPECT_EQ(marked, columns.size() == 6) << line.toStdString();
    }
    EXPECT_EQ(unconfirmed, 23);
    EXPECT_TRUE(run.err.contains("16f87 and 16f88 are not offered")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("End Programming")) << run.err.toStdString();
}

// --show prints a definition that --check takes back without a word once it is renamed (under
// its own name it would collide with nothing, as a user's file replaces the shipped part); a
// broken file is named with line and column and gives exit 2.
TEST(CliDevices, ShowGivesAFileThatPassesCheckAndCheckNamesWhereAFileBreaks)
{
    QTemporaryDir dir;
    for (const char *name : {"16f877a", "12f675", "16f887", "16c54"}) {
        SCOPED_TRACE(name);
        const CliRun shown = RunCli({"devices", "--show", name}, dir.path());
        ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
        EXPECT_TRUE(shown.out.startsWith(QStringLiteral("name = \"%1\"").arg(name)));
        QFile file(dir.filePath(QStringLiteral("%1.toml").arg(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(shown.out.toUtf8());
        file.close();
        const CliRun checked = RunCli({"devices", "--check", file.fileName()}, dir.path());
        EXPECT_EQ(checked.exitCode, 0) << checked.out.toStdString();
    }
    QFile broken(dir.filePath("broken.toml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("name = \"mine\"\nalgorithm = \"flash14\"\nmethods = [\"serial\"]\n"
                 "program_words = 9000\n");
    broken.close();
    const CliRun checked = RunCli({"devices", "--check", broken.fileName()}, dir.path());
    EXPECT_EQ(checked.exitCode, 2);
    EXPECT_TRUE(checked.out.contains("broken.toml:")) << checked.out.toStdString();
}

// A user's file of a shipped part's name replaces it and is marked; confirmed there, the part
// loses the unconfirmed mark.
TEST(CliDevices, AUserFileThatReplacesAShippedPartIsMarked)
{
    QTemporaryDir config;
    const CliRun shown = RunCli({"devices", "--show", "16f84a"}, config.path());
    ASSERT_EQ(shown.exitCode, 0);
    QDir().mkpath(config.filePath("data/tolm/devices"));
    QFile file(config.filePath("data/tolm/devices/16f84a.toml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(shown.out.toUtf8().replace("confirmed_on_hardware = false",
                                          "confirmed_on_hardware = true"));
    file.close();
    const CliRun run = RunCli({"devices"}, config.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [](const QString &l) { return l.startsWith("16f84a "); });
    ASSERT_NE(line, lines.end());
    EXPECT_EQ(line->simplified().split(' ').mid(5), QStringList{"override"});
}

TEST(CliDevices, DefaultDeviceComesFromTheSettingsFile)
{
    QTemporaryDir config;
    QFile ini(config.path() + "/VIRIVI.INI");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[main]\r\npicdevice=16c54\r\n");
    ini.close();
    EXPECT_EQ(RunCli({"config", "build"}, config.path()).out, "0FFB\n");
    // A name the catalogue does not know falls back to the 16c84 (power-up timer active high).
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Main]\nPicDevice=16x99\n");
    ini.close();
    EXPECT_EQ(RunCli({"config", "build"}, config.path()).out, "3FF3\n");
}

} // namespace
