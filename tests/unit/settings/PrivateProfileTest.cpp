#include "settings/PrivateProfile.h"
#include "SettingsFileFixture.h"
#include "settings/TolmSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PrivateProfileTest : public SettingsFileFixture
{
};

TEST_F(PrivateProfileTest, NamesMatchInAnyCaseAndMissingEntriesGiveTheDefault)
{
    PrivateProfile profile(Path());
    EXPECT_EQ(profile.ReadString("Main", "PicDevice", "16c84"), "16c84"); // no file
    Store("[other]\r\nPicDevice=16c54\r\n[MAIN]\r\n  picdevice = 16f84  \r\n");
    struct Case
    {
        const char *section, *key, *value;
    };
    const Case cases[] = {
        {"Main", "PicDevice", "16f84"},        {"main", "PICDEVICE", "16f84"},
        {"Other", "picdevice", "16c54"},       {"Main", "ModulePort", "<default>"}, // missing key
        {"Options", "PicDevice", "<default>"}, // missing section
    };
    for (const Case &c : cases)
        EXPECT_EQ(profile.ReadString(c.section, c.key, "<default>"), c.value) << c.key;

    Store("[Main]\nWorkingDir=" + QByteArray(1500, 'x') + "\n");
    EXPECT_EQ(profile.ReadString("Main", "WorkingDir", "").size(), 1023);
}

TEST_F(PrivateProfileTest, WriteChangesItsKeyAndKeepsEveryOtherLineByteForByte)
{
    // A file from Windows: CR LF ends, a comment, and a folder name in its own character set.
    Store(
        "; "
        "settings\r\n[Main]\r\nPicDevice=16c84\r\nWorkingDir=C:\\h\xe9x\r\n\r\n[Last]\r\nx=1\r\n");
    PrivateProfile profile(Path());
    ASSERT_TRUE(profile.WriteString("main", "picdevice", "16f84"));
    ASSERT_TRUE(profile.WriteString("Main", "ModulePort", "COM2"));
    ASSERT_TRUE(profile.WriteString("New", "Key", "v"));
    EXPECT_EQ(Stored(),
              QByteArray("; settings\r\n[Main]\r\npicdevice=16f84\r\nWorkingDir=C:\\h\xe9x\r\n"
                         "ModulePort=COM2\r\n\r\n[Last]\r\nx=1\r\n\r\n[New]\r\nKey=v\r\n"));

    Store("");
    ASSERT_TRUE(profile.WriteString("Main", "PicDevice", "12c508"));
    EXPECT_EQ(Stored(), "[Main]\nPicDevice=12c508\n");
}

// Keys written together give the file that writing them one at a time gives, and read together
// the values that reading them one at a time gives; a key that cannot be written stops them all.
TEST_F(PrivateProfileTest, SeveralKeysAtOnceAreKeysOneAfterTheOther)
{
    const QList<PrivateProfile::KeyValue> entries{
        {"File2", "/b.hex"}, {"file1", "/a.hex"}, {"File3", ""}, {"File2", "/c.hex"}};
    const QByteArray files[] = {
        "",
        "[Main]\r\nPicDevice=16f84\r\n",
        "[Recent Files]\r\nFile1=/x.hex\r\n\r\n[Main]\r\nPicDevice=16f84\r\n",
        "[Main]\nPicDevice=16f84",
    };
    for (const QByteArray &file : files) {
        Store(file);
        PrivateProfile profile(Path());
        for (const auto &[key, value] : entries)
            ASSERT_TRUE(profile.WriteString("Recent Files", key, value)) << file.constData();
        const QByteArray oneByOne = Stored();
        QStringList valuesOneByOne;
        for (const auto &[key, value] : entries)
            valuesOneByOne << profile.ReadString("recent files", key, "-");

        Store(file);
        ASSERT_TRUE(profile.WriteStrings("Recent Files", entries)) << file.constData();
        EXPECT_EQ(Stored(), oneByOne) << file.constData();
        QStringList keys;
        for (const auto &entry : entries)
            keys << entry.first;
        EXPECT_EQ(profile.ReadStrings("recent files", keys, "-"), valuesOneByOne);

        EXPECT_FALSE(profile.WriteStrings("Recent Files", {{"File1", "/d.hex"}, {"File2", "e\n"}}));
        EXPECT_EQ(Stored(), oneByOne) << file.constData();
    }
}

// Start-up takes the three keys of section Main from one reading: each missing key gives its own
// default, a key that is there gives its value, an empty one included.
TEST_F(PrivateProfileTest, MainSettingsInOneReading)
{
    const struct
    {
        const char *file; // nullptr: no file
        const char *device, *port, *folder;
    } rows[] = {
        {nullptr, "16c84", "", ""},
        {"[Main]\r\nPicDevice=16f84\r\nModulePort=COM2\r\nWorkingDir=/w\r\n", "16f84", "COM2",
         "/w"},
        {"[main]\nmoduleport=/dev/ttyUSB0\n", "16c84", "/dev/ttyUSB0", ""},
        {"[Main]\nPicDevice=\n[Other]\nModulePort=COM2\n", "", "", ""},
    };
    for (const auto &r : rows) {
        QFile::remove(Path());
        if (r.file)
            Store(r.file);
        const TolmSettings::MainSettings main = TolmSettings::ReadMainSettings(Path());
        EXPECT_EQ(main.picDevice, r.device) << (r.file ? r.file : "no file");
        EXPECT_EQ(main.modulePort, r.port) << (r.file ? r.file : "no file");
        EXPECT_EQ(main.workingDir, r.folder) << (r.file ? r.file : "no file");
    }
}

} // namespace
