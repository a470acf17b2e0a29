// Start-up from the settings file and the Options flows of the running program.
#include "MainWindowFixture.h"
#include "app/AboutBox.h"
#include "app/Iddlg.h"
#include "app/Optdlg.h"
#include "app/PortConU.h"
#include "app/WaitForm.h"
#include "device/catalogue/CatalogueInUse.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/ProcDlg.h"
#include "settings/PrivateProfile.h"
#include "settings/WorkingDir.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace MainWindowFixture;

class StartupAndOptionsTest : public QObject
{
    Q_OBJECT

    // Runs OptionsBtnClick with `inDialog` acting on the shown dialog (it must close it).
    static void RunOptions(TTolmMain &main, TOptionsDlg &dialog,
                           const std::function<void(TOptionsDlg &)> &inDialog)
    {
        QTimer::singleShot(0, &dialog, [&dialog, inDialog] { inDialog(dialog); });
        main.OptionsBtnClick();
        QVERIFY(!dialog.isVisible());
    }

    static QString SavedValue(const QString &key)
    {
        return PrivateProfile(TolmSettings::SettingsFilePath())
            .ReadString(TolmSettings::kSection, key, QStringLiteral("<absent>"));
    }

private slots:
    void init() { RemoveSettings(); }

    void startsFromSettings_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("selectorText");
        QTest::addColumn<QString>("progEnd");
        QTest::addColumn<QString>("dataEnd");
        QTest::addColumn<QString>("blankWord");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("directory");

