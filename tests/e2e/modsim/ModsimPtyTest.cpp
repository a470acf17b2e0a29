// tolm-modsim end to end: the executable on a pseudo-terminal, raw bytes through its link.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Runs tolm-modsim with the given arguments, stdout on a pipe.
class Modsim
{
public:
    explicit Modsim(const std::vector<std::string> &args)
    {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char *> argv{const_cast<char *>(TOLM_MODSIM_PATH)};
            for (const std::string &a : args) {
                argv.push_back(const_cast<char *>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(TOLM_MODSIM_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_stdout = out[0];
    }
    ~Modsim()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_stdout >= 0) {
            ::close(m_stdout);
        }
    }

    // Everything written to stdout up to the first newline (or the end), within 5 s.
    std::string FirstLine()
    {
        std::string line;
        char c;
        while (Readable(m_stdout, 5000) && ::read(m_stdout, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }
    std::string AllOutput()
    {
        std::string text;
        char buffer[512];
        ssize_t n;
        while (Readable(m_stdout, 5000) && (n = ::read(m_stdout, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
    // Sends the signal and returns the exit status (or -1).
    int Stop(int signal = SIGTERM)
    {
        ::kill(m_pid, signal);
        return Wait();
    }
    int Wait()
    {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static bool Readable(int fd, int timeoutMs)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) == 1;
    }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
};

// The host's end: the link opened in raw mode.
class Line
{
public:
    explicit Line(const std::string &path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY))
    {
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    bool IsOpen() const { return m_fd >= 0; }

    // Writes the bytes and collects the answer until `expected` bytes came or 1 s passed.
    Bytes Exchange(const Bytes &out, size_t expected)
    {
        if (::write(m_fd, out.data(), out.size()) != static_cast<ssize_t>(out.size())) {
            return {};
        }
        Bytes in;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (in.size() < expected && std::chrono::steady_clock::now() < end) {
            uint8_t buffer[64];
            if (Modsim::Readable(m_fd, 100)) {
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                if (n > 0) {
                    in.insert(in.end(), buffer, buffer + n);
                }
            }
        }
        return in;
    }

private:
    int m_fd;
};

class ModsimPtyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tolm-modsim-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        for (const char *name : {"/link", "/chip.hex", "/transcript"}) {
            ::unlink((m_dir + name).c_str());
        }
        ::rmdir(m_dir.c_str());
    }
    std::string m_dir;
};

const Bytes kAck{0x20};

TEST_F(ModsimPtyTest, WritesAndReadsAWordThroughThePseudoTerminal)
{
    const std::string link = m_dir + "/link";
    const std::string chipOut = m_dir + "/chip.hex";
    Modsim modsim({"--device", "16f84", "--link", link, "--chip-out", chipOut, "--transcript",
                   m_dir + "/transcript"});
    const std::string slave = modsim.FirstLine();
    ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(slave, target);
    {
        Line line(link);
        ASSERT_TRUE(line.IsOpen());
        EXPECT_EQ(line.Exchange({0x07}, 1), kAck);
        EXPECT_EQ(line.Exchange({0x05, 'C', '0', '0', '1', '4', 'F'}, 1), kAck);
        EXPECT_EQ(line.Exchange({0x09}, 1), kAck);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(line.Exchange({0x01, '6'}, 1), kAck);
        }
        EXPECT_EQ(line.Exchange({0x01, '2'}, 1), kAck);
        // 0x1234 in the normal form: t = 0x2468, sent N0 "0" N1 "0" N2 N3.
        EXPECT_EQ(line.Exchange({0x03, '8', '0', '6', '0', '4', '2'}, 1), kAck);
        EXPECT_EQ(line.Exchange({0x01, '8'}, 1), kAck);
        EXPECT_EQ(line.Exchange({0x01, '4'}, 1), kAck);
        EXPECT_EQ(line.Exchange({0x02}, 5), (Bytes{'8', '6', '4', '2', 0x20}));
    }
    {
        // The host closes the port and opens it again: the simulator is still there.
        Line again(link);
        EXPECT_EQ(again.Exchange({0x06}, 2), (Bytes{0xAA, 0x20}));
        EXPECT_EQ(again.Exchange({0x07}, 1), kAck);
    }
    EXPECT_EQ(modsim.Stop(SIGTERM), 0);

    struct stat info
    {
    };
    EXPECT_NE(::lstat(link.c_str(), &info), 0) << "the link is removed at the end";
    std::ifstream in(chipOut);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().substr(0, 25), ":10000000FF3FFF3FFF3F3412") << text.str().substr(0, 200);
    std::ifstream transcript(m_dir + "/transcript");
    std::string first;
    std::getline(transcript, first);
    EXPECT_EQ(first, "07 -> 20");
}

TEST_F(ModsimPtyTest, LoadsTheChipFromAFileAndServesFaults)
{
    const std::string link = m_dir + "/link";
    const std::string chip = m_dir + "/chip.hex";
    std::ofstream(chip) << ":02000000CDAB86\r\n:00000001FF\r\n";
    Modsim modsim({"--device", "16f84", "--link", link, "--chip-in", chip, "--identify-byte", "55",
                   "--wrong-ack-at", "4"});
    ASSERT_FALSE(modsim.FirstLine().empty());
    {
        Line line(link);
        EXPECT_EQ(line.Exchange({0x06}, 2), (Bytes{0x55, 0x20}));
        EXPECT_EQ(line.Exchange({0x09, 0x01, 'A'}, 2), (Bytes{0x20, 0x20}));
        EXPECT_EQ(line.Exchange({0x0B}, 5), (Bytes{'D', '0', 'F', 'A', 0x21})); // ABCD held as 2BCD
    }
    EXPECT_EQ(modsim.Stop(SIGINT), 0);
}

TEST_F(ModsimPtyTest, RealTimeTakesABurstAtTheLinesPaceAndWritesDownTheChipsTime)
{
    const std::string link = m_dir + "/link";
    const std::string transcriptPath = m_dir + "/transcript";
    Modsim modsim({"--device", "16f84", "--link", link, "--realtime", "--transcript",
                   transcriptPath, "--transcript-chip-time"});
    ASSERT_FALSE(modsim.FirstLine().empty());
    {
        Line line(link);
        ASSERT_TRUE(line.IsOpen());
        // Twenty power-off commands written at once: the terminal holds them and the line
        // carries one per byte time; every one is answered, none lost or doubled.
        constexpr int kBurst = 20;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(line.Exchange(Bytes(kBurst, 0x07), kBurst), Bytes(kBurst, 0x20));
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_GE(elapsed, kBurst * std::chrono::microseconds(1041));

        EXPECT_EQ(line.Exchange({0x09, 0x01, 'A'}, 2), (Bytes{0x20, 0x20}));
        EXPECT_EQ(line.Exchange({0x10, '4', '8', '3', '0', '4', '0'}, 1), kAck); // 0x1234
    }
    EXPECT_EQ(modsim.Stop(SIGTERM), 0);
    std::ifstream transcript(transcriptPath);
    std::vector<std::string> lines;
    for (std::string l; std::getline(transcript, l);) {
        lines.push_back(l);
    }
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[19], "07 -> 20");
    EXPECT_EQ(lines[21], "01 41 -> 20") << "no chip time: the line stays as it was";
    EXPECT_EQ(lines[22], "10 34 38 33 30 34 30 -> 20; chip 20000 us") << "one flash cycle";
}

TEST(ModsimCommandLineTest, ListDevicesNamesEveryChipWithItsSizesAndAlgorithm)
{
    Modsim list({"--list-devices"});
    const std::string text = list.AllOutput();
    EXPECT_EQ(list.Wait(), 0);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 54) << "a heading and 53 chips";
    for (const char *line : {"chip      program-words  data-bytes  algorithm\n",
                             "\n16c54               512           0  eprom-12bit-module\n",
                             "\n12f675             1024         128  flash-osccal-bandgap\n",
                             "\n16f877a            8192         256  flash-8-word-block\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

// A user's part in the device catalogue's format, in a file of its own.
class ModsimPartFileTest : public ModsimPtyTest
{
protected:
    std::string WritePart(const std::string &name, const std::string &extra)
    {
        const std::string path = m_dir + "/chip.hex"; // a name TearDown removes
        std::ofstream(path) << "name = \"" << name << "\"\nalgorithm = \"flash14\"\n"
                            << "methods = [\"serial\"]\nprogram_words = 2048\n"
                            << extra << "\n[id_locations]\naddress = 0x2000\nused_bits = 0xF\n"
                            << "[[config]]\naddress = 0x2007\nimplemented = 0x3FFF\n"
                            << "blank = 0x3FFF\nfields = []\n";
        return path;
    }
};

TEST_F(ModsimPartFileTest, ListsAndServesAUsersPart)
{
    const std::string file = WritePart("16f84a", "device_id = 0x3FA0\nrevision_mask = 0x1F");
    Modsim list({"--part-file", file, "--list-devices"});
    const std::string listing = list.AllOutput();
    EXPECT_EQ(list.Wait(), 0);
    EXPECT_NE(listing.find("16f84a             2048           0  flash-erase-write  (" + file +
                           ", in place of the built-in chip)"),
              std::string::npos)
        << listing;
    EXPECT_EQ(listing.find("16f84a             1024"), std::string::npos) << "listed once";

    const std::string link = m_dir + "/link";
    Modsim modsim({"--part-file", file, "--device", "16f84a", "--revision", "3", "--link", link});
    ASSERT_FALSE(modsim.FirstLine().empty());
    {
        Line line(link);
        EXPECT_EQ(line.Exchange({0x09, 0x01, '0', 0x03, '0', '0', '0', '0', '0', '0'}, 3),
                  (Bytes{0x20, 0x20, 0x20}));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(line.Exchange({0x01, '6'}, 1), kAck);
        }
        // The device ID 3FA3 goes out as the transfer word 7F46, low digit first.
        EXPECT_EQ(line.Exchange({0x01, '4', 0x02}, 6), (Bytes{0x20, '6', '4', 'F', '7', 0x20}));
    }
    EXPECT_EQ(modsim.Stop(SIGTERM), 0);
}

TEST_F(ModsimPartFileTest, RefusesABrokenPartAndAnImpossibleRevision)
{
    Modsim broken({"--part-file", WritePart("mine", "data_bytes = 512"), "--list-devices"});
    EXPECT_EQ(broken.Wait(), 2);
    Modsim revision({"--device", "16f877a", "--revision", "16", "--link", m_dir + "/link"});
    EXPECT_EQ(revision.Wait(), 2);
}

TEST(ModsimCommandLineTest, HelpDocumentsEveryOptionAndBadInputIsRefused)
{
    Modsim help({"--help"});
    const std::string text = help.AllOutput();
    EXPECT_EQ(help.Wait(), 0);
    for (const char *option : {"--device",
                               "--part-file",
                               "--revision",
                               "--link",
                               "--chip-in",
                               "--chip-out",
                               "--identify-byte",
                               "--baud",
                               "--realtime",
                               "--transcript",
                               "--transcript-chip-time",
                               "--no-ack-from",
                               "--wrong-ack-at",
                               "--wrong-ack-byte",
                               "--late-reply",
                               "--late-at",
                               "--bad-digit-at",
                               "--dead-after",
                               "--pulses",
                               "--never-program"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    Modsim unknown({"--device", "16F84", "--link", "/tmp/unused-tolm-link"});
    EXPECT_EQ(unknown.Wait(), 2);
    Modsim badNumber({"--device", "16f84", "--link", "/tmp/unused-tolm-link", "--baud", "x"});
    EXPECT_EQ(badNumber.Wait(), 2);
}

} // namespace
