// Read, Write, Verify and Blank Check through the main window's buttons, against the
// in-process simulator: the order of targets, the boxes and sounds, pausing and closing, and
// the refusal of a second conversation with the module.
#include "OperationsFixture.h"

#include <QSignalSpy>

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {
const QString kSound = QStringLiteral("Sound");

void FillProgram(MemoryImage &image, int words, const QString &text)
{
    for (int a = 0; a < words; ++a)
        image.SetProgramWordText(a, text);
}
} // namespace

class OperationDriverTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void noTargetTickedOpensNothing_data()
    {
        QTest::addColumn<QString>("button");
        for (const char *name : {"ChipReadBtn", "ChipWriteBtn", "VerifyBtn", "BlancCheckBtn"})
            QTest::newRow(name) << name;
    }

    void noTargetTickedOpensNothing()
    {
        QFETCH(QString, button);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({});
        p.Main().findChild<QToolButton *>(button)->click();
        QCOMPARE(p.messages.shown, QStringList{"Warning: No target selected"});
        QVERIFY(!p.Form().isVisible());
        QVERIFY(p.Main().ProcessFormUnplaced());
        QCOMPARE(p.sim->ExchangeCount(), 0);
    }

    void readingTheConfigurationWordAloneShowsItEverywhere()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetConfigWord(0x3FF5); // XT oscillator, watchdog on
        p.Tick({.Config = true});
        Find<QTabWidget>(p.Main(), "OptionPages")->setCurrentIndex(3);
        bool readyAgain = false;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipReadBtn"), [&] {
            readyAgain = p.Form().isVisible() && p.Form().StatusLbl->text() == "Ready...";
            p.Form().CloseBtn->click();
        });
        QVERIFY(readyAgain);
        QVERIFY(!p.Form().isVisible());
        QCOMPARE(p.Image().ConfigWord, 0x3FF5);
        QCOMPARE(Find<QLineEdit>(p.Main(), "ConfigEdit")->text(), QStringLiteral("3FF5"));
        QVERIFY(Find<QCheckBox>(p.Main(), "WdtCbx")->isChecked());
        QCOMPARE(Find<QComboBox>(p.Main(), "OscBox")->currentIndex(), 1);
        QCOMPARE(Find<QTabWidget>(p.Main(), "OptionPages")->currentWidget(),
                 Find<QWidget>(p.Main(), "Programming"));
        QCOMPARE(p.messages.shown, QStringList{kSound});
        // The image holds what the chip gave now, and the title says so.
        QCOMPARE(p.Main().windowTitle(), QStringLiteral("Tolm V2.60 - 16f84 read from the chip"));
    }

    // A silent module fails the first target; the others would only fail the same way, so
    // one box says what to try and the failure sound ends the run.
    void aSilentModuleEndsTheReadWithOneBox()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        tolm::sim::FaultSettings silent;
        silent.noAckFromExchange = 0;
        p.sim->SetFaults(silent);
        p.Tick({.Program = true, .Data = true, .Config = true, .IDCode = true});
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipReadBtn"));
        QCOMPARE(p.messages.shown,
                 QStringList({"Plain: No answer from the module. Is it plugged in and powered? "
                              "The port can be changed in Options.",
                              "FailureSound"}));
        QVERIFY(p.Driver().LastSummary().startsWith("Read failed in "));
    }

    void verifySoundsBeforeEachBox_data()
    {
        QTest::addColumn<QString>("imageWord");
        QTest::addColumn<QString>("idCode");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("matching") << "3FFF"
                                  << "FFFF"
                                  << QStringList{kSound,
                                                 "Plain: Program Memory Verify Completed.  No "
                                                 "Errors...",
                                                 kSound,
                                                 "Plain: ID Code Verify Completed. No Errors"};
        QTest::newRow("differing") << "1234"
                                   << "1234"
                                   << QStringList{kSound, "Plain: Error Verifying Program Memory",
                                                  kSound, "Plain: Error Verifying ID Code"};
    }

    void verifySoundsBeforeEachBox()
    {
        QFETCH(QString, imageWord);
        QFETCH(QString, idCode);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Image().SetProgramWordText(0x10, imageWord);
        p.Image().IDCodeText = idCode;
        p.Tick({.Program = true, .IDCode = true});
        p.RunOnce(Find<QToolButton>(p.Main(), "VerifyBtn"));
        QTEST(p.messages.shown, "expected");
    }

    void blankCheckTexts_data()
    {
        QTest::addColumn<bool>("memoriesAndId");
        QTest::addColumn<int>("chipConfig");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("erased chip")
            << true << 0x3FFF << QStringList{kSound, "Plain: Program Memory Blank",
                                             kSound, "Plain: Data Memory Blanc",
                                             kSound, "Plain: ID Code Blank"};
        QTest::newRow("configuration 3FFF")
            << false << 0x3FFF << QStringList{kSound, "Plain: Configuration Blank"};
        QTest::newRow("configuration 0FFF")
            << false << 0x0FFF << QStringList{kSound, "Plain: Configuration Blank Check Failed"};
    }

    void blankCheckTexts()
    {
        QFETCH(bool, memoriesAndId);
        QFETCH(int, chipConfig);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetConfigWord(static_cast<std::uint16_t>(chipConfig));
        p.Tick({.Program = memoriesAndId,
                .Data = memoriesAndId,
                .Config = !memoriesAndId,
                .IDCode = memoriesAndId});
        p.RunOnce(Find<QToolButton>(p.Main(), "BlancCheckBtn"));
        QTEST(p.messages.shown, "expected");
    }

    // While a Write runs, neither another operation nor a chip command may reach the module.
    void clicksDuringAWriteAreRefused()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        p.Tick({.Program = true});
        Find<QLineEdit>(p.Main(), "ProgEndEdit")->setText(QStringLiteral("0010"));
        QString caption;
        int exchangesBefore = -1;
        int exchangesAfter = -2;
        QStringList shownDuring;
        p.AtProgress(5, [&] {
            exchangesBefore = p.sim->ExchangeCount();
            for (QToolButton *button : {Find<QToolButton>(p.Main(), "ChipReadBtn"),
                                        Find<QToolButton>(p.Main(), "VerifyBtn"),
                                        Find<QToolButton>(p.Main(), "ConfigReadBtn"),
                                        Find<QToolButton>(p.Main(), "ConfigWriteBtn"),
                                        Find<QToolButton>(p.Main(), "ProtectBtn"),
                                        Find<QToolButton>(p.Main(), "UnProtectBtn"),
                                        Find<QToolButton>(p.Main(), "ReadCalBtn"),
                                        Find<QToolButton>(p.Main(), "WriteCalBtn")})
                button->click();
            exchangesAfter = p.sim->ExchangeCount();
            caption = p.Form().windowTitle();
            shownDuring = p.messages.shown;
        });
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(exchangesAfter, exchangesBefore);
        QCOMPARE(caption, QStringLiteral("Write to PIC"));
        QVERIFY(shownDuring.isEmpty());
        QCOMPARE(p.messages.shown, QStringList{kSound});
        QVERIFY(!p.Main().Module().OperationInProgress);
    }

    void anotherOperationRetitlesTheWaitingWindow()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({.IDCode = true});
        QString nestedCaption;
        QTimer::singleShot(0, &p.Form(), [&] {
            QTimer::singleShot(0, &p.Form(), [&] {
                nestedCaption = p.Form().windowTitle();
                p.Form().CloseBtn->click();
            });
            Find<QToolButton>(p.Main(), "VerifyBtn")->click(); // a wait inside the Read's wait
        });
        Find<QToolButton>(p.Main(), "ChipReadBtn")->click();
        QCOMPARE(nestedCaption, QStringLiteral("Verify PIC"));
        QVERIFY(!p.Form().isVisible()); // one Close ended both waits
        QVERIFY(p.messages.shown.isEmpty());
    }

    // Close during the program memory ends the operation: the word in progress is finished,
    // the target says where it stopped, no later target starts, and the window is Ready.
    void closeDuringAWriteEndsTheOperation()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        FillProgram(p.Image(), 0x400, QStringLiteral("1234"));
        p.Image().FillDataImage(QStringLiteral("55"));
        p.Image().IDCodeText = QStringLiteral("1234");
        p.Tick({.Program = true, .Data = true, .Config = true, .IDCode = true});
        p.AtProgress(3, [&] { p.Form().CloseBtn->click(); });
        bool readyAgain = false;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"), [&] {
            readyAgain = p.Form().isVisible() && p.Form().StatusLbl->text() == "Ready..." &&
                         !p.Main().Requests().CloseRequested;
            p.Form().CloseBtn->click();
        });
        QVERIFY(readyAgain);
        QCOMPARE(p.Chip().ProgramWord(2), 0x1234);
        QCOMPARE(p.Chip().ProgramWord(3), 0x3FFF);
        QCOMPARE(p.Chip().DataByte(0), 0xFF);
        QCOMPARE(p.Chip().IdWord(0), 0x3FFF);
        QCOMPARE(p.Chip().ConfigWord(), 0x3FFF);
        QVERIFY(!p.sim->State().powered);
        QCOMPARE(p.messages.shown,
                 (QStringList{"Plain: Writing Program Memory stopped at 0003: the words from "
                              "there on were not written",
                              kSound}));
    }

    // Close during a verify never reports the target's success text.
    void closeDuringAVerifySaysWhereItStopped_data()
    {
        QTest::addColumn<bool>("blankCheck");
        QTest::newRow("verify") << false;
        QTest::newRow("blank check") << true;
    }
    void closeDuringAVerifySaysWhereItStopped()
    {
        QFETCH(bool, blankCheck);
        SimulatedProgram p(QStringLiteral("16f84"));
        FillProgram(p.Image(), 0x400, QStringLiteral("3FFF"));
        p.Tick({.Program = true, .Data = true});
        p.AtProgress(3, [&] { p.Form().CloseBtn->click(); });
        p.RunOnce(blankCheck ? Find<QToolButton>(p.Main(), "BlancCheckBtn")
                             : Find<QToolButton>(p.Main(), "VerifyBtn"),
                  [&] { p.Form().CloseBtn->click(); });
        const QString verb = blankCheck ? "Blank Checking" : "Verifying";
        QCOMPARE(p.messages.shown,
                 (QStringList{kSound, "Plain: " + verb +
                                          " Program Memory stopped at 0003: the "
                                          "words from there on were not checked"}));
    }

    void stopShowsContinueAndStartResumesAtTheNextWord()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        FillProgram(p.Image(), 0x400, QStringLiteral("1234"));
        p.Tick({.Program = true});
        QString pausedCaption;
        std::uint16_t lastDone = 0;
        std::uint16_t nextWord = 0;
        p.AtProgress(2, [&] {
            p.Form().StopBtn->click();
            QTimer::singleShot(30, &p.Form(), [&] {
                pausedCaption = p.Form().StartBtn->text();
                lastDone = p.Chip().ProgramWord(1);
                nextWord = p.Chip().ProgramWord(2);
                p.Form().StartBtn->click();
            });
        });
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(pausedCaption, QStringLiteral("Continue"));
        QCOMPARE(lastDone, 0x1234);
        QCOMPARE(nextWord, 0x3FFF);
        QCOMPARE(p.Chip().ProgramWord(0x3FF), 0x1234);
        QCOMPARE(p.messages.shown, QStringList{kSound});
    }

    // A cell that is not a number: the conversion error, the chip off, nothing after it.
    void aBadImageCellEndsTheWrite()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Image().SetProgramWordText(0, QStringLiteral("1234"));
        p.Image().SetProgramWordText(1, QStringLiteral("12G4"));
        p.Tick({.Program = true, .Config = true});
        bool readyAgain = false;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"), [&] {
            readyAgain = p.Form().StatusLbl->text() == "Ready...";
            p.Form().CloseBtn->click();
        });
        QVERIFY(readyAgain);
        QCOMPARE(p.messages.shown,
                 QStringList({"Error: '$12G4' is not a valid integer value", "FailureSound"}));
        QCOMPARE(p.Chip().ProgramWord(0), 0x1234);
        QCOMPARE(p.Chip().ProgramWord(1), 0x3FFF);
        QCOMPARE(p.Chip().ConfigWord(), p.Chip().Description().configErased);
        QVERIFY(!p.sim->State().powered);
    }

    void closingTheMainWindowDuringAWritePowersOffFirst()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        FillProgram(p.Image(), 0x400, QStringLiteral("1234"));
        p.Image().IDCodeText = QStringLiteral("1234");
        p.Tick({.Program = true, .Config = true, .IDCode = true});
        p.messages.confirmAnswers.enqueue(true);
        QSignalSpy closed(&p.Main(), &TTolmMain::MainWindowClosed);
        bool poweredAtEnd = true;
        connect(&p.Main(), &TTolmMain::MainWindowClosed, this,
                [&] { poweredAtEnd = p.sim->State().powered; });
        bool closeAccepted = true;
        p.AtProgress(3, [&] { closeAccepted = p.Main().close(); });
        QTimer::singleShot(0, &p.Form(), [&] { p.Form().StartBtn->click(); });
        Find<QToolButton>(p.Main(), "ChipWriteBtn")
            ->click(); // returns without a Close in the progress window
        QVERIFY(!closeAccepted);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!poweredAtEnd);
        QCOMPARE(p.Chip().ProgramWord(2), 0x1234);
        QCOMPARE(p.Chip().ProgramWord(3), 0x3FFF);
        QCOMPARE(p.Chip().IdWord(0), 0x3FFF); // nothing after the running target
        QCOMPARE(p.messages.shown, QStringList{"Confirm: Close program?..."});
    }

    void cancellingTheCloseQuestionLetsTheWriteGoOn()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        FillProgram(p.Image(), 0x400, QStringLiteral("1234"));
        p.Tick({.Program = true});
        QSignalSpy closed(&p.Main(), &TTolmMain::MainWindowClosed);
        p.AtProgress(3, [&] { p.Main().close(); });
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(closed.count(), 0);
        QCOMPARE(p.Chip().ProgramWord(0x3FF), 0x1234);
    }
};

QTEST_MAIN(OperationDriverTest)
#include "OperationDriverTest.moc"
