#include "CliProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A file as the GNU PIC assembler writes it for a 16f84: LF line ends, an INHX32 address
// record first, ID locations at byte 4000, configuration at 400E, data EEPROM at 4200.
const QString kGpasmSample = QStringLiteral(HEX_SAMPLE_DIR "/gpasm-16f84.hex");

class CliHexFile : public testing::Test
{
protected:
    // tolm-cli with its own settings folder, so a developer's settings cannot leak in.
    CliRun Run(const QStringList &args)
    {
        const CliRun run = RunTolmCli(QStringLiteral(TOLM_CLI_PATH), args,
                                      m_dir.filePath(QStringLiteral("config")));
        EXPECT_NE(run.exitCode, -1) << args.join(' ').toStdString();
        return run;
    }

    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QString Write(const char *name, const QByteArray &text) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    QByteArray Read(const char *name) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

TEST_F(CliHexFile, ShowLoadsAnAssemblerFileInFull)
{
    const CliRun r = Run({"-d", "16f84", "show", kGpasmSample});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 128 + 8 + 3) << r.out.toStdString(); // 03FF words, 3F bytes
    EXPECT_EQ(lines[0], "prog 0000: 1683 0186 1283 3055 0086 0986 2805 0000");
    EXPECT_EQ(lines[1], "prog 0008: 0000 2805 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(lines[127], "prog 03F8: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(lines[128], "data 00: 11 22 33 44 FF FF FF FF");
    EXPECT_EQ(lines[135], "data 38: FF FF FF FF FF FF FF FF");
    EXPECT_EQ(lines[136], "config 3FF1");
    EXPECT_EQ(lines[137], "id 5A0F");
    // Summed by hand: the ten words of the program, 1014 blank words 3FFF and 3FF1.
    EXPECT_EQ(lines[138], "checksum=70F2");
    EXPECT_EQ(r.err.trimmed(), "File loaded successfully");
}

// The checksum covers the device's whole program memory and the configuration word as Write
// would program it, whatever the targets and ranges printed; ID code and data stay out.
TEST_F(CliHexFile, ShowPrintsTheImageChecksum)
{
    Write("blank.hex", ":02400E00FF3F72\n:00000001FF\n");
    Write("id.hex", ":02400E00FF3F72\n:084000000100020003000400AE\n:00000001FF\n");
    Write("blank12.hex", ":021FFE00FF0FD3\n:00000001FF\n"); // configuration word 0FFF
    const struct
    {
        QStringList args;
        const char *checksum;
    } cases[] = {
        // Every word and the configuration word 3FFF: 1025 x 3FFF.
        {{"-d", "16f84", "show", Path("blank.hex")}, "checksum=3BFF"},
        {{"-d", "16f84", "--prog-range", "0000-0001", "show", Path("blank.hex")}, "checksum=3BFF"},
        {{"-d", "16f84", "show", Path("id.hex")}, "checksum=3BFF"},
        // A 12-bit core: 512 words of 0FFF, and of the configuration word only the five bits
        // its controls use (oscillator, watchdog, protection, MCLR): 1FFE00 + 1F.
        {{"-d", "12c508", "show", Path("blank12.hex")}, "checksum=FE1F"},
    };
    for (const auto &c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.endsWith(QString::fromLatin1(c.checksum) + "\n"))
            << c.args.join(' ').toStdString() << ": " << r.out.right(40).toStdString();
    }
}

// A 16F88X file's second configuration word is shown and counted with its implemented bits:
// the blank chip's published sum less the BOR4V bit cleared.
TEST_F(CliHexFile, ShowPrintsAndSumsTheSecondConfigurationWord)
{
    Write("two.hex", ":02400E00FF3F72\n:02401000FF3E71\n:00000001FF\n");
    const CliRun r = Run({"-d", "16f887", "-t", "config", "show", Path("two.hex")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "config 3FFF\nconfig2 3EFF\nchecksum=25FF\n");
}

TEST_F(CliHexFile, ShowPrintsOnlyTheTargetsAndRangesAsked)
{
    const CliRun r =
        Run({"-d", "16f84", "-t", "PROG,id", "--prog-range", "0004-000A", "show", kGpasmSample});
    EXPECT_EQ(r.exitCode, 0);
    // The configuration word was not asked for: the checksum counts the one the controls give
    // right after the device is picked (3FFB).
    EXPECT_EQ(r.out, "prog 0004: 0086 0986 2805 0000 0000 2805 3FFF\nid 5A0F\nchecksum=70FC\n");
}

TEST_F(CliHexFile, ConvertWritesTheLoadedImageOverTheRanges)
{
    const CliRun r = Run({"-d", "16f84", "--prog-range", "0000-0009", "--data-range", "00-03",
                          "convert", kGpasmSample, Path("out.hex")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(Read("out.hex"), ":100000008316860183125530860086090528000074\r\n"
                               ":0400100000000528BF\r\n"
                               ":0842000011002200330044000C\r\n"
                               ":02400E00F13F80\r\n"
                               ":0840000005000A0000000F009A\r\n"
                               ":00000001FF\r\n");
}

TEST_F(CliHexFile, ConvertBuildsTheConfigurationWordThroughTheControls)
{
    // 16c84 word 0003: protection "All", whose base word sets bits 6-5.
    Write("in.hex", ":02400E000300AD\n:00000001FF\n");
    const CliRun r =
        Run({"-d", "16c84", "-t", "config", "convert", Path("in.hex"), Path("out.hex")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(Read("out.hex"), ":02400E0063004D\r\n:00000001FF\r\n");
}

TEST_F(CliHexFile, MissingRecordsAndDamagedLinesAreWarnings)
{
    // show keeps going with warnings; convert refuses such a file (CliRefusalTest).
    Write("in.hex", ":020000000100FD\n:020002000200F0\n:00000001FF\n");
    const CliRun r = Run({"-d", "16f84", "--prog-range", "0000-0001", "show", Path("in.hex")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "warning: <Data> <Configuration> <ID Code> Records NOT found\n"
                     "warning: Reading stopped at line 2: the checksum does not add up "
                     "(checksum F0, should be FA). The records after it were not loaded.\n");
    EXPECT_TRUE(r.out.startsWith("prog 0000: 0001 3FFF\n")) << r.out.toStdString();
}

TEST_F(CliHexFile, ExitCodesTellFileAndUsageErrorsApart)
{
    Write("in.hex", ":00000001FF\n");
    Write("kept.hex", "old contents\n");
    struct Case
    {
        QStringList args;
        int exitCode;
    };
    const Case cases[] = {
        {{"-d", "16f84", "show", Path("missing.hex")}, 3},
        {{"-d", "16f84", "convert", Path("missing.hex"), Path("kept.hex")}, 3},
        {{"-d", "16f84", "convert", Path("in.hex"), Path("no/such/dir/out.hex")}, 3},
        {{"-d", "16f84", "--prog-range", "0000-12 4", "convert", Path("in.hex"), Path("kept.hex")},
         2},
        {{"-d", "16f84", "--data-range", "003F", "show", Path("in.hex")}, 2},
        {{"-d", "16c54", "-t", "data", "show", Path("in.hex")}, 2},
        {{"-d", "16f84", "-t", "prog,eeprom", "show", Path("in.hex")}, 2},
        {{"-d", "16f84", "convert", Path("in.hex")}, 2},
        {{"-d", "16F84", "show", Path("in.hex")}, 2},
    };
    for (const Case &c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(Read("kept.hex"), "old contents\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
