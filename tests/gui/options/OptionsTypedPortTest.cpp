// A port the system does not list, typed in the Options dialog: taken by name, stored by
// name, and listed again on later showings and after a restart; and the reload setting.
#include "MainWindowFixture.h"
#include "app/ModulePortChoices.h"
#include "app/Optdlg.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace MainWindowFixture;

namespace {

const QString kById = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");

QStringList Names(const TOptionsDlg &dlg)
{
    QStringList names;
    for (const QRadioButton *button : dlg.PortButtons())
        names << button->property("portName").toString();
    return names;
}

// Opens Options from the main window, lets `edit` work on it, and closes it with OK.
void RunOptions(Program &p, const std::function<void(TOptionsDlg &)> &edit)
{
    TOptionsDlg &options = *p.windows->OptionsDlg;
    p.messages.confirmAnswers << false; // the program memory question
    QTimer::singleShot(0, &options, [&] {
        edit(options);
        options.OKBtn->click();
    });
    Find<QToolButton>(p.Main(), "OptionsBtn")->click();
}

} // namespace

class OptionsTypedPortTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void typingPicksTheName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("port");
        QTest::newRow("a device name") << "ttyUSB3"
                                       << "ttyUSB3";
        QTest::newRow("a path, blanks trimmed") << "  " + kById + " " << kById;
        QTest::newRow("nothing typed: no port") << "   "
                                                << "";
    }

    void typingPicksTheName()
    {
        QFETCH(QString, typed);
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QStringLiteral("COM2"), {});
        QTest::keyClicks(dlg.PortEdit, typed);
        QVERIFY(dlg.OtherPortBtn->isChecked());
        QTEST(dlg.PortText(), "port");
    }

    // Picking "Other" puts the cursor into its field; OK with the field empty is refused with
    // the reason, and the dialog stays open on the field.
    void otherTakesTheCursorAndNeedsAName()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QString(), {}, {"COM1"});
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.OtherPortBtn->click();
        QCOMPARE(QApplication::focusWidget(), dlg.PortEdit);
        dlg.OKBtn->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].startsWith("Warning: Type the module's port"));
        QCOMPARE(QApplication::focusWidget(), dlg.PortEdit);
    }

    // OK applies it for this run and lists it next time; Save stores it in ModulePort and in
    // its own section, so it stays listed after the user picks another port and restarts.
    // The ports are names in the test's own folder: nothing of this machine is opened.
    void aTypedPortIsKeptAndListed()
    {
        QTemporaryDir dir;
        const QString typed = dir.filePath(QStringLiteral("usb3"));
        const QStringList com{"COM1", "COM2"};
        QVERIFY(WriteSettings(
            {"WorkingDir=/srv/hex", "PicDevice=16f84", "ModulePort=" + dir.filePath("old")}));
        {
            Program p;
            RunOptions(
                p, [&typed](TOptionsDlg &options) { QTest::keyClicks(options.PortEdit, typed); });
            QCOMPARE(p.Main().ModulePortName(), typed);
            TOptionsDlg &options = *p.windows->OptionsDlg;
            options.SetPortText(p.Main().ModulePortName(), {}, com);
            QCOMPARE(Names(options), QStringList({"COM1", "COM2", typed}));
            QCOMPARE(options.PortText(), typed);
            QVERIFY(options.PortEdit->text().isEmpty());
            options.SaveBtn->click();
        }
        QCOMPARE(SettingsText(), "[Main]\r\nWorkingDir=/srv/hex\r\nPicDevice=16f84\r\nModulePort=" +
                                     typed.toUtf8() +
                                     "\r\n\r\n[Typed Ports]\r\nPort1=" + typed.toUtf8() + "\r\n");
        Program next;
        QCOMPARE(next.Main().ModulePortName(), typed);
        TOptionsDlg &options = *next.windows->OptionsDlg;
        options.SetPortText(QStringLiteral("COM1"), {{typed, "FT232R USB UART"}}, com);
        // A typed name the system now lists is not offered twice.
        QCOMPARE(Names(options), QStringList({"COM1", "COM2", typed}));
        options.SetPortText(QStringLiteral("COM1"), {}, com);
        QCOMPARE(Names(options), QStringList({"COM1", "COM2", typed}));
        QCOMPARE(options.PortText(), QStringLiteral("COM1"));
        QCOMPARE(ModulePortChoices({}, "COM1", {"/dev/ttyS1", "ttyUSB3"}).size(),
                 3); // ttyS1 is COM2
    }

    // A port typed once (a name mistyped, an adapter given away) can be struck off the list;
    // the port in use stays listed while it is in use.
    void aTypedPortCanBeRemoved()
    {
        QVERIFY(WriteSettings({"ModulePort=/tmp/in-use"}));
        QFile file(TolmSettings::SettingsFilePath());
        QVERIFY(file.open(QIODevice::Append));
        file.write("[Typed Ports]\r\nPort1=/tmp/typo\r\nPort2=/tmp/in-use\r\n");
        file.close();
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QStringLiteral("/tmp/in-use"), {}, {"COM1"});
        QCOMPARE(Names(dlg), QStringList({"COM1", "/tmp/typo", "/tmp/in-use"}));
        QVERIFY(!dlg.RemovePortBtn->isEnabled());
        dlg.PortButtons()[1]->click();
        QVERIFY(dlg.RemovePortBtn->isEnabled());
        dlg.RemovePortBtn->click();
        QCOMPARE(Names(dlg), QStringList({"COM1", "/tmp/in-use"}));
        QCOMPARE(dlg.PortText(), QString());
        QVERIFY(!dlg.RemovePortBtn->isEnabled());
        dlg.PortButtons()[0]->click();
        dlg.SaveBtn->click();
        QVERIFY(!SettingsText().contains("/tmp/typo"));
    }

    void reloadSettingIsSavedOnlyWhenSet()
    {
        {
            Program p;
            QVERIFY(!p.Main().ReloadAtOnce());
            RunOptions(p, [](TOptionsDlg &options) {
                QVERIFY(!options.ReloadAtOnceCbx->isChecked());
                options.SaveBtn->click();
            });
            QVERIFY(!SettingsText().contains("[Files]"));
            RunOptions(p, [](TOptionsDlg &options) {
                options.ReloadAtOnceCbx->setChecked(true);
                options.SaveBtn->click();
            });
            QVERIFY(p.Main().ReloadAtOnce());
        }
        QVERIFY(SettingsText().contains("[Files]\nReloadAtOnce=1\n"));
        Program next;
        QVERIFY(next.Main().ReloadAtOnce());
    }
};

QTEST_MAIN(OptionsTypedPortTest)
#include "OptionsTypedPortTest.moc"
