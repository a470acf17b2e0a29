// The settings file never loses what it held: a failed write keeps it byte for byte, a value
// cannot smuggle in lines of its own, and a settings path that is not a regular file is left
// alone.
#include "FileSizeLimit.h"
#include "SettingsFileFixture.h"
#include "settings/PrivateProfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray kSettings = "[Main]\r\nPicDevice=16f84\r\nModulePort=COM2\r\n";

class PrivateProfileSafety : public SettingsFileFixture
{
};

TEST_F(PrivateProfileSafety, AWriteOntoAFullDiskFailsAndKeepsTheFile)
{
    for (const rlim_t room : {rlim_t{0}, rlim_t{20}}) {
        Store(kSettings);
        const auto written = RunWithFileSizeLimit(room, [this] {
            PrivateProfile profile(Path());
            return profile.WriteString("Main", "WorkingDir", "/home/user/pic") ? "written"
                                                                               : "refused";
        });
        EXPECT_EQ(written, "refused") << room;
        EXPECT_EQ(Stored(), kSettings) << room;
    }
}

TEST_F(PrivateProfileSafety, AValueWithALineEndIsNeverWritten)
{
    const char *values[] = {"16f84\n[Main]", "16f84\r[Main]", "a\r\nPicDevice=16c54", "\n"};
    for (const char *value : values) {
        Store(kSettings);
        PrivateProfile profile(Path());
        EXPECT_FALSE(profile.WriteString("Main", "WorkingDir", value)) << value;
        EXPECT_EQ(Stored(), kSettings) << value;
    }
}

TEST_F(PrivateProfileSafety, AReplacedLineKeepsItsOwnLineEnd)
{
    // Hand-edited on two systems: the first line ends in LF, the device line in CR LF.
    Store("[Main]\nPicDevice=16c84\r\nModulePort=COM1\n");
    PrivateProfile profile(Path());
    ASSERT_TRUE(profile.WriteString("Main", "PicDevice", "16f84"));
    ASSERT_TRUE(profile.WriteString("Main", "ModulePort", "COM2"));
    EXPECT_EQ(Stored(), "[Main]\nPicDevice=16f84\r\nModulePort=COM2\n");
}

TEST_F(PrivateProfileSafety, QuotedValuesAreReadWithoutTheirQuotes)
{
    struct Case
    {
        const char *stored, *read;
    };
    const Case cases[] = {
        {"\"16f84\"", "16f84"},   {"'16f84'", "16f84"}, {" \"a b\" ", "a b"},       {"\"\"", ""},
        {"\"16f84'", "\"16f84'"}, {"\"", "\""},         {"16\"f84\"", "16\"f84\""},
    };
    PrivateProfile profile(Path());
    for (const Case &c : cases) {
        Store(QByteArray("[Main]\nPicDevice=") + c.stored + "\n");
        EXPECT_EQ(profile.ReadString("Main", "PicDevice", "16c84"), c.read) << c.stored;
    }
}

TEST_F(PrivateProfileSafety, ASettingsPathThatIsNotARegularFileIsLeftAlone)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path()).constData(), 0600), 0);
    PrivateProfile profile(Path());
    // Reading a FIFO would wait for a writer that never comes; it counts as no file.
    EXPECT_EQ(profile.ReadString("Main", "PicDevice", "16c84"), "16c84");
    EXPECT_FALSE(profile.WriteString("Main", "PicDevice", "16f84"));
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

} // namespace
