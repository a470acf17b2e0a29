// What reaches the chip from an input file. A file the reader stopped on, one that gives no
// record for the targets, one from which records were left out (unless --skip-outside), or
// one whose records give an address two values (unless --allow-conflicts) is refused before
// the port is opened: nothing reaches the module and the chip keeps what it
// held. Files that only look different (lower case, a byte-order mark, blanks) write as the
// words they stand for.
#include "ChipCliFixture.h"
#include "HexLines.h"

#include "cli/options/ConfigControlOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

namespace {

QByteArray Sample(const char *name)
{
    QFile file(QStringLiteral(CHIP_SAMPLE_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// Twelve lines of eight program words each; line `damaged` has its checksum one too high.
QByteArray DamagedAtLine(int damaged)
{
    QByteArray file;
    for (int line = 1; line <= 12; ++line) {
        const auto w = static_cast<std::uint16_t>(0x0100 * line);
        QByteArray record = HexWords(static_cast<std::uint32_t>(8 * (line - 1)),
                                     {w, w, w, w, w, w, w, static_cast<std::uint16_t>(w + 1)});
        if (line == damaged) {
            const int checksum = record.mid(record.size() - 3, 2).toInt(nullptr, 16);
            record.replace(
                record.size() - 3, 2,
                QByteArray::number((checksum + 1) & 0xFF, 16).rightJustified(2, '0').toUpper());
        }
        file += record;
    }
    return file + kHexEndLine;
}

// Every line moved in by blanks and followed by some, the whole behind a UTF-8 byte-order mark.
QByteArray WithBomAndBlanks(const QByteArray &file)
{
    QByteArray out = "\xEF\xBB\xBF";
    for (const QByteArray &line : file.split('\n')) {
        if (!line.isEmpty())
            out += " \t " + line + " \t\r\n";
    }
    return out;
}

QByteArray Binary()
{
    QByteArray bytes;
    for (int i = 0; i < 1024; ++i)
        bytes.append(static_cast<char>(i & 0xFF));
    return bytes;
}

// What the chip holds after a command that may write.
struct Written
{
    QStringList words; // program words from 0000; none: untouched, and nothing was sent
    int configWord;    // the configuration word as the file gives it
    bool verifies;     // a verify of the same file then passes
};

struct InputCase
{
    const char *what;
    const char *device;
    QByteArray file;     // becomes IN
    const char *path;    // or IN as it stands
    QStringList command; // the command and its options; IN follows
    int exitCode;
    const char *message; // a part of stderr
    Written written;
};

TEST_F(ChipCli, OnlyAFileReadWholeAndInsideTheDeviceReachesTheChip)
{
    const QByteArray letters = Sample("letters-16f84.hex");
    const QByteArray far = Sample("far-16f628.hex");
    const QStringList letterWords = {"30AB", "008C", "30CD", "008D",
                                     "098C", "0B8D", "2800", "34EF"};
    const QStringList write = {"write"};
    const InputCase cases[] = {
        {"a binary file",
         "16f84",
         Binary(),
         nullptr,
         write,
         3,
         "line 1: the byte 01 at column 2 is not a hexadecimal digit; the file was read only "
         "in part, refusing to use it",
         {}},
        {"an empty file",
         "16f84",
         "",
         nullptr,
         write,
         3,
         "it holds no record for any of the targets; refusing to use it",
         {}},
        {"a checksum error on line 1",
         "16f84",
         DamagedAtLine(1),
         nullptr,
         write,
         3,
         "line 1: the checksum does not add up (checksum E8, should be E7)",
         {}},
        {"a checksum error on line 11",
         "16f84",
         DamagedAtLine(11),
         nullptr,
         write,
         3,
         "line 11: the checksum does not add up",
         {}},
        {"verify of a damaged file",
         "16f84",
         DamagedAtLine(11),
         nullptr,
         {"verify"},
         3,
         "line 11: the checksum does not add up",
         {}},
        {"a damaged file with --skip-outside",
         "16f84",
         DamagedAtLine(1),
         nullptr,
         {"write", "--skip-outside"},
         3,
         "the file was read only in part",
         {}},
        {"/dev/zero",
         "16f84",
         {},
         "/dev/zero",
         write,
         3,
         "line 1: the line is longer than any record",
         {}},
        {"records beyond program memory",
         "16f84",
         far,
         nullptr,
         write,
         3,
         "warning: 8 words at 0400-0407 lie beyond the 16f84's program memory (0000-03FF) and "
         "were left out\ntolm-cli: ",
         {}},
        {"the same with --skip-outside",
         "16f84",
         far,
         nullptr,
         {"write", "--skip-outside"},
         0,
         "warning: 8 words at 0400-0407 lie beyond the 16f84's program memory",
         {{"2C00", "3FFF"}, 0x3F10, false}},
        {"a record of type 09",
         "16f84",
         HexWords(0, {1}) + HexLine(0, 9, HexBytes({1, 2})) + letters,
         nullptr,
         write,
         3,
         "the record on line 2 has type 09, which no Intel HEX dialect defines, and was left "
         "out",
         {}},
        {"a configuration word wider than the device",
         "16c54",
         HexWords(0, {0x0CAB}) + HexWords(0x0FFF, {0x5123}) + kHexEndLine,
         nullptr,
         write,
         3,
         "configuration word 5123 on line 2 has bits beyond the 16c54's 12-bit configuration "
         "word and was left out",
         {}},
        {"a configuration word padded with ones",
         "16c54",
         HexWords(0, {0x0CAB}) + HexWords(0x0FFF, {0xFFF9}) + kHexEndLine,
         nullptr,
         write,
         0,
         "",
         {{"0CAB", "0FFF"}, 0x0FF9, true}},
        {"two configuration words",
         "16f84",
         HexWords(0, {0x30AB}) + ":02400E00F13F80\n:02400E000000B0\n" + kHexEndLine,
         nullptr,
         write,
         3,
         "warning: the configuration word is given twice: 3FF1 at line 2, 0000 at line 3\n"
         "tolm-cli: ",
         {}},
        {"verify of conflicting records",
         "16f84",
         HexWords(0, {0x3001}) + letters,
         nullptr,
         {"verify"},
         3,
         "refusing to use it unless --allow-conflicts is given",
         {}},
        {"conflicting records with --allow-conflicts",
         "16f84",
         HexWords(0, {0x3001}) + letters,
         nullptr,
         {"write", "--allow-conflicts"},
         0,
         "warning: program word 0000 is given twice: 3001 at line 1, 30AB at line 3",
         {letterWords, 0x3FF2, false}},
        {"a lower-case file",
         "16f84",
         letters.toLower(),
         nullptr,
         write,
         0,
         "",
         {letterWords, 0x3FF2, true}},
        {"a byte-order mark and blanks",
         "16f84",
         WithBomAndBlanks(letters),
         nullptr,
         write,
         0,
         "",
         {letterWords, 0x3FF2, true}},
    };
    const QStringList range = {"-t", "prog,config", "--prog-range", "0000-001F"};
    for (const InputCase &c : cases) {
        SCOPED_TRACE(c.what);
        // The chip holds an earlier program (a blank one on the EPROM part), which a refused
        // file must leave as it is.
        m_device = *FindDevice(QString::fromLatin1(c.device));
        auto before = std::make_unique<MemoryImage>();
        MakeBlankImage(*before, m_device, BlankWord(m_device));
        if (m_device.DeviceFamily == DeviceFamily::kFlash14Bit)
            PutProgram(*before, m_device, 0x20, 0x1000, 1);
        const QString chipIn = Save("chip-in.hex", *before);
        StartChip(c.device, {}, chipIn);
        if (HasFatalFailure())
            return;
        const QString in = c.path ? QString::fromLatin1(c.path) : Path("in.hex");
        if (!c.path) {
            QFile file(in);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.file);
        }

        const CliRun run = Cli(range + c.command + QStringList{in});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        if (c.written.verifies) {
            const CliRun verify = Cli(range + QStringList{"verify", in});
            EXPECT_EQ(verify.exitCode, 0) << verify.out.toStdString() << verify.err.toStdString();
            EXPECT_EQ(verify.out, "");
        }
        EXPECT_EQ(TranscriptLines().isEmpty(), c.written.words.isEmpty());

        const auto chip = StopAndLoadChip();
        const auto old = Load(chipIn);
        const int last = ProgMaxAddress(m_device);
        if (c.written.words.isEmpty()) {
            int a = 0;
            while (a <= last && chip->GetProgramWordText(a) == old->GetProgramWordText(a))
                ++a;
            EXPECT_GT(a, last) << "the chip's word " << a << " changed";
            EXPECT_EQ(chip->ConfigWord, old->ConfigWord);
            continue;
        }
        for (int a = 0; a < c.written.words.size(); ++a)
            EXPECT_EQ(chip->GetProgramWordText(a), c.written.words[a]) << a;
        EXPECT_EQ(chip->ConfigWord,
                  ConfigWordThroughControls(
                      m_device, static_cast<std::uint16_t>(c.written.configWord), true));
    }
}

} // namespace
