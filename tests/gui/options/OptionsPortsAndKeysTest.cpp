// The Options dialog on Linux: every serial port the system reports, a hand-set port kept,
// and the dialog worked from the keyboard.
#include "ScriptedMessages.h"
#include "app/ModulePortChoices.h"
#include "app/Optdlg.h"
#include "settings/TolmSettings.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QList<SystemPort> kMachinePorts{{"ttyACM0", "USB CDC Serial"},
                                      {"ttyS0", "16550A"},
                                      {"ttyS4", ""},
                                      {"ttyUSB0", "FT232R USB UART"}};

// A machine with both COM ports, whatever the machine running the test has.
const QStringList kBothCom{"COM1", "COM2"};

QStringList Labels(const TOptionsDlg &dlg)
{
    QStringList labels;
    for (const QRadioButton *button : dlg.PortButtons())
        labels << button->text();
    return labels;
}

QString FocusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

class OptionsPortsAndKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { QFile::remove(TolmSettings::SettingsFilePath()); }

    void portChoices_data()
    {
        QTest::addColumn<QList<SystemPort>>("system");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("labels");
        const QStringList com{"COM1", "COM2"};
        QTest::newRow("no system ports") << QList<SystemPort>{} << "COM2" << com << com;
        QTest::newRow("system ports, ttyS0 is COM1")
            << kMachinePorts << "COM1" << com + QStringList{"ttyACM0", "ttyS4", "ttyUSB0"}
            << com + QStringList{"ttyACM0 - USB CDC Serial", "ttyS4", "ttyUSB0 - FT232R USB UART"};
        QTest::newRow("current is a system port")
            << kMachinePorts << "ttyUSB0" << com + QStringList{"ttyACM0", "ttyS4", "ttyUSB0"}
            << com + QStringList{"ttyACM0 - USB CDC Serial", "ttyS4", "ttyUSB0 - FT232R USB UART"};
        QTest::newRow("simulator link added last")
            << QList<SystemPort>{{"ttyUSB0", ""}} << "/tmp/sim/link"
            << com + QStringList{"ttyUSB0", "/tmp/sim/link"}
            << com + QStringList{"ttyUSB0", "/tmp/sim/link"};
        QTest::newRow("empty current adds nothing") << QList<SystemPort>{} << "" << com << com;
    }

    // COM1 and COM2 only where /dev/ttyS0 and /dev/ttyS1 exist; a current name is kept all
    // the same, and ttyS0 reported by the system stands for itself when COM1 is not offered.
    void comPortsOnlyWhereTheirDevicesAre_data()
    {
        QTest::addColumn<QList<SystemPort>>("system");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("no ttyS1") << QList<SystemPort>{} << QStringList{"COM1"} << ""
                                  << QStringList{"COM1"};
        QTest::newRow("neither, none chosen")
            << QList<SystemPort>{{"ttyUSB0", ""}} << QStringList{} << "" << QStringList{"ttyUSB0"};
        QTest::newRow("neither, COM1 chosen before")
            << QList<SystemPort>{} << QStringList{} << "COM1" << QStringList{"COM1"};
        QTest::newRow("ttyS0 without COM1")
            << QList<SystemPort>{{"ttyS0", ""}} << QStringList{} << "" << QStringList{"ttyS0"};
    }
    void comPortsOnlyWhereTheirDevicesAre()
    {
        QFETCH(QList<SystemPort>, system);
        QFETCH(QStringList, existing);
        QFETCH(QString, current);
        QStringList names;
        for (const PortChoice &choice : ModulePortChoices(system, current, {}, existing))
            names << choice.name;
        QTEST(names, "names");

        // The dialog shows the same, its fixed COM buttons included.
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(current, system, existing);
        QCOMPARE(Labels(dlg).size(), names.size());
        QCOMPARE(!dlg.Com2Btn->isHidden(), names.contains("COM2"));
    }
    void portChoices()
    {
        QFETCH(QList<SystemPort>, system);
        QFETCH(QString, current);
        QFETCH(QStringList, names);
        QFETCH(QStringList, labels);
        QStringList gotNames;
        QStringList gotLabels;
        for (const PortChoice &choice : ModulePortChoices(system, current)) {
            gotNames << choice.name;
            gotLabels << choice.label;
        }
        QCOMPARE(gotNames, names);
        QCOMPARE(gotLabels, labels);
    }

    // Each showing lists the ports anew; the pick is stored by name, never by its label.
    void pickedSystemPortIsSavedByName()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QStringLiteral("/tmp/sim/link"), kMachinePorts, kBothCom);
        QCOMPARE(Labels(dlg), QStringList({"COM1", "COM2", "ttyACM0 - USB CDC Serial", "ttyS4",
                                           "ttyUSB0 - FT232R USB UART", "/tmp/sim/link"}));
        QCOMPARE(dlg.PortText(), QStringLiteral("/tmp/sim/link"));
        dlg.SetPortText(QStringLiteral("COM2"), {{"ttyUSB0", "FT232R USB UART"}}, kBothCom);
        QCOMPARE(Labels(dlg), QStringList({"COM1", "COM2", "ttyUSB0 - FT232R USB UART"}));
        QCOMPARE(dlg.PortText(), QStringLiteral("COM2"));

        dlg.PortButtons().last()->click();
        QCOMPARE(dlg.PortText(), QStringLiteral("ttyUSB0"));
        dlg.SaveBtn->click();
        QVERIFY(messages.shown.isEmpty());
        QFile file(TolmSettings::SettingsFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("ModulePort=ttyUSB0\n"));
    }

    // Tab walks the fields as they are read, then the buttons; Alt keys reach each group.
    void keyboard()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QStringLiteral("ttyUSB0"), {{"ttyUSB0", ""}}, kBothCom);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(FocusName(), QStringLiteral("PortBtn1"));
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusName();
        }
        QCOMPARE(visited,
                 QStringList({"PortEdit", "DeviceSelectOpt", "WorkingDirEdit", "ReloadAtOnceCbx",
                              "ConfirmSuccessesCbx", "ProductionLogCbx", "ProductionLogEdit",
                              "OKBtn", "CancelBtn", "SaveBtn", "PortBtn1"}));

        QTest::keyClick(&dlg, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(FocusName(), QStringLiteral("DeviceSelectOpt"));
        QTest::keyClick(&dlg, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(FocusName(), QStringLiteral("PortBtn1"));
        QTest::keyClick(&dlg, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(QFile::exists(TolmSettings::SettingsFilePath()));
        QTest::keyClick(&dlg, Qt::Key_W, Qt::AltModifier);
        QCOMPARE(FocusName(), QStringLiteral("WorkingDirEdit"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the dialog");
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.DeviceSelectOpt->setEditText(QStringLiteral("16f84"));
        dlg.WorkingDirEdit->setText(QStringLiteral("/home/user/pic/projects"));
        dlg.SetPortText(QStringLiteral("/tmp/tolm-modsim-Xa81/link"),
                        {{"ttyS4", ""}, {"ttyUSB0", "FT232R USB UART"}}, kBothCom);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.grab().save(dir + QStringLiteral("/options-simulator-link.png")));
    }
};

QTEST_MAIN(OptionsPortsAndKeysTest)
#include "OptionsPortsAndKeysTest.moc"
