#include "CliProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
