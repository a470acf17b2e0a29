// The serial file: the next number survives runs, is never handed out twice (also to threads
// and processes taking numbers at once), and a file that holds something else, or is not a
// plain file at all, is left alone.
#include "production/SerialCounter.h"

#include "FileSizeLimit.h"
#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every name in the folder with what it is: a link's target, a file's bytes, or a kind.
std::map<std::string, std::string> Snapshot(const QString &folder)
{
    std::map<std::string, std::string> entries;
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const QFileInfo info(dir.filePath(name));
        entries[name.toStdString()] = (info.isSymLink() ? "link to " + info.symLinkTarget().toUtf8()
                                       : info.isDir()   ? QByteArray("folder")
                                       : info.isFile()  ? Contents(info.filePath())
                                                        : QByteArray("special"))
                                          .toStdString();
    }
    return entries;
}

// One take in a child process that may not hang: a FIFO or a lock that never comes would
// otherwise stop the whole test run. "number N" or "error TEXT".
std::string GuardedTake(const QString &path, rlim_t sizeLimit = RLIM_INFINITY)
{
    return RunWithFileSizeLimit(sizeLimit,
                                [&] {
                                    ::alarm(20);
                                    const auto taken = SerialCounter(path).Take(300, 1, 0xFFFF);
                                    return taken.number ? "number " + std::to_string(*taken.number)
                                                        : "error " + taken.error.toStdString();
                                })
        .value_or("the take hung or crashed");
}

TEST(SerialCounter, OnlyAPlainFileWithANumberIsTakenAndAnythingElseIsLeftAlone)
{
    struct Case
    {
        const char *name;
        std::function<void(const QString &dir)> setUp;
        const char *outcome; // "number N", or a part of the refusal
    };
    const auto file = [](QByteArray bytes) {
        return [bytes](const QString &dir) { Write(dir + "/next-serial", bytes); };
    };
    const Case cases[] = {
        {"no file yet: the seed", [](const QString &) {}, "number 300"},
        {"a number and a line end", file("77\n"), "number 77"},
        {"blanks and CR LF around it", file(" 0100 \r\n"), "number 100"},
        {"no line end", file("1000"), "number 1000"},
        {"a number above the location's largest", file("65536\n"), "does not fit"},
        {"the largest number itself", file("65535\n"), "number 65535"},
        {"text that is not a number", file("twelve\n"), "does not hold a serial number"},
        {"a negative number", file("-3\n"), "does not hold a serial number"},
        {"a number no log column holds", file("9223372036854775808\n"),
         "does not hold a serial number"},
        {"a number, then text after blanks", file("7" + QByteArray(100, ' ') + "text\n"),
         "does not hold a serial number"},
        {"a number, then a NUL and more", file(QByteArray("1000\0junk", 9)),
         "does not hold a serial number"},
        {"two line ends", file("12\n\n"), "does not hold a serial number"},
        {"a FIFO", [](const QString &dir) { ::mkfifo(qPrintable(dir + "/next-serial"), 0600); },
         "a FIFO"},
        {"a folder", [](const QString &dir) { QDir(dir).mkdir("next-serial"); }, "a directory"},
        {"a link to a file holding a number",
         [](const QString &dir) {
             Write(dir + "/elsewhere", "77\n");
             QFile::link(dir + "/elsewhere", dir + "/next-serial");
         },
         "symbolic link"},
        {"a dangling link",
         [](const QString &dir) { QFile::link(dir + "/nowhere", dir + "/next-serial"); },
         "symbolic link"},
        {"a link at the lock",
         [](const QString &dir) { QFile::link(dir + "/nowhere", dir + "/next-serial.lock"); },
         "symbolic link"},
        {"a folder at the lock", [](const QString &dir) { QDir(dir).mkdir("next-serial.lock"); },
         "a directory"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        c.setUp(dir.path());
        const auto before = Snapshot(dir.path());
        const std::string outcome = GuardedTake(dir.filePath("next-serial"));
        EXPECT_NE(outcome.find(c.outcome), std::string::npos) << c.name << ": " << outcome;
        if (outcome.rfind("number", 0) != 0) {
            EXPECT_EQ(Snapshot(dir.path()), before) << c.name;
        }
    }
}

TEST(SerialCounter, AFullDiskHandsOutNoNumberAndLeavesTheFileAsItWas)
{
    // A file size limit stands in for a full disk where mounting a small one is not allowed.
    QTemporaryDir dir;
    Write(dir.filePath("next-serial"), "300\n");
    EXPECT_NE(GuardedTake(dir.filePath("next-serial"), 2).find("error"), std::string::npos);
    EXPECT_EQ(Snapshot(dir.path()), (std::map<std::string, std::string>{{"next-serial", "300\n"}}));

    SmallDisk disk;
    if (!disk.Ready())
        GTEST_SKIP() << "a small tmpfs needs root";
    const QString path = disk.Path("next-serial");
    Write(path, "300\n");
    // One page: enough for the lock, none left for the new copy.
    ASSERT_TRUE(disk.LeaveFreePages(1));
    bool fromFile = false;
    QString error;
    EXPECT_FALSE(SerialCounter(path).Next(300, fromFile, error).has_value())
        << "the check before any port opens finds the disk full";
    EXPECT_NE(GuardedTake(path).find("error"), std::string::npos);
    EXPECT_EQ(Contents(path), "300\n");
    EXPECT_FALSE(QFileInfo::exists(path + ".lock"));
}

TEST(SerialCounter, StaleTemporariesOfADeadSaveGoWhenTheLockIsTaken)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("next-serial");
    Write(path, "5\n");
    Write(path + ".AbqCdX", "4");   // a save that died before its rename
    Write(path + ".backup", "5\n"); // someone's own copies
    Write(path + ".Ab12Cd", "5\n");
    Write(dir.filePath("next-serial2.AbqCdX"), "");
    EXPECT_EQ(GuardedTake(path), "number 5");
    EXPECT_EQ(Snapshot(dir.path()),
              (std::map<std::string, std::string>{{"next-serial", "6\n"},
                                                  {"next-serial.backup", "5\n"},
                                                  {"next-serial.Ab12Cd", "5\n"},
                                                  {"next-serial2.AbqCdX", ""}}));
}

TEST(SerialCounter, SixteenThreadsAtOnceGetDistinctConsecutiveNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("next-serial");
    std::vector<std::uint64_t> numbers;
    std::mutex numbersMutex;
    std::vector<std::thread> threads;
    for (int t = 0; t < 16; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                // Each take through its own counter, as each port does.
                const auto taken = SerialCounter(path).Take(1000, 1, 0xFFFF);
                std::lock_guard lock(numbersMutex);
                numbers.push_back(taken.number.value_or(0));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    std::sort(numbers.begin(), numbers.end());
    ASSERT_EQ(numbers.size(), 80u);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], 1000 + i);
    EXPECT_EQ(Contents(path), "1080\n");
}

} // namespace
