// A file as an assembler makes it, for one part of each newer algorithm: gpasm assembles a small
// program with its configuration word(s), ID locations and data, tolm-cli writes it to the
// simulated chip, verifies it, reads it back, and the read file holds what gpasm put in.
#include "ChipCliFixture.h"

#include <QProcess>

namespace {

struct Assembled
{
    const char *device;
    const char *source; // after the processor line
    bool vppWarning;    // the configuration asks for Vpp before Vdd
};

const char kProgram[] = "    org 0\n"
                        "    movlw 0x55\n"
                        "    movwf 0x20\n"
                        "    call 0x10\n"
                        "    goto 0\n"
                        "    org 0x10\n"
                        "    retlw 0x42\n"
                        "    org 0x2100\n"
                        "    de 1, 2, 3\n";

class ChipAssembler : public ChipCli, public testing::WithParamInterface<Assembled>
{
protected:
    // gpasm's hex file of the source, or an empty path when it fails.
    QString Assemble(const Assembled &c)
    {
        QFile source(Path("in.asm"));
        EXPECT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(QByteArray("    processor ") + c.device + "\n" + c.source + kProgram +
                     "    end\n");
        source.close();
        QProcess gpasm;
        gpasm.start(QStringLiteral("gpasm"), {"-o", Path("in.hex"), Path("in.asm")});
        if (!gpasm.waitForFinished(20000) || gpasm.exitCode() != 0) {
            ADD_FAILURE() << "gpasm: " << gpasm.readAllStandardError().toStdString()
                          << gpasm.readAllStandardOutput().toStdString();
            return {};
        }
        return Path("in.hex");
    }
};

TEST_P(ChipAssembler, WriteVerifyReadBackGivesTheAssembledImage)
{
    const Assembled &c = GetParam();
    StartChip(c.device);
    const QString in = Assemble(c);
    ASSERT_FALSE(in.isEmpty());
    const QStringList ranges = {"--prog-range", "0000-001F", "--data-range", "00-07"};

    const CliRun write = Cli(ranges + QStringList{"write", in});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    // The one warning a run for a part not yet confirmed on a real chip.
    EXPECT_EQ(write.err.count("not yet been confirmed"), 1) << write.err.toStdString();
    EXPECT_EQ(write.err.contains("Vpp before Vdd"), c.vppWarning) << write.err.toStdString();
    const CliRun verify = Cli(ranges + QStringList{"verify", in});
    EXPECT_EQ(verify.exitCode, 0) << verify.err.toStdString() << verify.out.toStdString();
    const CliRun read = Cli(ranges + QStringList{"read", Path("out.hex")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();

    const auto want = Load(in);
    const auto got = Load(Path("out.hex"));
    for (int a = 0; a < 0x20; ++a)
        EXPECT_EQ(got->GetProgramWordText(a), want->GetProgramWordText(a)) << a;
    for (int a = 0; a < 8; ++a)
        EXPECT_EQ(got->GetDataByteText(a), want->GetDataByteText(a)) << a;
    EXPECT_EQ(got->IDCodeText, want->IDCodeText);
    // The chip's band-gap bits and unimplemented bits are its own; the rest is the file's.
    const std::uint16_t mask = ConfigCompareMask(m_device);
    EXPECT_EQ(got->ConfigWord & mask, want->ConfigWord & mask);
    const std::uint16_t second = SecondConfigImplemented(m_device);
    EXPECT_EQ(got->SecondConfigWord & second, want->SecondConfigWord & second);
}

INSTANTIATE_TEST_SUITE_P(
    OnePartOfEachAlgorithm, ChipAssembler,
    testing::Values(
        // Code 8 erases and writes one word.
        Assembled{"16f84a", "    __config 0x3FF1\n    __idlocs 0x1234\n", false},
        // Bulk erase, program-only words, a calibration word at 2008 left alone.
        Assembled{"12f683", "    __config 0x3FE4\n    __idlocs 0x2345\n", false},
        // OSCCAL and band-gap bits kept; the file's band-gap bits (00) never reach the chip.
        Assembled{"12f675", "    __config 0x01E4\n    __idlocs 0x3456\n", true},
        // Aligned 8-word blocks.
        Assembled{"16f877a", "    __config 0x3F71\n    __idlocs 0x4567\n", false},
        // A second configuration word; MCLR off with the internal oscillator.
        Assembled{"16f887",
                  "    __config 0x2007, 0x2FD4\n    __config 0x2008, 0x3EFF\n"
                  "    __idlocs 0x5678\n",
                  true}),
    [](const auto &param) { return std::string(param.param.device); });

} // namespace
