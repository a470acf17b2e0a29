// What tolm-cli refuses, with which exit code and message, and that a refused or failed
// convert never touches OUT.
#include "CliProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QByteArray kKept = "old contents\n";
const QString kGpasmSample = QStringLiteral(HEX_SAMPLE_DIR "/gpasm-16f84.hex");

class CliRefusal : public testing::Test
{
protected:
    void SetUp() override
    {
        Write("good.hex", ":020000000100FD\n:00000001FF\n");
        // The program record after the damaged line would be lost without a word.
        Write("damaged.hex", ":020000000100FD\n:020002000200F0\n:020004000300F7\n:00000001FF\n");
        // Records only above 64 KiB: nothing for any target of a PIC.
        Write("foreign.hex", ":020000040001F9\n:020000000900F5\n:00000001FF\n");
        // Word 0400 lies beyond a 16f84's program memory.
        Write("outside.hex", ":020000000100FD\n:020800000500F1\n:00000001FF\n");
        Write("kept.hex", kKept);
        ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.hex")).constData(), 0600), 0);
    }

    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    void Write(const char *name, const QByteArray &text) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray Kept() const
    {
        QFile file(Path("kept.hex"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

TEST_F(CliRefusal, BadValuesAndIncompleteFilesAreRefusedWithTheirExitCodes)
{
    struct Case
    {
        QStringList args;
        int exitCode;
        const char *message; // a part of stderr
    };
    const QString good = Path("good.hex");
    const QString kept = Path("kept.hex");
    const Case cases[] = {
        {{"-m", "bogus", "devices"}, 2, "unknown method 'bogus'; use parallel or serial"},
        {{"devices", "--on-write-error", "bogus"}, 2, "unknown --on-write-error answer 'bogus'"},
        {{"--on-write-error", "retry=0", "show", good}, 2, "retry=N (N from 1 to 1000)"},
        {{"-d", "16f84", "--prog-range", "FFFF-0000", "show", good},
         2,
         "--prog-range FFFF-0000 is reversed: it starts above its end; the 16f84's program "
         "memory is 0000-03FF"},
        {{"-d", "16f84", "--prog-range", "0000-0400", "convert", good, kept},
         2,
         "--prog-range 0000-0400 reaches beyond the device's memory; the 16f84's program memory "
         "is 0000-03FF"},
        {{"-d", "16f877", "--data-range", "00-100", "devices"}, 2, "data memory is 00-FF"},
        {{"-d", "16c54", "--data-range", "00-0F", "show", good}, 2, "the 16c54 has no data memory"},
        {{"-d", "16f84", "--data-range", "3F", "show", good}, 2, "takes SS-EE in hexadecimal"},
        {{"-d", "16f84", "convert", Path("damaged.hex"), kept},
         3,
         "damaged.hex: line 2: the checksum does not add up (checksum F0, should be FA); the "
         "file was read only in part, refusing to use it"},
        {{"-d", "16f84", "convert", Path("foreign.hex"), kept},
         3,
         "it holds no record for any of the targets; refusing to use it"},
        {{"-d", "16f84", "-t", "data", "convert", good, kept}, 3, "no record for any"},
        {{"-d", "16f84", "convert", good, Path("fifo.hex")}, 3, "not a regular file but a FIFO"},
        {{"-d", "16f84", "-m", "SERIAL", "--on-write-error", "Retry=3", "show", good}, 0, ""},
        {{"-d", "16f84", "show", Path("damaged.hex")}, 0, "warning: Reading stopped at line 2"},
        // A converted file only lacks what the device has no place for: a warning, no refusal.
        {{"-d", "16f84", "convert", Path("outside.hex"), Path("converted.hex")},
         0,
         "warning: 1 word at 0400 lies beyond the 16f84's program memory (0000-03FF) and was "
         "left out"},
        {{"-d", "16f84", "show", Path("outside.hex")}, 0, "warning: 1 word at 0400 lies beyond"},
        // A chip would not hold what the file means: refused before any port is opened.
        {{"-d", "16f84", "-p", Path("no-such-port"), "verify", Path("outside.hex")},
         3,
         "records that lie outside the 16f84 were left out (see the warnings above); refusing "
         "to use it unless --skip-outside is given"},
    };
    for (const Case &c : cases) {
        const CliRun r =
            RunTolmCli(QStringLiteral(TOLM_CLI_PATH), c.args, m_dir.filePath("config"));
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << args << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << args << "\n"
                                                                  << r.err.toStdString();
    }
    EXPECT_EQ(Kept(), kKept);
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("fifo.hex")).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(CliRefusal, AConvertOntoAFullDiskExitsThreeAndKeepsTheOldFile)
{
    // The converted sample takes about 5.7 kB: no room at all, or room cut inside a record.
    for (const rlim_t room : {rlim_t{0}, rlim_t{4096}}) {
        QProcess process;
        process.setProcessEnvironment(TolmCliEnvironment(m_dir.filePath("config")));
        // A file size limit is how a full disk looks to the writer, without root.
        process.setChildProcessModifier([room] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{room, room};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QStringLiteral(TOLM_CLI_PATH),
                      {"-d", "16f84", "convert", kGpasmSample, Path("kept.hex")});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), 3) << room << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(std::strerror(EFBIG))))
            << room << ": " << err.toStdString();
        EXPECT_EQ(Kept(), kKept) << room;
    }
}

} // namespace
