// The module port from the window: start-up open, the Port dialog's Connect and Release,
// and the module check after a device change, against tolm-modsim on a pseudo-terminal.
#include "MainWindowFixture.h"
#include "ModsimProcess.h"
#include "app/PortConU.h"

#include <QTemporaryDir>
#include <QTimer>

using namespace MainWindowFixture;

class PortTest : public QObject
{
    Q_OBJECT

    // A port name in the test's own folder where nothing is: never a port of this machine.
    QTemporaryDir m_dir;
    const QString kMissingPort = m_dir.filePath(QStringLiteral("no-module-here"));

private slots:
    void portDialogAnswers_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("Release") << "ReleaseBtn" << TPortDlg::kReleaseResult;
        QTest::newRow("Connect") << "OKBtn" << TPortDlg::kConnectResult;
        QTest::newRow("Cancel") << "CancelBtn" << TPortDlg::kCancelResult;
        QTest::newRow("Esc") << "Esc" << TPortDlg::kCancelResult;
        QTest::newRow("Enter") << "Enter" << TPortDlg::kConnectResult;
    }

    void portDialogAnswers()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        TPortDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Port"));
        QTimer::singleShot(0, &dialog, [&] {
            if (button == "Esc")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (button == "Enter")
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            else
                dialog.findChild<QPushButton *>(button)->click();
        });
        QCOMPARE(dialog.exec(), result);
    }

    void startupWithAnUnopenablePortGoesOn()
    {
        QVERIFY(WriteSettings({"ModulePort=" + kMissingPort, "PicDevice=16f84"}));
        Program p(true);
        QCOMPARE(p.messages.shown, QStringList{"Plain: COM Port Error"});
        QCOMPARE(p.Main().Module().Link().State(), PortState::OpenFailed);
        QCOMPARE(p.Main().CurrentDevice().DeviceName, QStringLiteral("16f84"));
        QVERIFY(!p.Main().ModuleConnected());
    }

    void connectWithAnUnopenablePortShowsBothMessages()
    {
        QVERIFY(WriteSettings({"ModulePort=" + kMissingPort}));
        Program p(true);
        p.messages.shown.clear();
        p.Main().Module().HandlePortChoice(TPortDlg::kConnectResult, p.messages);
        QCOMPARE(p.messages.shown,
                 QStringList({"Plain: COM Port Error", "Plain: Programmer Device NOT Connected"}));
        QVERIFY(!p.Main().ModuleConnected());
    }

    void connectFindsTheSimulatedModuleThroughTheDialog()
    {
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16f84"), qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath()}));
        Program p(true);
        QVERIFY(p.messages.shown.isEmpty()); // the start-up open worked and sent nothing
        QCOMPARE(p.Main().Module().Link().State(), PortState::Held);

        QTimer::singleShot(0, p.windows->PortDlg.get(),
                           [&] { p.windows->PortDlg->OKBtn->click(); });
        Find<QToolButton>(p.Main(), "ConnectBtn")->click();
        QCOMPARE(p.messages.shown, QStringList{"Plain: Programmer Device Connected"});
        QVERIFY(p.Main().ModuleConnected());
    }

    void releaseTwiceClosesOnceAndSaysSoTwice()
    {
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16f84"), qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath()}));
        Program p(true);
        ModuleConnection &module = p.Main().Module();
        module.HandlePortChoice(TPortDlg::kReleaseResult, p.messages);
        QCOMPARE(module.Link().State(), PortState::NoPort);
        module.HandlePortChoice(TPortDlg::kReleaseResult, p.messages);
        QCOMPARE(module.Link().State(), PortState::NoPort);
        const QString released = "Plain: " + modsim.LinkPath() + " Released !... ";
        QCOMPARE(p.messages.shown, QStringList({released, released}));

        // After a Release the module is out of reach until Connect opens the port again.
        p.messages.shown.clear();
        module.HandlePortChoice(TPortDlg::kConnectResult, p.messages);
        QCOMPARE(p.messages.shown, QStringList{"Plain: Programmer Device Connected"});
    }

    void cancelAndABusyModuleLeaveThePortAlone()
    {
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16f84"), qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath()}));
        Program p(true);
        ModuleConnection &module = p.Main().Module();
        module.HandlePortChoice(TPortDlg::kCancelResult, p.messages);
        module.OperationInProgress = true;
        module.HandlePortChoice(TPortDlg::kReleaseResult, p.messages);
        module.HandlePortChoice(TPortDlg::kConnectResult, p.messages);
        QVERIFY(p.messages.shown.isEmpty());
        QCOMPARE(module.Link().State(), PortState::Held);
    }

    void deviceChangeChecksTheModuleOnlyForMemoryParity_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("identifyByte");
        QTest::addColumn<QString>("message"); // empty: nothing after the fill question
        QTest::addColumn<int>("exchanges");
        QTest::newRow("16c715, foreign module") << "16c715"
                                                << "55"
                                                << "Plain: Incorrect Programmer Device" << 1;
        QTest::newRow("16c715, parity module") << "16c715"
                                               << "AA"
                                               << "" << 1;
        QTest::newRow("16f84 sends nothing") << "16f84"
                                             << "55"
                                             << "" << 0;
    }

    void deviceChangeChecksTheModuleOnlyForMemoryParity()
    {
        QFETCH(QString, device);
        QFETCH(QString, identifyByte);
        QFETCH(QString, message);
        QFETCH(int, exchanges);
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16c715", {"--identify-byte", identifyByte}),
                 qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath(), "PicDevice=16c84"}));
        Program p(true);
        QStringList wire;
        p.Main().Module().Module().SetTranscript(
            [&](const std::string &line) { wire << QString::fromStdString(line); });

        PickDevice(p.Main(), device);
        QStringList expected{"Confirm: Set Program Memory to 3FFF ?"};
        if (!message.isEmpty())
            expected << message;
        QCOMPARE(p.messages.shown, expected);
        QCOMPARE(p.Main().Requests().CloseRequested, !message.isEmpty());
        QCOMPARE(wire.size(), exchanges);
    }

    void deviceChangeWithoutAModuleSetsCloseRequested()
    {
        QVERIFY(WriteSettings({"ModulePort=" + kMissingPort}));
        Program p;
        PickDevice(p.Main(), QStringLiteral("16c715"));
        QCOMPARE(p.messages.shown.last(), QStringLiteral("Plain: Programmer Device Not Connected"));
        QVERIFY(p.Main().Requests().CloseRequested);
    }
};

QTEST_MAIN(PortTest)
#include "PortTest.moc"