        QTest::newRow("no settings file") << QStringList{} << "16c84"
                                          << "16c84"
                                          << "03FF"
                                          << "3F"
                                          << "3FFF"
                                          << ""
                                          << "";
        QTest::newRow("12-bit core") << QStringList{"PicDevice=12c509"} << "12c509"
                                     << "12c509"
                                     << "03FF"
                                     << "00"
                                     << "0FFF"
                                     << ""
                                     << "";
        QTest::newRow("14-bit EPROM") << QStringList{"PicDevice=16c62A"} << "16c62A"
                                      << "16c62A"
                                      << "07FF"
                                      << "00"
                                      << "3FFF"
                                      << ""
                                      << "";
        QTest::newRow("unknown name falls back to the default")
            << QStringList{"PicDevice=16F84"} << "16c84"
            << "16c84"
            << "03FF"
            << "3F"
            << "3FFF"
            << ""
            << "";
        QTest::newRow("empty name selects the empty record") << QStringList{"PicDevice="} << ""
                                                             << ""
                                                             << "0000"
                                                             << "00"
                                                             << "3FFF"
                                                             << ""
                                                             << "";
        QTest::newRow("port and folder")
            << QStringList{"PicDevice=16f877", "ModulePort=<dir>/module",
                           "WorkingDir=/home/ann/hex/"}
            << "16f877"
            << "16f877"
            << "1FFF"
            << "FF"
            << "3FFF"
            << "<dir>/module"
            << "/home/ann/hex";
        QTest::newRow("port kept as written")
            << QStringList{"ModulePort=<dir>/Com2", "WorkingDir=C:\\"} << "16c84"
            << "16c84"
            << "03FF"
            << "3F"
            << "3FFF"
            << "<dir>/Com2"
            << "C:\\";
    }

    void startsFromSettings()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, device);
        QFETCH(QString, selectorText);
        QFETCH(QString, progEnd);
        QFETCH(QString, dataEnd);
        QFETCH(QString, blankWord);
        QFETCH(QString, port);
        QFETCH(QString, directory);
        // A port named in the settings is a path in the test's own folder, never a port of
        // this machine.
        QTemporaryDir dir;
        settings.replaceInStrings(QStringLiteral("<dir>"), dir.path());
        port.replace(QStringLiteral("<dir>"), dir.path());
        if (!settings.isEmpty())
            QVERIFY(WriteSettings(settings));
        Program p;
        TTolmMain &main = p.Main();
        QCOMPARE(main.CurrentDevice().DeviceName, device);
        QCOMPARE(Find<QComboBox>(main, "DeviceSelector")->currentText(), selectorText);
        QCOMPARE(Find<QLineEdit>(main, "ProgStartEdit")->text(), QStringLiteral("0000"));
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), progEnd);
        QCOMPARE(Find<QLineEdit>(main, "DataEndEdit")->text(), dataEnd);
        QCOMPARE(main.BlankWordText(), blankWord);
        QVERIFY(EveryProgramCellIs(p.Image(), main.BlankWordText()));
        QVERIFY(EveryDataCellIs(p.Image(), QStringLiteral("FF")));
        QCOMPARE(p.Image().IDCodeText, QStringLiteral("FFFF"));
        QCOMPARE(p.Image().ConfigWord, uint16_t(0));
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(), QStringLiteral("0000"));
        QCOMPARE(Find<QLineEdit>(main, "CalEdit")->text(), QStringLiteral("00"));
        QCOMPARE(main.ModulePortName(), port);
        QCOMPARE(main.OpenDialogDirectory(), directory);
        QCOMPARE(main.SaveDialogDirectory(), directory);
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60"));
        QCOMPARE(Find<QTabWidget>(main, "OptionPages")->currentIndex(), 0);
        QVERIFY(!main.ModuleConnected());
        QVERIFY(main.ProcessFormUnplaced());
        QVERIFY(p.messages.shown.isEmpty()); // start-up asks nothing
        QVERIFY(!QFile::exists(TolmSettings::SettingsFilePath()) || !settings.isEmpty());
    }

    // Every window exists from start-up on, hidden until it is asked for, each under the
    // name the program uses for it.
    void allNineWindowsExistHidden()
    {
        RemoveSettings();
        Program p;
        ProgramWindows &w = *p.windows;
        const QList<QWidget *> windows{
            w.TolmMain.get(),     w.IDCodeDlg.get(),    w.OptionsDlg.get(),
            w.DataEditForm.get(), w.ProgViewForm.get(), w.ProcessForm.get(),
            w.AboutBox.get(),     w.WaitingForm.get(),  w.PortDlg.get()};
        QStringList names;
        for (QWidget *window : windows) {
            QVERIFY(window);
            QVERIFY(window->isHidden());
            names << window->objectName();
        }
        QCOMPARE(names,
                 QStringList({"TolmMain", "IDCodeDlg", "OptionsDlg", "DataEditForm", "ProgViewForm",
                              "ProcessForm", "AboutBox", "WaitingForm", "PortDlg"}));
    }

    void emptyRecordHasNoCapabilities()
    {
        QVERIFY(WriteSettings({"PicDevice="}));
        Program p;
        TTolmMain &main = p.Main();
        QCOMPARE(main.CurrentDevice(), NoDeviceRecord());
        QVERIFY(Find<QGroupBox>(main, "DataMemBox")->isHidden());
        QVERIFY(!Find<QCheckBox>(main, "DataMemCbx")->isEnabled());
        QVERIFY(!Find<QRadioButton>(main, "ParallelRBtn")->isEnabled());
        QVERIFY(!Find<QRadioButton>(main, "SerialRBtn")->isEnabled());
        QVERIFY(Find<QGroupBox>(main, "CalibrationBox")->isHidden());
        // No list of its own: the oscillator box keeps what it showed before.
        QCOMPARE(Find<QComboBox>(main, "OscBox")->currentText(), QStringLiteral("RC"));
    }

    void dialogDirectoryRule_data()
    {
        QTest::addColumn<QString>("workingDir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("folder with slash") << "/home/ann/hex/"
                                           << "/home/ann/hex";
        QTest::newRow("folder with backslash") << "D:\\hex\\"
                                               << "D:\\hex";
        QTest::newRow("only one removed") << "/home/ann//"
                                          << "/home/ann/";
        QTest::newRow("folder without") << "/home/ann/hex"
                                        << "/home/ann/hex";
        QTest::newRow("root slash") << "/"
                                    << "/";
        QTest::newRow("root backslash") << "\\"
                                        << "\\";
        QTest::newRow("drive root") << "C:\\"
                                    << "C:\\";
        QTest::newRow("drive root slash") << "C:/"
                                          << "C:/";
        QTest::newRow("relative") << "hex/"
                                  << "hex";
    }

    void dialogDirectoryRule()
    {
        QFETCH(QString, workingDir);
        QFETCH(QString, expected);
        QCOMPARE(DialogDirectory(workingDir), expected);
    }

    void saveThenCancelKeepsTheRunningProgram()
    {
        QTemporaryDir dir;
        const QString port = dir.filePath(QStringLiteral("module"));
        {
            Program p;
            TTolmMain &main = p.Main();
            RunOptions(main, *p.windows->OptionsDlg, [&port](TOptionsDlg &d) {
                QCOMPARE(d.DeviceSelectOpt->currentText(), QStringLiteral("16c84"));
                QCOMPARE(d.PortText(), QString()); // a first start has no port
                QCOMPARE(d.WorkingDirEdit->text(), QString());
                d.DeviceSelectOpt->setCurrentText(QStringLiteral("16f84"));
                d.SetPortText(port);
                d.WorkingDirEdit->setText(QStringLiteral("/srv/hex/"));
                d.SaveBtn->click();
                d.CancelBtn->click();
            });
            QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("16c84"));
            QCOMPARE(main.ModulePortName(), QString());
            QCOMPARE(main.OpenDialogDirectory(), QString());
            QVERIFY(p.messages.shown.isEmpty()); // no question after Cancel
            QCOMPARE(SavedValue(TolmSettings::kPicDeviceKey), QStringLiteral("16f84"));
            QCOMPARE(SavedValue(TolmSettings::kModulePortKey), port);
            QCOMPARE(SavedValue(TolmSettings::kWorkingDirKey), QStringLiteral("/srv/hex/"));
        }
        Program next;
        QCOMPARE(next.Main().CurrentDevice().DeviceName, QStringLiteral("16f84"));
        QCOMPARE(next.Main().ModulePortName(), port);
        QCOMPARE(next.Main().OpenDialogDirectory(), QStringLiteral("/srv/hex"));
    }

    void okWithoutSaveAppliesForThisRunOnly()
    {
        QTemporaryDir dir;
        const QString port = dir.filePath(QStringLiteral("module"));
        {
            Program p;
            TTolmMain &main = p.Main();
            p.messages.confirmAnswers << true;
            RunOptions(main, *p.windows->OptionsDlg, [&port](TOptionsDlg &d) {
                d.DeviceSelectOpt->setCurrentText(QStringLiteral("12c508"));
                d.SetPortText(port);
                d.WorkingDirEdit->setText(QStringLiteral("/srv/hex/"));
                d.OKBtn->click();
            });
            QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("12c508"));
            QCOMPARE(Find<QComboBox>(main, "DeviceSelector")->currentText(),
                     QStringLiteral("12c508"));
            QVERIFY(!Find<QGroupBox>(main, "CalibrationBox")->isHidden());
            QCOMPARE(main.ModulePortName(), port);
            QCOMPARE(main.OpenDialogDirectory(), QStringLiteral("/srv/hex"));
            QCOMPARE(main.SaveDialogDirectory(), QStringLiteral("/srv/hex"));
            // The port is tried at once (nothing is there), then the new device's fill.
            QCOMPARE(p.messages.shown,
                     QStringList({"Plain: COM Port Error", "Plain: Programmer Device NOT Connected",
                                  "Confirm: Set Program Memory to 0FFF ?"}));
            QVERIFY(EveryProgramCellIs(p.Image(), QStringLiteral("0FFF")));
            QVERIFY(!QFile::exists(TolmSettings::SettingsFilePath()));

            // The next showing starts from what the program now runs with.
            RunOptions(main, *p.windows->OptionsDlg, [&port](TOptionsDlg &d) {
                QCOMPARE(d.DeviceSelectOpt->currentText(), QStringLiteral("12c508"));
                QCOMPARE(d.PortText(), port);
                QCOMPARE(d.WorkingDirEdit->text(), QStringLiteral("/srv/hex"));
                d.CancelBtn->click();
            });
        }
        Program next;
        QCOMPARE(next.Main().CurrentDevice().DeviceName, QStringLiteral("16c84"));
        QCOMPARE(next.Main().ModulePortName(), QString());
    }

    // Only another device offers the fill; OK with the same one leaves the image and the
    // narrowed range alone.
    void onlyAnotherDeviceAsksTheFillQuestion()
    {
        Program p;
        TTolmMain &main = p.Main();
        p.messages.confirmAnswers << false;
        p.Image().SetProgramWordText(0, QStringLiteral("1234"));
        Find<QLineEdit>(main, "ProgEndEdit")->setText(QStringLiteral("0010"));
        for (int i = 0; i < 2; ++i)
            RunOptions(main, *p.windows->OptionsDlg, [](TOptionsDlg &d) { d.OKBtn->click(); });
        QCOMPARE(p.messages.shown, QStringList());
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), QStringLiteral("0010"));
        RunOptions(main, *p.windows->OptionsDlg, [](TOptionsDlg &d) {
            d.DeviceSelectOpt->setCurrentText(QStringLiteral("16f84"));
            d.OKBtn->click();
        });
        QCOMPARE(p.messages.shown, QStringList({"Confirm: Set Program Memory to 3FFF ?"}));
        QCOMPARE(p.Image().GetProgramWordText(0), QStringLiteral("1234"));
        QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("16f84"));
    }

    // A port name set by hand (another case, a device path, a simulator link) is offered as
    // its own item and kept by OK; it used to turn into COM1, and Connect then failed.
    void handSetPortIsShownAndKept_data()
    {
        QTest::addColumn<QString>("port");
        QTest::newRow("lower-case com2") << "com2";
        QTest::newRow("simulator link") << "/tmp/tolm-sim/link";
    }
    void handSetPortIsShownAndKept()
    {
        QFETCH(QString, port);
        // Set as a hand-edited file would set it, without opening it: com2 is this machine's
        // second serial port.
        Program p;
        TTolmMain &main = p.Main();
        main.Module().ModulePortName = port;
        QString shown;
        p.messages.confirmAnswers << false;
        RunOptions(main, *p.windows->OptionsDlg, [&shown](TOptionsDlg &d) {
            shown = d.PortText();
            d.SaveBtn->click();
            d.OKBtn->click();
        });
        QCOMPARE(shown, port);
        QCOMPARE(main.ModulePortName(), port);
        QCOMPARE(SavedValue(TolmSettings::kModulePortKey), port);
    }

    void unknownTypedNameKeepsTheDevice()
    {
        Program p;
        TTolmMain &main = p.Main();
        PickDevice(main, QStringLiteral("16f877"));
        p.messages.shown.clear();
        RunOptions(main, *p.windows->OptionsDlg, [](TOptionsDlg &d) {
            d.DeviceSelectOpt->setCurrentText(QStringLiteral("16F877"));
            d.OKBtn->click();
        });
        QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("16f877"));
        QCOMPARE(Find<QComboBox>(main, "DeviceSelector")->currentText(), QStringLiteral("16f877"));
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), QStringLiteral("1FFF"));
        QCOMPARE(p.messages.shown, QStringList()); // the device did not change
    }

    void emptyTypedNameSelectsTheEmptyRecord()
    {
        Program p;
        TTolmMain &main = p.Main();
        RunOptions(main, *p.windows->OptionsDlg, [](TOptionsDlg &d) {
            d.DeviceSelectOpt->setCurrentText(QString());
            d.OKBtn->click();
        });
        QCOMPARE(main.CurrentDevice(), NoDeviceRecord());
        QCOMPARE(Find<QComboBox>(main, "DeviceSelector")->currentText(), QString());
    }

    void trailingSeparatorIsDroppedOnSave()
    {
        QVERIFY(WriteSettings({"WorkingDir=/home/ann/hex/"}));
        Program p;
        RunOptions(p.Main(), *p.windows->OptionsDlg, [](TOptionsDlg &d) {
            QCOMPARE(d.WorkingDirEdit->text(), QStringLiteral("/home/ann/hex"));
            d.SaveBtn->click();
            d.CancelBtn->click();
        });
        QCOMPARE(SavedValue(TolmSettings::kWorkingDirKey), QStringLiteral("/home/ann/hex"));
    }
};

QTEST_MAIN(StartupAndOptionsTest)
#include "StartupAndOptionsTest.moc"
