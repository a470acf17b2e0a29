// A module that does not answer, or a port that is not open, is one box that names the port
// and what to try, and the chip work ends there; a first start opens no port at all.
#include "ModsimProcess.h"
#include "OperationsFixture.h"
#include "app/PortConU.h"

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {

const QString kNoAnswer = QStringLiteral("Plain: No answer from the module%1. Is it plugged in "
                                         "and powered? The port can be changed in Options.");

// Write To PIC with every target ticked; Start, then Close once the run has ended. The
// progress window never opens when the port is refused first.
void WriteEverything(Program &p)
{
    TProcessForm &form = *p.windows->ProcessForm;
    for (const char *target : {"ProgMemCbx", "DataMemCbx", "IDCodeCbx", "ConfigCbx"})
        Find<QCheckBox>(p.Main(), target)->setChecked(true);
    QTimer::singleShot(0, &form, [&form] { form.StartBtn->click(); });
    const auto finished = QObject::connect(p.Main().Driver(), &OperationDriver::SequenceFinished,
                                           &form, [&form] { form.CloseBtn->click(); });
    Find<QToolButton>(p.Main(), "ChipWriteBtn")->click();
    QObject::disconnect(finished);
}

} // namespace

class ModuleFailureTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void theFirstCommunicationFailureEndsTheRun_data()
    {
        QTest::addColumn<int>("deadAfterBytes");
        QTest::newRow("silent from the start") << 0;
        QTest::newRow("unplugged in the program memory") << 600;
    }

    // Four ticked targets, one box: the later targets are not tried, and the chip's
    // configuration word is never reached.
    void theFirstCommunicationFailureEndsTheRun()
    {
        QFETCH(int, deadAfterBytes);
        SimulatedProgram p(QStringLiteral("16f84"));
        tolm::sim::FaultSettings faults;
        faults.deadAfterBytes = deadAfterBytes;
        p.sim->SetFaults(faults);
        p.Image().FillProgramImage(QStringLiteral("1234"));
        p.Image().ConfigWord = 0x3FF1;
        WriteEverything(p);

        QCOMPARE(p.messages.shown, QStringList({kNoAnswer.arg(QString()), "FailureSound"}));
        QVERIFY2(p.messages.details.constFirst().contains("no answer from the module to command"),
                 qPrintable(p.messages.details.constFirst()));
        QVERIFY2(p.Driver().LastSummary().startsWith("Write failed"),
                 qPrintable(p.Driver().LastSummary()));
        QCOMPARE(p.Chip().ConfigWord(), p.Chip().Description().configErased);
    }

    void aChipCommandSaysTheSame()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        tolm::sim::FaultSettings silent;
        silent.noAckFromExchange = 0;
        p.sim->SetFaults(silent);
        p.ClickConfirmed(QStringLiteral("ConfigReadBtn"));
        QCOMPARE(p.messages.shown,
                 QStringList({"Confirm: Read Configuration Word Directly ! Proceed?",
                              kNoAnswer.arg(QString())}));
    }

    // Over a real port the box names it.
    void theBoxNamesThePort()
    {
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16f84", {"--no-ack-from", "1"}), qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath(), "PicDevice=16f84"}));
        Program p(true);
        WriteEverything(p);
        QCOMPARE(p.messages.shown.constFirst(), kNoAnswer.arg(" on " + modsim.LinkPath()));
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(Find<QLabel>(p.Main(), "PortLbl")->text(),
                 modsim.LinkPath() + ": module not answering");
    }

    void aPortThatIsNotOpenIsSaidBeforeAnything_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("box");
        QTest::newRow("first start") << "first start"
                                     << "Plain: No port is chosen for the module. Choose the "
                                        "module's port in Options.";
        QTest::newRow("missing device")
            << "missing"
            << "Plain: <port> is not open: there is no such device. Plug in the adapter or "
               "choose another port in Options, then Connect.";
        QTest::newRow("released") << "released"
                                  << "Plain: <port> is not open: it has been released. Press "
                                     "Connect to open it again.";
    }

    // Nothing is sent, the progress window does not open, and the box says what to do
    // instead of blaming the power-on.
    void aPortThatIsNotOpenIsSaidBeforeAnything()
    {
        QFETCH(QString, situation);
        QFETCH(QString, box);
        QTemporaryDir dir;
        ModsimProcess modsim(TOLM_MODSIM);
        QString port = dir.filePath(QStringLiteral("module"));
        if (situation == "released") {
            QVERIFY2(modsim.Start("16f84"), qPrintable(modsim.Error()));
            port = modsim.LinkPath();
        }
        if (situation != "first start")
            QVERIFY(WriteSettings({"ModulePort=" + port}));
        Program p(true);
        if (situation == "released")
            p.Main().Module().HandlePortChoice(TPortDlg::kReleaseResult, p.messages);
        p.messages.shown.clear();
        WriteEverything(p);
        QCOMPARE(p.messages.shown, QStringList{box.replace("<port>", port)});
        QVERIFY(!p.windows->ProcessForm->isVisible());
        QVERIFY(p.Main().ProcessFormUnplaced());
    }

    // No settings file: no port is opened at start-up, no box comes before the window, and
    // the status line says what to do.
    void aFirstStartOpensNoPort()
    {
        Program p(true);
        QCOMPARE(p.messages.shown, QStringList());
        QCOMPARE(p.Main().Module().Link().State(), PortState::NoPort);
        QCOMPARE(Find<QLabel>(p.Main(), "PortLbl")->text(),
                 QStringLiteral("Choose the module's port in Options"));
    }
};

QTEST_MAIN(ModuleFailureTest)
#include "ModuleFailureTest.moc"
