// Device changes, the hex fields' key filters and the configuration controls.
#include "MainWindowFixture.h"
#include "device/ConfigControls.h"
#include "device/HexText.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartDefinition.h"
#include "editors/DatEditF.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>

using namespace MainWindowFixture;

namespace {

const QStringList kOptionWidgets = {"WdtCbx",   "PutCbx",      "LvpCbx",     "BOutCbx",
                                    "MClrCbx",  "DebugCbx",    "CpdCbx",     "WrtCbx",
                                    "MpeenCbx", "ProtUp34Btn", "ProtUp12Btn"};

QStringList EnabledOptionWidgets(TTolmMain &main)
{
    QStringList enabled;
    for (const QString &name : kOptionWidgets) {
        auto *w = main.findChild<QAbstractButton *>(name);
        if (w && w->isEnabled())
            enabled << name;
    }
    return enabled;
}

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class DeviceAndControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void deviceChangeAdaptsControls_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("oscItems");
        QTest::addColumn<QString>("method"); // "P", "S" or "PS": enabled methods
        QTest::addColumn<bool>("parallelChecked");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<bool>("hasData");
        QTest::addColumn<bool>("hasCalibration");
        QTest::addColumn<QString>("progEnd");
        QTest::addColumn<QString>("dataEnd");
        QTest::addColumn<QString>("question");

