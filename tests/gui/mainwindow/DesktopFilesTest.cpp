// Files as a desktop user expects them: a file given at start, a file dropped on the window,
// the recent files on the Load button, the choosers starting at the last file's folder, the
// offer to reload a file that changed on disk, and the checksum the window shows.
#include "MainWindowFixture.h"
#include "app/CommandLine.h"
#include "app/FileWatch.h"
#include "app/MainStatusBar.h"
#include "app/Optdlg.h"
#include "app/RecentFiles.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using namespace MainWindowFixture;

namespace {

// 16f84: words 0001-0004 at 0000, data 3F at 00, configuration 3FF1, ID 1234.
const char kBlink[] = ":02400E00F13F80\n:080000000100020003000400EE\n:024200003F007D\n"
                      ":084000000100020003000400AE\n:00000001FF\n";
// The same after a rebuild: the first word is now 2805, the configuration word 3FFF.
const char kRebuilt[] = ":02400E00FF3F72\n:020000000528D1\n:024200003F007D\n"
                        ":084000000100020003000400AE\n:00000001FF\n";

QStringList MenuTexts(QMenu &menu)
{
    emit menu.aboutToShow();
    QStringList texts;
    for (const QAction *action : menu.actions())
        texts << action->text();
    return texts;
}

} // namespace

class DesktopFilesTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        RemoveSettings();
        // The port is a name in the test's own folder: nothing of this machine is opened.
        QVERIFY(WriteSettings(
            {"PicDevice=16f84", "ModulePort=" + m_dir.filePath("module"), "WorkingDir=/srv/hex"}));
    }

    void fileArgument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{"tolm"} << "";
        QTest::newRow("options before it") << QStringList{"tolm", "-x", "a b.hex"} << "a b.hex";
        QTest::newRow("after --") << QStringList{"tolm", "--", "-dash.hex"} << "-dash.hex";
    }

    void fileArgument()
    {
        QFETCH(QStringList, arguments);
        QTEST(FileArgument(arguments), "file");
    }

    // tolm FILE: every target the device has is ticked and the file loaded; a success is
    // quiet, a missing record still a warning box.
    void startFileTicksTheDevicesTargets_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("16f84, every target")
            << "16f84" << QList<bool>{true, true, true, true} << QStringList{};
        QTest::newRow("16c54, no data memory")
            << "16c54" << QList<bool>{true, false, true, true}
            << QStringList{"Warning: <Configuration> <ID Code> Records NOT found\n"
                           "1 word at 2007 lies beyond the 16c54's program memory (0000-01FF) "
                           "and was left out\n"
                           "1 data byte at 00 was left out: the 16c54 has no data memory\n"
                           "4 words at 2000-2003 lie beyond the 16c54's program memory "
                           "(0000-01FF) and were left out"};
    }

    void startFileTicksTheDevicesTargets()
    {
        QFETCH(QString, device);
        QFETCH(QList<bool>, ticked);
        QVERIFY(WriteSettings({"PicDevice=" + device}));
        Program p;
        TTolmMain &main = p.Main();
        main.LoadStartFile(WriteFile(m_dir, "blink.hex", kBlink));
        const QList<bool> boxes{Find<QCheckBox>(main, "ProgMemCbx")->isChecked(),
                                Find<QCheckBox>(main, "DataMemCbx")->isChecked(),
                                Find<QCheckBox>(main, "ConfigCbx")->isChecked(),
                                Find<QCheckBox>(main, "IDCodeCbx")->isChecked()};
        QCOMPARE(boxes, ticked);
        QTEST(p.messages.shown, "shown");
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - blink.hex"));
        QCOMPARE(p.Image().GetProgramWordText(3), QStringLiteral("0004"));
        if (p.messages.shown.isEmpty())
            QCOMPARE(Find<MainStatusBar>(main, "StatusBar")->Text(),
                     QStringLiteral("blink.hex: File loaded successfully"));
    }

    // The sum over the 16f84's 1024 words and the word the controls build, as tolm-cli show
    // prints it; it follows the controls.
    void checksumFollowsImageAndControls()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString file = WriteFile(m_dir, "blank.hex", ":02400E00FF3F72\n:00000001FF\n");
        main.LoadStartFile(file);
        QTRY_COMPARE(Find<QLabel>(main, "ChecksumLbl")->text(), QStringLiteral("Checksum 3BFF"));
        QCOMPARE(main.ShownChecksum(), 0x3BFF);
        Find<QCheckBox>(main, "PutCbx")->click(); // power-up timer on clears bit 3
        QTRY_COMPARE(Find<QLabel>(main, "ChecksumLbl")->text(), QStringLiteral("Checksum 3BF7"));
        p.Image().SetProgramWordText(0, QStringLiteral("3FFE"));
        QTRY_COMPARE(Find<QLabel>(main, "ChecksumLbl")->text(), QStringLiteral("Checksum 3BF6"));
        p.Image().SetDataByteText(0, QStringLiteral("00")); // data is not part of it
        QTest::qWait(10);
        QCOMPARE(Find<QLabel>(main, "ChecksumLbl")->text(), QStringLiteral("Checksum 3BF6"));
    }

    void aDroppedFileLoadsAsLoadFromFile()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString file = WriteFile(m_dir, "blink.hex", kBlink);
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        QVERIFY(!DropOn(main, {QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)}));
        QVERIFY(!DropOn(main, {QUrl(QStringLiteral("https://example.org/blink.hex"))}));
        QVERIFY(DropOn(main, {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(p.messages.shown, QStringList{"Information: File loaded successfully"});
        QCOMPARE(p.Image().GetProgramWordText(0), QStringLiteral("0001"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - blink.hex"));

        // Dropped on a hex field, it is still a file to load.
        QVERIFY(!Find<QLineEdit>(main, "ProgStartEdit")->acceptDrops());
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(false);
        QVERIFY(DropOn(main, {QUrl::fromLocalFile(file)}));
        QTRY_COMPARE(p.messages.shown.last(), QStringLiteral("Warning: No target selected"));
    }

    // Newest first, eight at most, in a section of their own: section Main keeps its keys,
    // their order and every other line.
    void recentFilesOnTheLoadButton()
    {
        QVERIFY(WriteSettings({"WorkingDir=/srv/hex", "PicDevice=16f84", "; a note"}));
        const QByteArray mainBefore = SettingsText();
        Program p;
        TTolmMain &main = p.Main();
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        QCOMPARE(MenuTexts(*Find<QMenu>(main, "RecentFilesMenu")), QStringList{"No recent files"});
        QStringList paths;
        for (int i = 1; i <= 9; ++i) {
            paths << WriteFile(m_dir, QStringLiteral("f%1.hex").arg(i), kBlink);
            p.messages.openFileNames << paths.last();
            Find<QToolButton>(main, "LoadFromFileBtn")->click();
        }
        const QStringList texts = MenuTexts(*Find<QMenu>(main, "RecentFilesMenu"));
        QCOMPARE(texts.size(), RecentFiles::kMaxFiles);
        QVERIFY2(texts.first().startsWith("&1 f9.hex  ("), qPrintable(texts.first()));
        QVERIFY2(texts.last().startsWith("&8 f2.hex  ("), qPrintable(texts.last()));
        const QByteArray settings = SettingsText();
        QVERIFY(settings.startsWith(mainBefore));
        QVERIFY(settings.contains("[Recent Files]\r\nFile1=" + paths[8].toUtf8() + "\r\n"));

        // Picking one loads it as Load From File does, and it comes first again.
        p.messages.shown.clear();
        Find<QMenu>(main, "RecentFilesMenu")->actions().at(3)->trigger();
        QCOMPARE(p.messages.shown, QStringList{"Information: File loaded successfully"});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - f6.hex"));
        QVERIFY(MenuTexts(*Find<QMenu>(main, "RecentFilesMenu")).first().startsWith("&1 f6.hex"));

        // A file that has gone is said so and offered no more; the next start has the list.
        QFile::remove(paths[4]);
        MenuTexts(*Find<QMenu>(main, "RecentFilesMenu"));
        for (QAction *action : Find<QMenu>(main, "RecentFilesMenu")->actions()) {
            if (action->data().toString() == paths[4])
                action->trigger();
        }
        QCOMPARE(p.messages.shown.last(), "Error: " + paths[4] + " is no longer there.");
        Program next;
        QCOMPARE(next.Main().Recent().Files().size(), RecentFiles::kMaxFiles - 1);
        QVERIFY(!next.Main().Recent().Files().contains(paths[4]));
    }

    // The working directory is where the choosers start until a file is loaded or saved;
    // then its folder is, until the user sets another working directory.
    void choosersStartAtTheLastFilesFolder()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        const QString file = WriteFile(m_dir, "blink.hex", kBlink);
        p.messages.openFileNames << file;
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        Find<QToolButton>(main, "LoadFromFileBtn")->click(); // cancelled
        Find<QToolButton>(main, "SaveToFileBtn")->click();   // cancelled
        QCOMPARE(p.messages.fileDialogDirectories,
                 QStringList({"/srv/hex", m_dir.path(), m_dir.path()}));
        QCOMPARE(main.OpenDialogDirectory(), QStringLiteral("/srv/hex")); // Options shows it

        TOptionsDlg &options = *p.windows->OptionsDlg;
        p.messages.confirmAnswers << false;
        QTimer::singleShot(0, &options, [&] {
            options.WorkingDirEdit->setText(QStringLiteral("/srv/other"));
            options.accept();
        });
        Find<QToolButton>(main, "OptionsBtn")->click();
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(p.messages.fileDialogDirectories.last(), QStringLiteral("/srv/other"));
    }

    // The assembler rebuilds the file: the status line offers to load it again, without a
    // box; Reload loads it for the ticked targets. The same bytes written again offer nothing.
    void aChangedFileIsOfferedForReload()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString file = WriteFile(m_dir, "watched.hex", kBlink);
        main.LoadStartFile(file);
        MainStatusBar &status = *Find<MainStatusBar>(main, "StatusBar");
        QVERIFY(!status.OfferShown());

        WriteFile(m_dir, "watched.hex", kBlink);
        QTest::qWait(3 * FileWatch::kQuietMs);
        QVERIFY(!status.OfferShown());

        WriteFile(m_dir, "watched.hex", kRebuilt);
        QTRY_VERIFY(status.OfferShown());
        QCOMPARE(status.Text(), QStringLiteral("watched.hex changed on disk"));
        QCOMPARE(p.Image().GetProgramWordText(0), QStringLiteral("0001")); // not yet loaded
        QVERIFY(p.messages.shown.isEmpty());

        status.ReloadBtn->click();
        QVERIFY(!status.OfferShown());
        QCOMPARE(p.Image().GetProgramWordText(0), QStringLiteral("2805"));
        QCOMPARE(status.Text(), QStringLiteral("watched.hex: File loaded successfully"));
        QCOMPARE(p.messages.shown, QStringList{}); // every record there: no box
    }

    // With the setting, a rebuilt file is loaded at once; a file replaced by a rename (as
    // many tools save) is followed too.
    void reloadAtOnceFollowsAReplacedFile()
    {
        Program p;
        TTolmMain &main = p.Main();
        main.SetReloadAtOnce(true);
        const QString file = WriteFile(m_dir, "renamed.hex", kBlink);
        main.LoadStartFile(file);
        const QString fresh = WriteFile(m_dir, "renamed.hex.tmp", kRebuilt);
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(fresh, file));
        QTRY_COMPARE(p.Image().GetProgramWordText(0), QStringLiteral("2805"));
        QVERIFY(!Find<MainStatusBar>(main, "StatusBar")->OfferShown());
        QCOMPARE(Find<MainStatusBar>(main, "StatusBar")->Text(),
                 QStringLiteral("renamed.hex: File loaded successfully"));
    }
};

QTEST_MAIN(DesktopFilesTest)
#include "DesktopFilesTest.moc"
