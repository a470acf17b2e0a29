// A save that cannot finish must keep the old file byte for byte and say why, in the system's
// words; a target that is not a regular file is refused and left as it is.
#include "FileSizeLimit.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "fileio/SafeSave.h"
#include "hexfile/HexWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray kOldFile = ":020000000100FD\r\n:00000001FF\r\n";

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

mode_t FileType(const QString &path)
{
    struct stat info = {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & S_IFMT;
}

HexSaveResult Save(const QString &path, const char *device, const HexAddressTexts &ranges)
{
    MemoryImage image;
    image.FillProgramImage("3FFF");
    return SaveHexFile(path, image, *FindDevice(device), {.Program = true, .Config = true}, ranges);
}

TEST(HexSaveFailure, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    struct Case
    {
        const char *name;
        rlim_t roomBytes;
        const char *device;
        HexAddressTexts ranges; // 0000-0000: one short record; 0000-1FFF: about 45 kB
    };
    const Case cases[] = {
        {"no room at all, small file", 0, "16f84", {"0000", "0000", "00", "00"}},
        {"cut inside a record", 4096, "16f877", {"0000", "1FFF", "00", "00"}},
        {"room for one record only", 30, "16f84", {"0000", "03FF", "00", "00"}},
    };
    const std::string reason = std::strerror(EFBIG);
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.hex");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(kOldFile);
        }
        const auto message = RunWithFileSizeLimit(c.roomBytes, [&] {
            const HexSaveResult r = Save(path, c.device, c.ranges);
            return r.Status == HexSaveStatus::FileError ? r.Message.toStdString() : "saved";
        });
        ASSERT_TRUE(message) << c.name;
        EXPECT_NE(message->find(reason), std::string::npos) << c.name << ": " << *message;
        EXPECT_EQ(ReadAll(path), kOldFile) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.hex"}) << c.name;
    }
}

TEST(HexSaveFailure, ATargetThatIsNotARegularFileIsRefusedAndKept)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.hex");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToFifo = dir.filePath("link.hex");
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const QString folder = dir.filePath("folder.hex");
    ASSERT_TRUE(QDir().mkdir(folder));

    struct Case
    {
        QString path;
        mode_t type;
        const char *kind;
    };
    const Case cases[] = {
        {fifo, S_IFIFO, "a FIFO"},
        {linkToFifo, S_IFIFO, "a FIFO"},
        {folder, S_IFDIR, "a directory"},
    };
    for (const Case &c : cases) {
        const HexSaveResult r = Save(c.path, "16f84", {"0000", "0007", "00", "00"});
        EXPECT_EQ(r.Status, HexSaveStatus::FileError) << c.path.toStdString();
        EXPECT_TRUE(r.Message.contains(c.kind)) << r.Message.toStdString();
        EXPECT_EQ(FileType(c.path), c.type) << c.path.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 2);
}

// Device nodes take the same refusal as the FIFO above. They are only looked at here: a save
// test aimed at /dev/null would, run as root on a faulty build, destroy the node.
TEST(HexSaveFailure, DeviceNodesAreSeenForWhatTheyAre)
{
    EXPECT_EQ(SpecialFileKind("/dev/null"), "a character device");
    EXPECT_EQ(SpecialFileKind("/dev"), "a directory");
    EXPECT_EQ(SpecialFileKind("/no/such/file"), std::nullopt);
    EXPECT_EQ(SpecialFileKind(QString::fromLatin1(HEXFILE_TEST_SOURCE)), std::nullopt);
}

} // namespace