        const QStringList rc = {"LP", "XT", "HS", "RC"};
        QTest::newRow("16c54") << "16c54" << rc << "P" << true << QStringList{"WdtCbx"} << false
                               << false << "01FF"
                               << "00"
                               << "Set Program Memory to 0FFF ?";
        QTest::newRow("16c84") << "16c84" << rc << "PS" << true << QStringList{"WdtCbx", "PutCbx"}
                               << true << false << "03FF"
                               << "3F"
                               << "Set Program Memory to 3FFF ?";
        QTest::newRow("12c508") << "12c508" << QStringList{"LP", "XT", "Internal RC", "External RC"}
                                << "S" << false << QStringList{"WdtCbx", "MClrCbx"} << false << true
                                << "01FF"
                                << "00"
                                << "Set Program Memory to 0FFF ?";
        QTest::newRow("16f877") << "16f877" << rc << "PS" << true
                                << QStringList{"WdtCbx",  "PutCbx",      "LvpCbx",
                                               "BOutCbx", "DebugCbx",    "CpdCbx",
                                               "WrtCbx",  "ProtUp34Btn", "ProtUp12Btn"}
                                << true << false << "1FFF"
                                << "FF"
                                << "Set Program Memory to 3FFF ?";
        QTest::newRow("16c715") << "16c715" << rc << "S" << false
                                << QStringList{"WdtCbx",   "PutCbx",      "BOutCbx",
                                               "MpeenCbx", "ProtUp34Btn", "ProtUp12Btn"}
                                << false << false << "07FF"
                                << "00"
                                << "Set Program Memory to 3FFF ?";
        QTest::newRow("16f628") << "16f628" << QStringList{"LP",    "XT",         "HS",
                                                           "EC",    "IntRC IO",   "IntRC Clockout",
                                                           "ER IO", "ER Clockout"}
                                << "PS" << true
                                << QStringList{"WdtCbx",  "PutCbx", "LvpCbx",      "BOutCbx",
                                               "MClrCbx", "CpdCbx", "ProtUp34Btn", "ProtUp12Btn"}
                                << true << false << "07FF"
                                << "7F"
                                << "Set Program Memory to 3FFF ?";
    }

    void deviceChangeAdaptsControls()
    {
        QFETCH(QString, device);
        QFETCH(QStringList, oscItems);
        QFETCH(QString, method);
        QFETCH(bool, parallelChecked);
        QFETCH(QStringList, enabled);
        QFETCH(bool, hasData);
        QFETCH(bool, hasCalibration);
        QFETCH(QString, progEnd);
        QFETCH(QString, dataEnd);
        QFETCH(QString, question);

        Program p;
        TTolmMain &main = p.Main();
        Find<QRadioButton>(main, "ProtAllBtn")->setChecked(true);
        Find<QLineEdit>(main, "ProgStartEdit")->setText(QStringLiteral("0100"));
        PickDevice(main, device);

        QCOMPARE(main.CurrentDevice().DeviceName, device);
        QCOMPARE(Items(Find<QComboBox>(main, "OscBox")), oscItems);
        QCOMPARE(Find<QComboBox>(main, "OscBox")->currentIndex(), oscItems.size() - 1);
        QCOMPARE(Find<QRadioButton>(main, "ParallelRBtn")->isEnabled(), method.contains('P'));
        QCOMPARE(Find<QRadioButton>(main, "SerialRBtn")->isEnabled(), method.contains('S'));
        QCOMPARE(Find<QRadioButton>(main, "ParallelRBtn")->isChecked(), parallelChecked);
        QCOMPARE(Find<QRadioButton>(main, "SerialRBtn")->isChecked(), !parallelChecked);
        QVERIFY(Find<QRadioButton>(main, "ProtNoneBtn")->isChecked());
        QVERIFY(!Find<QRadioButton>(main, "ProtAllBtn")->isChecked());
        QCOMPARE(EnabledOptionWidgets(main), enabled);
        QCOMPARE(!Find<QGroupBox>(main, "DataMemBox")->isHidden(), hasData);
        QCOMPARE(Find<QGroupBox>(main, "DataMemBox")->isEnabled(), hasData);
        QCOMPARE(Find<QCheckBox>(main, "DataMemCbx")->isEnabled(), hasData);
        QCOMPARE(Find<QToolButton>(main, "DataEditorBtn")->isEnabled(), hasData);
        QCOMPARE(Find<QToolButton>(main, "UnProtectBtn")->isEnabled(), hasData);
        QCOMPARE(!Find<QGroupBox>(main, "CalibrationBox")->isHidden(), hasCalibration);
        QVERIFY(Find<QCheckBox>(main, "ConfigCbx")->isEnabled());
        QVERIFY(Find<QToolButton>(main, "ProtectBtn")->isEnabled());
        QCOMPARE(Find<QLineEdit>(main, "ProgStartEdit")->text(), QStringLiteral("0000"));
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), progEnd);
        QCOMPARE(Find<QLineEdit>(main, "DataStartEdit")->text(), QStringLiteral("00"));
        QCOMPARE(Find<QLineEdit>(main, "DataEndEdit")->text(), dataEnd);
        QStringList expected{"Confirm: " + question};
        // No port is held, so the memory-parity device's module check finds no module.
        if (main.CurrentDevice().HasMemoryParity)
            expected << QStringLiteral("Plain: Programmer Device Not Connected");
        QCOMPARE(p.messages.shown, expected);
    }

    void enabledBoxesKeepTheirCheckDisabledOnesAreCleared()
    {
        Program p;
        TTolmMain &main = p.Main();
        PickDevice(main, QStringLiteral("16f877"));
        for (QCheckBox *box :
             {Find<QCheckBox>(main, "WdtCbx"), Find<QCheckBox>(main, "PutCbx"),
              Find<QCheckBox>(main, "BOutCbx"), Find<QCheckBox>(main, "LvpCbx"),
              Find<QCheckBox>(main, "DebugCbx"), Find<QCheckBox>(main, "WrtCbx"),
              Find<QCheckBox>(main, "CpdCbx"), Find<QCheckBox>(main, "ProgMemCbx"),
              Find<QCheckBox>(main, "DataMemCbx"), Find<QCheckBox>(main, "ConfigCbx"),
              Find<QCheckBox>(main, "IDCodeCbx")})
            box->setChecked(true);

        PickDevice(main, QStringLiteral("16f84"));
        QVERIFY(Find<QCheckBox>(main, "WdtCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "PutCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "DataMemCbx")->isChecked());
        for (QCheckBox *box : {Find<QCheckBox>(main, "BOutCbx"), Find<QCheckBox>(main, "LvpCbx"),
                               Find<QCheckBox>(main, "DebugCbx"), Find<QCheckBox>(main, "WrtCbx"),
                               Find<QCheckBox>(main, "CpdCbx")}) {
            QVERIFY2(!box->isChecked() && !box->isEnabled(), qPrintable(box->objectName()));
        }

        PickDevice(main, QStringLiteral("16c54"));
        QVERIFY(Find<QCheckBox>(main, "WdtCbx")->isChecked());
        QVERIFY(!Find<QCheckBox>(main, "PutCbx")->isChecked() &&
                !Find<QCheckBox>(main, "PutCbx")->isEnabled());
        QVERIFY(!Find<QCheckBox>(main, "DataMemCbx")->isChecked() &&
                !Find<QCheckBox>(main, "DataMemCbx")->isEnabled());
        // The other targets are the user's choice and stay as they were.
        QVERIFY(Find<QCheckBox>(main, "ProgMemCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "ConfigCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "IDCodeCbx")->isChecked());

        PickDevice(main, QStringLiteral("16f877"));
        QVERIFY(Find<QCheckBox>(main, "WdtCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "BOutCbx")->isEnabled() &&
                !Find<QCheckBox>(main, "BOutCbx")->isChecked());
        QVERIFY(Find<QCheckBox>(main, "DataMemCbx")->isEnabled() &&
                !Find<QCheckBox>(main, "DataMemCbx")->isChecked());
    }

    void fillQuestionTouchesOnlyTheProgramImage_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void fillQuestionTouchesOnlyTheProgramImage()
    {
        QFETCH(bool, answer);
        QVERIFY(WriteSettings({"PicDevice=16f84"}));
        Program p;
        TTolmMain &main = p.Main();
        p.Image().SetProgramWordText(0x13, QStringLiteral("1234"));
        p.Image().SetDataByteText(0, QStringLiteral("12"));
        p.Image().ConfigWord = 0x3FF1;
        p.Image().IDCodeText = QStringLiteral("1234");
        Find<QLineEdit>(main, "CalEdit")->setText(QStringLiteral("5A"));
        p.messages.confirmAnswers << answer;

        PickDevice(main, QStringLiteral("12c509"));

        QCOMPARE(p.messages.shown, QStringList{"Confirm: Set Program Memory to 0FFF ?"});
        if (answer) {
            QVERIFY(EveryProgramCellIs(p.Image(), QStringLiteral("0FFF")));
        } else {
            QCOMPARE(p.Image().GetProgramWordText(0x13), QStringLiteral("1234"));
            QCOMPARE(p.Image().GetProgramWordText(0x1FFF), QStringLiteral("3FFF"));
        }
        QCOMPARE(p.Image().GetDataByteText(0), QStringLiteral("12"));
        QCOMPARE(p.Image().GetDataByteText(1), QStringLiteral("FF"));
        QCOMPARE(p.Image().ConfigWord, uint16_t(0x3FF1));
        QCOMPARE(p.Image().IDCodeText, QStringLiteral("1234"));
        QCOMPARE(Find<QLineEdit>(main, "CalEdit")->text(), QStringLiteral("5A"));
    }

    void deviceWithoutDataMemoryClosesTheEditor()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QToolButton>(main, "DataEditorBtn")->click();
        QVERIFY(p.windows->DataEditForm->isVisible());
        PickDevice(main, QStringLiteral("16f84"));
        QVERIFY(p.windows->DataEditForm->isVisible());
        PickDevice(main, QStringLiteral("16c54"));
        QVERIFY(!p.windows->DataEditForm->isVisible());
        QVERIFY(!Find<QToolButton>(main, "DataEditorBtn")->isEnabled());
    }

    void maxButtonsRestoreTheDeviceRange()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QLineEdit>(main, "ProgStartEdit")->setText(QStringLiteral("0010"));
        Find<QLineEdit>(main, "ProgEndEdit")->setText(QStringLiteral("0100"));
        Find<QLineEdit>(main, "DataStartEdit")->setText(QStringLiteral("10"));
        Find<QLineEdit>(main, "DataEndEdit")->setText(QStringLiteral("20"));
        Find<QPushButton>(main, "MaxProgBtn")->click();
        QCOMPARE(Find<QLineEdit>(main, "ProgStartEdit")->text(), QStringLiteral("0000"));
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), QStringLiteral("03FF"));
        QCOMPARE(Find<QLineEdit>(main, "DataStartEdit")->text(), QStringLiteral("10"));
        Find<QPushButton>(main, "MaxDataBtn")->click();
        QCOMPARE(Find<QLineEdit>(main, "DataStartEdit")->text(), QStringLiteral("00"));
        QCOMPARE(Find<QLineEdit>(main, "DataEndEdit")->text(), QStringLiteral("3F"));
    }

    void hexFieldsTakeOnlyHexDigits_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // pressed after the typed text; 0 for none
        QTest::addColumn<QString>("expected");

        QTest::newRow("letter past F") << "ProgStartEdit" << 0 << "g" << 0 << "0000";
        QTest::newRow("blank") << "ProgStartEdit" << 0 << " " << 0 << "0000";
        QTest::newRow("Backspace")
            << "ProgStartEdit" << 2 << "" << int(Qt::Key_Backspace) << "0000";
        QTest::newRow("Enter") << "ProgEndEdit" << 0 << "" << int(Qt::Key_Return) << "03FF";
        QTest::newRow("address field upper case") << "ProgStartEdit" << 0 << "a" << 0 << "A000";
        QTest::newRow("digits typed over") << "ProgEndEdit" << 1 << "1g2" << 0 << "012F";
        QTest::newRow("data field upper case") << "DataEndEdit" << 0 << "b" << 0 << "BF";
        QTest::newRow("direct access keeps case") << "ConfigEdit" << 0 << "a" << 0 << "a000";
        QTest::newRow("calibration keeps case") << "CalEdit" << 1 << "f" << 0 << "0f";
        QTest::newRow("Delete blanks a position")
            << "ProgEndEdit" << 1 << "" << int(Qt::Key_Delete) << "0_FF";
        QTest::newRow("Delete then digit")
            << "DataStartEdit" << 0 << "" << int(Qt::Key_Delete) << "_0";
    }

    void hexFieldsTakeOnlyHexDigits()
    {
        QFETCH(QString, field);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, expected);

        Program p;
        auto *edit = p.Main().findChild<QLineEdit *>(field);
        QVERIFY(edit);
        edit->setCursorPosition(cursor);
        QTest::keyClicks(edit, typed);
        if (key != 0)
            QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(edit->displayText(), expected);
    }

    void blankPositionKeepsTheFocus()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QTabWidget>(main, "OptionPages")->setCurrentWidget(Find<QWidget>(main, "Addresses"));
        main.show();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        Find<QLineEdit>(main, "ProgEndEdit")->setFocus();
        Find<QLineEdit>(main, "ProgEndEdit")->setCursorPosition(0);
        QTest::keyClick(Find<QLineEdit>(main, "ProgEndEdit"), Qt::Key_Delete);
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->displayText(), QStringLiteral("_3FF"));

        QTest::keyClick(Find<QLineEdit>(main, "ProgEndEdit"), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), Find<QLineEdit>(main, "ProgEndEdit"));

        Find<QLineEdit>(main, "ProgEndEdit")->setCursorPosition(0);
        QTest::keyClicks(Find<QLineEdit>(main, "ProgEndEdit"), QStringLiteral("1"));
        QCOMPARE(Find<QLineEdit>(main, "ProgEndEdit")->text(), QStringLiteral("13FF"));
        QTest::keyClick(Find<QLineEdit>(main, "ProgEndEdit"), Qt::Key_Tab);
        QTest::qWait(20);
        QVERIFY(QApplication::focusWidget() != Find<QLineEdit>(main, "ProgEndEdit"));

        // Two fields waiting for a digit do not pull the focus to and fro.
        Find<QLineEdit>(main, "ProgEndEdit")->setText(QString());
        Find<QLineEdit>(main, "ProgEndEdit")->setFocus();
        Find<QLineEdit>(main, "ProgStartEdit")->setText(QString());
        Find<QLineEdit>(main, "ProgStartEdit")->setFocus();
        QTest::qWait(50);
        QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(main, "ProgStartEdit"));
    }

    void selectorsChangeOnlyByPicking()
    {
        Program p;
        TTolmMain &main = p.Main();
        // Typing only finds a part; Escape gives the selected one back.
        QTest::keyClicks(Find<QComboBox>(main, "DeviceSelector"), QStringLiteral("16f877"));
        QTest::keyClick(Find<QComboBox>(main, "DeviceSelector"), Qt::Key_Space);
        QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("16c84"));
        QVERIFY(!Find<QComboBox>(main, "DeviceSelector")->view()->isVisible());
        QTest::keyClick(Find<QComboBox>(main, "DeviceSelector")->lineEdit(), Qt::Key_Escape);
        QCOMPARE(Find<QComboBox>(main, "DeviceSelector")->currentText(), QStringLiteral("16c84"));
        QTest::keyClicks(Find<QComboBox>(main, "OscBox"), QStringLiteral("LP"));
        QCOMPARE(Find<QComboBox>(main, "OscBox")->currentText(), QStringLiteral("RC"));
        QVERIFY(p.messages.shown.isEmpty());

        // An arrow key is a pick: the next device in the list is selected.
        QTest::keyClick(Find<QComboBox>(main, "DeviceSelector"), Qt::Key_Down);
        QCOMPARE(main.CurrentDevice().DeviceName, QStringLiteral("16f83"));
        QCOMPARE(p.messages.shown, QStringList{"Confirm: Set Program Memory to 3FFF ?"});
    }

    void builtFromControls_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("checked"); // boxes the user ticks first
        QTest::addColumn<QString>("expected");

        QTest::newRow("16f84 RC None") << "16f84" << QStringList{} << "3FFB";
        QTest::newRow("16f84 with watchdog") << "16f84" << QStringList{"WdtCbx"} << "3FFF";
        QTest::newRow("16c54") << "16c54" << QStringList{} << "0FFB";
        QTest::newRow("12c508 MCLR") << "12c508" << QStringList{"MClrCbx"} << "0FFB";
        QTest::newRow("16f877 fresh") << "16f877" << QStringList{} << "3D3B";
        QTest::newRow("16f628 fresh") << "16f628" << QStringList{} << "3F1B";
        QTest::newRow("16f877 all protected") << "16f877" << QStringList{"ProtAllBtn"} << "0D0B";
    }

    void builtFromControls()
    {
        QFETCH(QString, device);
        QFETCH(QStringList, checked);
        QFETCH(QString, expected);

        Program p;
        TTolmMain &main = p.Main();
        PickDevice(main, device);
        for (const QString &name : checked)
            main.findChild<QAbstractButton *>(name)->click();
        Find<QToolButton>(main, "RefreshBtn")->click();
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(), expected);
        QCOMPARE(main.ConfigWord(), uint16_t(expected.toUInt(nullptr, 16)));
    }

    // Every part of the catalogue can be picked, and a word loaded for it (fields the System page
    // does not show set away from their blank value) comes back whole from its controls.
    void everyPartTakesAWordBackWhole_data()
    {
        QTest::addColumn<QString>("device");
        for (const QString &name : SelectorDeviceNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyPartTakesAWordBackWhole()
    {
        QFETCH(QString, device);
        const DeviceRecord d = *FindDevice(device);
        const ConfigWordDef &config = d.Part->config.front();
        // Word-built protection takes every other bit from the protection word, as it always has.
        const auto unbound = config.protection == ProtectionStyle::Patterns
                                 ? static_cast<uint16_t>(config.implemented & ~ConfigBitsUsed(d))
                                 : uint16_t{0};
        const uint16_t word =
            ControlsToConfig(ControlsAfterDeviceSelection(d, {}), d, config.blank) ^
            (unbound & 0x0555);

        Program p;
        TTolmMain &main = p.Main();
        PickDevice(main, device);
        QCOMPARE(main.CurrentDevice().DeviceName, device);
        p.Image().ConfigWord = word;
        main.ConfigToControls();
        Find<QToolButton>(main, "RefreshBtn")->click();
        QCOMPARE(Find<QLineEdit>(main, "ConfigEdit")->text(), FormatHex(word, 4));
    }

    void protectionFromWord_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("checked"); // empty: no protection choice shown
        // 16c64: protection bits 6-4 under mask 0x0070.
        QTest::newRow("001 upper 3/4") << 0x3F9F << "ProtUp34Btn";
        QTest::newRow("010 upper 1/2") << 0x3FAF << "ProtUp12Btn";
        QTest::newRow("000 all") << 0x3F8F << "ProtAllBtn";
        QTest::newRow("011 none") << 0x3FBF << "ProtNoneBtn";
        QTest::newRow("111 matches no pattern") << 0x3FFF << "";
    }

    void protectionFromWord()
    {
        QFETCH(int, word);
        QFETCH(QString, checked);

        Program p;
        TTolmMain &main = p.Main();
        PickDevice(main, QStringLiteral("16c64"));
        Find<QRadioButton>(main, "ProtAllBtn")->setChecked(true);
        p.Image().ConfigWord = uint16_t(word);
        main.ConfigToControls();

        for (QRadioButton *b :
             {Find<QRadioButton>(main, "ProtNoneBtn"), Find<QRadioButton>(main, "ProtUp12Btn"),
              Find<QRadioButton>(main, "ProtUp34Btn"), Find<QRadioButton>(main, "ProtAllBtn")})
            QCOMPARE(b->isChecked(), b->objectName() == checked);
        QCOMPARE(Find<QComboBox>(main, "OscBox")->currentIndex(), word & 3);
        // The choices stay one exclusive group for the user's next click.
        QVERIFY(Find<QButtonGroup>(main, "ProtectionGroup")->exclusive());
        Find<QRadioButton>(main, "ProtUp12Btn")->click();
        Find<QRadioButton>(main, "ProtNoneBtn")->click();
        QVERIFY(Find<QRadioButton>(main, "ProtNoneBtn")->isChecked() &&
                !Find<QRadioButton>(main, "ProtUp12Btn")->isChecked());
    }
};

QTEST_MAIN(DeviceAndControlsTest)
#include "DeviceAndControlsTest.moc"
