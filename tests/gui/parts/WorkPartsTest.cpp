// The parts that work on the image and the chip, each without the main window: the hex files,
// the four operations and the chip commands, over the in-process simulator.
#include "HexLines.h"
#include "ModuleSimulator.h"
#include "ScriptedMessages.h"
#include "SimulatorChannel.h"
#include "app/ChipOperations.h"
#include "app/ChipRequest.h"
#include "app/ConfigurationPart.h"
#include "app/DeviceChoice.h"
#include "app/DirectCommands.h"
#include "app/FilePart.h"
#include "app/MainStatusBar.h"
#include "app/ModuleConnection.h"
#include "device/MemoryImage.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"
#include "ops/ReadySound.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class SilentSound : public ReadySound
{
public:
    void Play() override {}
};

// The parts a 16f84 needs, wired as the window wires them, with the simulator as the module.
struct Bench
{
    Bench()
        : sim(tolm::sim::ModuleSimulator::ForDevice("16f84")), channel(*sim), request(messages),
          config(image, choice.Current()), module(messages),
          operations({image, choice.Current(), messages, module, request, config}, window),
          commands({image, choice.Current(), messages, module, config, operations}), form(flags)
    {
        choice.Select("16f84");
        request.AdaptToDevice(choice.Current());
        config.AdaptToDevice();
        image.FillProgramImage("3FFF");
        module.UseChannel(&channel);
        operations.SetWindows(&form, nullptr);
        operations.SetReadySound(sound);
    }
    ~Bench() { module.UseChannel(nullptr); }

    void Tick(const char *target)
    {
        request.TargetsGroup()->findChild<QCheckBox *>(target)->click();
    }

    std::unique_ptr<tolm::sim::ModuleSimulator> sim;
    SimulatorChannel channel;
    ScriptedMessages messages;
    MemoryImage image;
    QWidget window;
    DeviceChoice choice;
    ChipRequest request;
    ConfigurationPart config;
    ModuleConnection module;
    ChipOperations operations;
    DirectCommands commands;
    RequestFlags flags;
    TProcessForm form;
    SilentSound sound;
};

} // namespace

class WorkPartsTest : public QObject
{
    Q_OBJECT

private slots:
    void filePart_data()
    {
        QTest::addColumn<bool>("chipWorkRunning");
        QTest::addColumn<QString>("programWord5");
        QTest::addColumn<QString>("status");
        QTest::newRow("loaded") << false << "3FFF"
                                << "";
        QTest::newRow("refused while chip work runs")
            << true << "1234"
            << "Load From File must wait until the chip work has ended";
    }

    // Load From File blanks the ticked memories before reading (an unticked one keeps its
    // contents), names the file for the caption, and waits while chip work runs.
    void filePart()
    {
        QFETCH(bool, chipWorkRunning);
        Bench b;
        MainStatusBar statusBar;
        FilePart files({b.image, b.choice.Current(), b.messages, b.request, b.config, statusBar},
                       {[&] { return chipWorkRunning; }, {}, {}});
        const QSignalSpy named(&files, &FilePart::FileNamed);
        const QSignalSpy status(&files, &FilePart::StatusText);
        QTemporaryDir dir;
        const QString path = dir.filePath("two.hex");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HexWords(0, {0x2805, 0x0008}) + kHexEndLine);
        file.close();
        b.image.SetProgramWordText(5, "1234");
        b.image.SetDataByteText(0, "12");
        b.Tick("ProgMemCbx");
        b.messages.openFileNames.enqueue(path);
        files.LoadFromFileBtnClick();

        QTEST(b.image.GetProgramWordText(5), "programWord5");
        QCOMPARE(b.image.GetDataByteText(0), QStringLiteral("12"));
        QCOMPARE(named.count(), chipWorkRunning ? 0 : 1);
        QTEST(status.isEmpty() ? QString() : status.first().first().toString(), "status");
        if (!chipWorkRunning)
            QCOMPARE(b.image.GetProgramWordText(0), QStringLiteral("2805"));
    }

    // A Write over the simulator: the chip gets the image, and the window is told when the
    // work starts and ends (to lock what the work reads).
    void chipOperationsWrite()
    {
        Bench b;
        for (int a = 0; a < 4; ++a)
            b.image.SetProgramWordText(a, "1234");
        b.request.ProgramRangeGroup()->findChild<QLineEdit *>("ProgEndEdit")->setText("0003");
        b.Tick("ProgMemCbx");
        QSignalSpy running(&b.operations, &ChipOperations::WorkRunning);
        QTimer::singleShot(0, &b.form, [&b] { b.form.StartBtn->click(); });
        QObject::connect(b.operations.Driver(), &OperationDriver::SequenceFinished, &b.form,
                         [&b] { b.form.CloseBtn->click(); });
        b.operations.ChipWriteBtnClick();

        QCOMPARE(b.sim->chip().ProgramWord(3), 0x1234);
        QCOMPARE(b.sim->chip().ProgramWord(4), 0x3FFF);
        QCOMPARE(running.count(), 2);
        QVERIFY(running[0][0].toBool() && !running[1][0].toBool());
        QVERIFY(!b.operations.Busy());
        QVERIFY(b.operations.Driver()->LastRunSucceeded());
    }

    // Direct access: the chip's word goes to the field only; a word written is told quietly.
    void directCommands()
    {
        Bench b;
        b.sim->chip().SetConfigWord(0x3FF5);
        b.messages.confirmAnswers << true << true;
        b.commands.ConfigReadBtnClick();
        QCOMPARE(b.config.DirectText(), QStringLiteral("3FF5"));
        QCOMPARE(b.image.ConfigWord, 0); // the image's word stays
        const QSignalSpy status(&b.commands, &DirectCommands::StatusText);
        b.config.ShowDirectText("3FF1");
        b.commands.ConfigWriteBtnClick();
        QCOMPARE(b.sim->chip().ConfigWord(), 0x3FF1);
        QCOMPARE(status.count(), 1);
    }
};

QTEST_MAIN(WorkPartsTest)
#include "WorkPartsTest.moc"
