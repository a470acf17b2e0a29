// The file buttons, the target check, the About button and the close question.
#include "MainWindowFixture.h"
#include "app/AboutBox.h"
#include "editors/DatEditF.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

using namespace MainWindowFixture;

namespace {

const QString kOpenFilter = QStringLiteral("IHX8M Files (*.hex);;All Files (*)");
const QString kSaveFilter = QStringLiteral("IHX8M Files (*.hex)");

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Tick(std::initializer_list<QCheckBox *> boxes)
{
    for (QCheckBox *box : boxes)
        box->setChecked(true);
}

// Program words 0-3, configuration 3FF1 and data byte 0 of a 14-bit part; no ID record.
const QByteArray kBlink = ":02400E00F13F80\r\n"
                          ":080000000100020003000400EE\r\n"
                          ":024200003F007D\r\n"
                          ":00000001FF\r\n";

} // namespace

class FilesAndCloseTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init()
    {
        RemoveSettings();
        QVERIFY(WriteSettings({"PicDevice=16f84", "WorkingDir=" + m_dir.path() + "/"}));
    }

    void noTargetStopsEveryFileButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("load") << "LoadFromFileBtn";
        QTest::newRow("save") << "SaveToFileBtn";
    }

    void noTargetStopsEveryFileButton()
    {
        QFETCH(QString, button);
        Program p;
        p.messages.openFileNames << m_dir.filePath("x.hex");
        p.messages.saveFileNames << m_dir.filePath("x.hex");
        p.Main().findChild<QToolButton *>(button)->click();
        QCOMPARE(p.messages.shown, QStringList{"Warning: No target selected"});
        QCOMPARE(p.Main().windowTitle(), QStringLiteral("Tolm V2.60"));
        QVERIFY(!QFile::exists(m_dir.filePath("x.hex")));
    }

    void loadWithEveryTarget()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString path = WriteFile(m_dir, "blink.hex", kBlink);
        p.messages.openFileNames << path;
        Tick({Find<QCheckBox>(main, "ProgMemCbx"), Find<QCheckBox>(main, "DataMemCbx"),
              Find<QCheckBox>(main, "ConfigCbx"), Find<QCheckBox>(main, "IDCodeCbx")});
        Find<QCheckBox>(main, "WdtCbx")->setChecked(true);

        Find<QToolButton>(main, "LoadFromFileBtn")->click();

        QCOMPARE(p.messages.shown,
                 QStringList({"OpenFile", "Warning: <ID Code> Records NOT found"}));
        QCOMPARE(p.messages.fileDialogDirectories, QStringList{m_dir.path()});
        QCOMPARE(p.messages.fileDialogFilters, QStringList{kOpenFilter});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - blink.hex"));
        for (int a = 0; a < 4; ++a)
            QCOMPARE(p.Image().GetProgramWordText(a), QStringLiteral("000%1").arg(a + 1));
        QCOMPARE(p.Image().GetProgramWordText(4), QStringLiteral("3FFF"));
        QCOMPARE(p.Image().GetDataByteText(0), QStringLiteral("3F"));
        QCOMPARE(p.Image().ConfigWord, uint16_t(0x3FF1));
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(), QStringLiteral("3FF1"));
        // 3FF1 on a 16f84: XT, watchdog off, power-up timer on (active low), no protection.
        QCOMPARE(Find<QComboBox>(main, "OscBox")->currentText(), QStringLiteral("XT"));
        QVERIFY(!Find<QCheckBox>(main, "WdtCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "PutCbx")->isChecked());
        QVERIFY(Find<QRadioButton>(main, "ProtNoneBtn")->isChecked());
        QCOMPARE(p.Image().IDCodeText, QStringLiteral("FFFF"));
    }

    void loadOnlyTheTickedTarget()
    {
        Program p;
        TTolmMain &main = p.Main();
        p.messages.openFileNames << WriteFile(m_dir, "blink.hex", kBlink);
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(p.messages.shown,
                 QStringList({"OpenFile", "Information: File loaded successfully"}));
        QCOMPARE(p.Image().GetProgramWordText(3), QStringLiteral("0004"));
        QCOMPARE(p.Image().GetDataByteText(0), QStringLiteral("FF"));
        QCOMPARE(p.Image().ConfigWord, uint16_t(0));
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(), QStringLiteral("0000"));
    }

    void loadStoppedByADamagedLineIsAWarning()
    {
        // Program word 4 comes after the damaged line: the image lacks it.
        Program p;
        TTolmMain &main = p.Main();
        p.messages.openFileNames << WriteFile(m_dir, "cut.hex",
                                              ":080000000100020003000400EE\r\n"
                                              ":0200080005000F\r\n" // checksum should be F1
                                              ":020008000500F1\r\n"
                                              ":00000001FF\r\n");
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(p.messages.shown,
                 QStringList({"OpenFile", "Warning: Reading stopped at line 2: the checksum does "
                                          "not add up (checksum 0F, should be F1). The records "
                                          "after it were not loaded."}));
        QCOMPARE(p.Image().GetProgramWordText(3), QStringLiteral("0004"));
        QCOMPARE(p.Image().GetProgramWordText(4), QStringLiteral("3FFF"));
    }

    void loadLeavingOutRecordsIsAWarning()
    {
        // Behind a byte-order mark, with blanks around its records and in lower case, the file
        // loads; its word at 0400 has no place in a 16f84.
        Program p;
        TTolmMain &main = p.Main();
        p.messages.openFileNames << WriteFile(m_dir, "far.hex",
                                              "\xEF\xBB\xBF :080000000100020003000a00e8\t\r\n"
                                              " :020800000500F1\r\n"
                                              ":00000001FF\r\n");
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(p.messages.shown,
                 QStringList({"OpenFile", "Warning: 1 word at 0400 lies beyond the 16f84's "
                                          "program memory (0000-03FF) and was left out"}));
        QCOMPARE(p.Image().GetProgramWordText(3), QStringLiteral("000A"));
    }

    void loadCancelledChangesNothing()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        Find<QToolButton>(main, "LoadFromFileBtn")
            ->click(); // no file scripted: the chooser is cancelled
        QCOMPARE(p.messages.shown, QStringList{"OpenFile"});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60"));
        QVERIFY(EveryProgramCellIs(p.Image(), QStringLiteral("3FFF")));
    }

    void loadOfAMissingFileIsReported()
    {
        Program p;
        TTolmMain &main = p.Main();
        p.messages.openFileNames << m_dir.filePath("gone.hex");
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(p.messages.shown.size(), 2);
        QVERIFY(p.messages.shown.at(1).startsWith("Error: "));
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - gone.hex"));
    }

    void saveBuildsTheWordFromTheControls()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString path = m_dir.filePath("out.hex");
        p.messages.saveFileNames << path;
        Tick({Find<QCheckBox>(main, "ProgMemCbx"), Find<QCheckBox>(main, "ConfigCbx")});
        Find<QLineEdit>(main, "ProgEndEdit")->setText(QStringLiteral("0013"));
        Find<QCheckBox>(main, "WdtCbx")->setChecked(true); // RC, watchdog, None: 3FFF
        Find<QLineEdit>(main, "ConfigEdit")->setText(QStringLiteral("1234"));

        Find<QToolButton>(main, "SaveToFileBtn")->click();

        QCOMPARE(p.messages.shown, QStringList{"SaveFile"});
        QCOMPARE(p.messages.fileDialogDirectories, QStringList{m_dir.path()});
        QCOMPARE(p.messages.fileDialogFilters, QStringList{kSaveFilter});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - out.hex"));
        QCOMPARE(p.Image().ConfigWord, uint16_t(0x3FFF));
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(),
                 QStringLiteral("1234")); // the field is not the file
        const QList<QByteArray> lines = ReadFile(path).split('\n');
        QCOMPARE(lines.size(), 6); // four records, the end record and the final line end
        QVERIFY(lines[0].startsWith(":10000000FF3FFF3F"));
        QVERIFY(lines[1].startsWith(":10001000"));
        QVERIFY(lines[2].startsWith(":08002000"));
        QCOMPARE(lines[3], QByteArray(":02400E00FF3F72\r"));
        QCOMPARE(lines[4], QByteArray(":00000001FF\r"));
    }

    // A byte still half typed in the data editor (here right after a fill) is saved completed.
    void saveCompletesTheByteBeingTyped()
    {
        Program p;
        TTolmMain &main = p.Main();
        const QString path = m_dir.filePath("data.hex");
        p.messages.saveFileNames << path;
        Find<QCheckBox>(main, "DataMemCbx")->setChecked(true);
        Find<QLineEdit>(main, "DataEndEdit")->setText(QStringLiteral("01"));
        TDataEditForm &editor = *p.windows->DataEditForm;
        Find<QToolButton>(main, "DataEditorBtn")->click();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.DMemEditSG->setCurrentIndex(editor.DMemEditSG->model()->index(0, 1));
        editor.Clear00->trigger();
        auto *cell = qobject_cast<QLineEdit *>(
            editor.DMemEditSG->indexWidget(editor.DMemEditSG->currentIndex()));
        QVERIFY(cell);
        QTest::keyClicks(cell, QStringLiteral("5"));

        Find<QToolButton>(main, "SaveToFileBtn")->click();

        QCOMPARE(p.Image().GetDataByteText(1), QStringLiteral("05"));
        QVERIFY(ReadFile(path).startsWith(":04420000000005"));
    }

    void addressErrorComesBeforeAnyDialog_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("blankAt");
        QTest::newRow("program end") << "ProgEndEdit" << 2;
        QTest::newRow("program start") << "ProgStartEdit" << 0;
        QTest::newRow("data end, data not ticked") << "DataEndEdit" << 1;
        QTest::newRow("data start") << "DataStartEdit" << 0;
    }

    void addressErrorComesBeforeAnyDialog()
    {
        QFETCH(QString, field);
        QFETCH(int, blankAt);
        Program p;
        TTolmMain &main = p.Main();
        p.messages.saveFileNames << m_dir.filePath("never.hex");
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        auto *edit = main.findChild<QLineEdit *>(field);
        edit->setCursorPosition(blankAt);
        QTest::keyClick(edit, Qt::Key_Delete);

        Find<QToolButton>(main, "SaveToFileBtn")->click();

        QCOMPARE(p.messages.shown, QStringList{"Plain: Min or Max Address Error!"});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60"));
        QVERIFY(!QFile::exists(m_dir.filePath("never.hex")));
    }

    void saveCancelledWritesNothing()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QCheckBox>(main, "IDCodeCbx")->setChecked(true);
        Find<QToolButton>(main, "SaveToFileBtn")->click();
        QCOMPARE(p.messages.shown, QStringList{"SaveFile"});
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60"));
    }

    void aboutButtonShowsNameAndVersion()
    {
        Program p;
        TAboutBox &about = *p.windows->AboutBox;
        for (int i = 0; i < 2; ++i) {
            QString product, version;
            QTimer::singleShot(0, &about, [&] {
                product = about.ProductName->text();
                version = about.Version->text();
                about.accept();
            });
            Find<QToolButton>(p.Main(), "ExitBtn")->click();
            QCOMPARE(product, QStringLiteral("Tolm"));
            QCOMPARE(version, QStringLiteral("Version V2.60"));
            QVERIFY(!about.isVisible());
        }
        QCOMPARE(p.Main().CurrentDevice().DeviceName, QStringLiteral("16f84"));
        QVERIFY(p.messages.shown.isEmpty());
    }

    // Closing asks first; only the window's place is kept, in a section of its own, and the
    // next start opens the window there.
    void closeAsksFirst()
    {
        const QByteArray settings = ReadFile(TolmSettings::SettingsFilePath());
        Program p;
        TTolmMain &main = p.Main();
        QSignalSpy closed(&main, &TTolmMain::MainWindowClosed);
        main.show();
        main.move(123, 77);
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);

        p.messages.confirmAnswers << false;
        QVERIFY(!main.close());
        QVERIFY(main.isVisible());
        QVERIFY(Find<QCheckBox>(main, "ProgMemCbx")->isChecked());
        QCOMPARE(closed.count(), 0);

        p.messages.confirmAnswers << true;
        QVERIFY(main.close());
        QVERIFY(!main.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(p.messages.shown,
                 QStringList({"Confirm: Close program?...", "Confirm: Close program?..."}));
        QCOMPARE(ReadFile(TolmSettings::SettingsFilePath()),
                 settings + "\r\n[Main Window]\r\nLeft=123\r\nTop=77\r\n");
        Program next;
        QCOMPARE(next.Main().pos(), QPoint(123, 77));
    }
};

QTEST_MAIN(FilesAndCloseTest)
#include "FilesAndCloseTest.moc"
