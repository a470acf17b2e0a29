// The parts that hold the user's request, each alone: the device selector, the targets,
// method and ranges, the configuration controls, the checksum and the module's port.
#include "ScriptedMessages.h"
#include "app/ChecksumDisplay.h"
#include "app/ChipRequest.h"
#include "app/ConfigurationPart.h"
#include "app/DeviceChoice.h"
#include "app/ModuleConnection.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

template <typename T> T *Control(QWidget *under, const char *name)
{
    return under->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class ControlPartsTest : public QObject
{
    Q_OBJECT

private slots:
    // The program's own selection never counts as the user's pick; an unknown name keeps the
    // device, and the selector shows it.
    void deviceChoice()
    {
        DeviceChoice choice;
        const QSignalSpy picked(&choice, &DeviceChoice::DeviceSelectorChange);
        QVERIFY(choice.Select("16f84"));
        QVERIFY(!choice.Select("16F84"));
        QCOMPARE(choice.Current().DeviceName, QStringLiteral("16f84"));
        QCOMPARE(choice.SelectorText(), QStringLiteral("16f84"));
        auto *selector = qobject_cast<QComboBox *>(choice.Selector());
        emit selector->activated(selector->findText("12c508"));
        QCOMPARE(picked.count(), 1);
    }

    void requestFollowsTheDevice_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("parallelOffered");
        QTest::addColumn<bool>("serialOffered");
        QTest::addColumn<bool>("dataOffered");
        QTest::addColumn<QString>("progEnd");
        QTest::newRow("16c54: parallel only, no data")
            << "16c54" << true << false << false << "01FF";
        QTest::newRow("12c508: serial only") << "12c508" << false << true << false << "01FF";
        QTest::newRow("16f877: both, data") << "16f877" << true << true << true << "1FFF";
    }

    // The method offered and preselected, the ranges at their maximum, the data target gone
    // (and unticked) where there is no data memory.
    void requestFollowsTheDevice()
    {
        QFETCH(QString, device);
        QFETCH(bool, parallelOffered);
        QFETCH(bool, dataOffered);
        ScriptedMessages messages;
        ChipRequest request(messages);
        DeviceChoice choice;
        QVERIFY(choice.Select("16f84"));
        request.AdaptToDevice(choice.Current());
        request.TickOfferedTargets();
        QVERIFY(choice.Select(device));
        request.AdaptToDevice(choice.Current());
        QTEST(Control<QRadioButton>(request.MethodGroup(), "ParallelRBtn")->isEnabled(),
              "parallelOffered");
        QTEST(Control<QRadioButton>(request.MethodGroup(), "SerialRBtn")->isEnabled(),
              "serialOffered");
        QCOMPARE(request.ParallelSelected(), parallelOffered);
        QCOMPARE(request.CheckedTargets().Data, dataOffered);
        QCOMPARE(request.DataRangeGroup()->isHidden(), !dataOffered);
        QTEST(request.AddressTexts().ProgEnd, "progEnd");
        QCOMPARE(request.AddressTexts().DataEnd, choice.Current().DataMaxText);
    }

    void requestReadsItsFieldsAsShown()
    {
        ScriptedMessages messages;
        ChipRequest request(messages);
        QVERIFY(request.NoTargetSelected());
        QCOMPARE(messages.shown, QStringList{"Warning: No target selected"});
        Control<QCheckBox>(request.TargetsGroup(), "IDCodeCbx")->setChecked(true);
        QVERIFY(!request.NoTargetSelected());
        QVERIFY(request.Ticked(ChipTarget::IdCode) && !request.Ticked(ChipTarget::ConfigWord));
        // A blank position stays a blank: "03F_" must not convert as 03F.
        Control<QLineEdit>(request.ProgramRangeGroup(), "ProgEndEdit")->setText("03F");
        QCOMPARE(request.AddressTexts().ProgEnd, QStringLiteral("03F_"));
    }

    void configurationCarriesTheWord_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("checked");
        QTest::newRow("16f84, XT, power-up timer") << "16f84" << 0x3FF1 << "PutCbx";
        QTest::newRow("16f877, write enable") << "16f877" << 0x3F31 << "WrtCbx";
        QTest::newRow("12c508, MCLR") << "12c508" << 0x0FFB << "MClrCbx";
    }

    // The image's word to the controls and back gives the same word, "Built from controls"
    // shows it, and a box the next device does not offer is cleared and disabled.
    void configurationCarriesTheWord()
    {
        QFETCH(QString, device);
        QFETCH(int, word);
        QFETCH(QString, checked);
        MemoryImage image;
        DeviceChoice choice;
        QVERIFY(choice.Select(device));
        ConfigurationPart config(image, choice.Current());
        config.AdaptToDevice();
        image.ConfigWord = static_cast<std::uint16_t>(word);
        config.ConfigToControls();
        auto *box = Control<QCheckBox>(config.SystemGroup(), qPrintable(checked));
        QVERIFY(box->isChecked());
        image.ConfigWord = 0;
        QCOMPARE(config.ControlsToConfig(), word);
        qobject_cast<QToolButton *>(config.BuiltFromControlsButton())->click();
        QCOMPARE(config.DirectText(), QStringLiteral("%1").arg(word, 4, 16, QChar('0')).toUpper());

        const QSignalSpy changed(&config, &ConfigurationPart::ControlsChanged);
        QVERIFY(choice.Select("16c54")); // offers the watchdog alone
        config.AdaptToDevice();
        QVERIFY(!box->isChecked() && !box->isEnabled());
        QVERIFY(changed.count() > 0);
    }

    // The sum waits while chip work runs, then counts the words and the word the controls build.
    void checksumWaitsForTheWork()
    {
        MemoryImage image;
        DeviceChoice choice;
        QVERIFY(choice.Select("16f84"));
        ConfigurationPart config(image, choice.Current());
        config.AdaptToDevice();
        bool busy = true;
        ChecksumDisplay checksum(image, choice.Current(), config, [&busy] { return busy; });
        auto *label = qobject_cast<QLabel *>(checksum.Label());
        image.FillProgramImage("3FFF");
        image.SetProgramWordText(0, "2805");
        QApplication::processEvents();
        QCOMPARE(label->text(), QString());
        busy = false;
        checksum.Schedule();
        QApplication::processEvents();
        const std::uint16_t sum = ImageChecksum(image, choice.Current(), config.WordFromControls());
        QCOMPARE(label->text(),
                 "Checksum " + QString::number(sum, 16).rightJustified(4, '0').toUpper());
    }

    void portStatus_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("notOpen");
        QTest::newRow("none chosen") << ""
                                     << "Choose the module's port in Options"
                                     << "No port is chosen for the module. Choose the module's "
                                        "port in Options.";
        QTest::newRow("missing device")
            << "<dir>/module"
            << "<dir>/module: cannot be opened"
            << "<dir>/module is not open: there is no such device. Plug in the adapter or choose "
               "another port in Options, then Connect.";
    }

    // What the status line and the box before any chip work say about the port.
    void portStatus()
    {
        QFETCH(QString, port);
        QFETCH(QString, status);
        QFETCH(QString, notOpen);
        QTemporaryDir dir;
        for (QString *text : {&port, &status, &notOpen})
            text->replace("<dir>", dir.path());
        ScriptedMessages messages;
        ModuleConnection module(messages);
        module.ModulePortName = port;
        module.OpenAtStartup();
        QCOMPARE(module.PortStatusText(), status);
        QCOMPARE(module.PortNotOpenText(), notOpen);
    }
};

QTEST_MAIN(ControlPartsTest)
#include "ControlPartsTest.moc"
