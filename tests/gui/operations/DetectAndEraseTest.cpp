// Detect (the device ID read and the part selected) and "Erase before write" (the flash
// parts' erase-then-write) from the main window, against the in-process simulator.
#include "OperationsFixture.h"
#include "app/MainStatusBar.h"
#include "app/WriteWarnings.h"
#include "device/HexText.h"

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {
const QString kNotWhole = QStringLiteral(
    "Warning: Erase before write erases the whole chip, so the write must put back every "
    "target over the whole ranges: tick every target and press Max on the Addresses page.");
} // namespace

class DetectAndEraseTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    // The chip in the socket, the part selected, and what Detect then says and selects.
    void detect_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("selectedAfter");
        QTest::addColumn<QString>("status");
        QTest::newRow("another part: selected as if picked")
            << "16f876"
            << "16f877" << QStringList{"Confirm: Set Program Memory to 3FFF ?"} << "16f876"
            << "Detected 16f876, revision 0 (device ID 09E0): now selected in place of the "
               "16f877";
        QTest::newRow("a part without a device ID selected")
            << "16f877"
            << "16c84" << QStringList{"Confirm: Set Program Memory to 3FFF ?"} << "16f877"
            << "Detected 16f877, revision 0 (device ID 09A0): now selected in place of the "
               "16c84";
        QTest::newRow("the part selected") << "16f628a"
                                           << "16f628a" << QStringList{} << "16f628a"
                                           << "Detected 16f628a, revision 0 (device ID 1060)";
        QTest::newRow("no known ID: says what was read")
            << "16f84"
            << "16f628"
            << QStringList{"Warning: The chip's device ID is 0000, which names none of "
                           "Tolm's parts (the older parts have no device ID)."}
            << "16f628"
            << "";
    }

    void detect()
    {
        QFETCH(QString, chip);
        QFETCH(QString, selected);
        SimulatedProgram p(chip);
        p.Main().SetDeviceValues(selected, false);
        QVERIFY(Find<QToolButton>(p.Main(), "DetectBtn")->isEnabled());
        p.messages.confirmAnswers << false; // keep the program image
        Find<QToolButton>(p.Main(), "DetectBtn")->click();
        QTEST(p.messages.shown, "shown");
        QTEST(p.Main().CurrentDevice().DeviceName, "selectedAfter");
        QTEST(Find<QComboBox>(p.Main(), "DeviceSelector")->currentText(), "selectedAfter");
        QTEST(Find<MainStatusBar>(p.Main(), "StatusBar")->Text(), "status");
    }

    // A part not yet confirmed on hardware is warned about before its first write, once a
    // session; a confirmed part never.
    void unconfirmedPartsAreWarnedAboutOnce_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("warnings");
        QTest::newRow("16f877a") << "16f877a" << 1;
        QTest::newRow("12f675") << "12f675" << 1;
        QTest::newRow("16f84") << "16f84" << 0;
    }

    void unconfirmedPartsAreWarnedAboutOnce()
    {
        QFETCH(QString, part);
        SimulatedProgram p(part);
        p.ClickConfirmed(QStringLiteral("ConfigWriteBtn"));
        p.ClickConfirmed(QStringLiteral("ConfigWriteBtn"));
        const QString warning = QStringLiteral("Warning: ") + UnconfirmedPartText(part);
        QTEST(int(p.messages.shown.count(warning)), "warnings");
    }

    // A configuration word the part's programming guide wants entered Vpp first is written only
    // after the user has said yes; Cancel sends nothing.
    void vppFirstConfigurationsAreAskedAbout_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("word");
        QTest::addColumn<bool>("asked");
        QTest::newRow("16f887 internal oscillator, MCLR off") << "16f887" << 0x3FD4 << true;
        QTest::newRow("16f887 clock out, MCLR off") << "16f887" << 0x3FD5 << true;
        QTest::newRow("16f887 internal oscillator, MCLR on") << "16f887" << 0x3FF4 << false;
        QTest::newRow("16f887 HS, MCLR off") << "16f887" << 0x3FD2 << false;
        QTest::newRow("12f683 internal oscillator, MCLR off") << "12f683" << 0x3FD4 << true;
        QTest::newRow("12f675 internal oscillator, MCLR off") << "12f675" << 0x3FD4 << true;
        QTest::newRow("12f675 internal oscillator, MCLR on") << "12f675" << 0x3FF4 << false;
        QTest::newRow("16f628: always, but confirmed to work") << "16f628" << 0x3F10 << false;
        QTest::newRow("16f84") << "16f84" << 0x3FF1 << false;
    }

    void vppFirstConfigurationsAreAskedAbout()
    {
        QFETCH(QString, part);
        QFETCH(int, word);
        QFETCH(bool, asked);
        SimulatedProgram p(part);
        const std::uint16_t before = p.Chip().ConfigWord();
        Find<QLineEdit>(p.Main(), "ConfigEdit")->setText(FormatHex(std::uint16_t(word), 4));
        p.messages.confirmAnswers << true << false; // write directly: yes; Vpp first: no
        Find<QToolButton>(p.Main(), "ConfigWriteBtn")->click();
        const QString question =
            QStringLiteral("Confirm: ") + VppFirstQuestion(part, static_cast<std::uint16_t>(word));
        QCOMPARE(p.messages.shown.contains(question), asked);
        QCOMPARE(p.Chip().ConfigWord() == before, asked);
    }

    void eraseBeforeWriteIsRefusedOnEpromParts()
    {
        SimulatedProgram p(QStringLiteral("16c62A"));
        // Detect reads the chip's device ID whatever part is selected.
        QVERIFY(Find<QToolButton>(p.Main(), "DetectBtn")->isEnabled());
        Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->click();
        QVERIFY(!Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->isChecked());
        QCOMPARE(p.messages.shown,
                 QStringList{"Warning: Erase before write needs a flash part, which can be erased "
                             "first; the 16c62A is an EPROM part."});

        // Ticked on a flash part, it goes when an EPROM part is picked.
        p.Main().SetDeviceValues(QStringLiteral("16f877"), false);
        Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->click();
        QVERIFY(Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->isChecked());
        p.Main().SetDeviceValues(QStringLiteral("16c74"), false);
        QVERIFY(!Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->isChecked());
        QCOMPARE(p.messages.shown.size(), 1);
    }

    // A protected chip with an older program: erased, only the program's words written, all
    // verified without a box of their own, one chime, and a summary that says so.
    void eraseBeforeWriteGivesTheWholeImage()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        for (int a = 0; a < 0x400; ++a)
            p.Chip().SetProgramWord(a, 0x1111);
        p.Chip().SetConfigWord(0x000F); // code protected
        p.Image().SetProgramWordText(0, QStringLiteral("2805"));
        p.Image().SetProgramWordText(5, QStringLiteral("0086"));
        p.Image().SetDataByteText(2, QStringLiteral("5A"));
        p.Image().IDCodeText = QStringLiteral("1234");
        p.Tick({.Program = true, .Data = true, .Config = true, .IDCode = true});
        Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->click();
        QString summary;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"), [&] {
            summary = p.Form().SummaryLbl->text();
            p.Form().CloseBtn->click();
        });
        QCOMPARE(p.messages.shown, QStringList{"Sound"});
        QCOMPARE(p.Chip().ProgramWord(0), 0x2805);
        QCOMPARE(p.Chip().ProgramWord(5), 0x0086);
        QCOMPARE(p.Chip().ProgramWord(1), 0x3FFF);
        QCOMPARE(p.Chip().ProgramWord(0x3FF), 0x3FFF);
        QCOMPARE(p.Chip().DataByte(2), 0x5A);
        QCOMPARE(p.Chip().ConfigWord(), p.Image().ConfigWord);
        QVERIFY(!p.Chip().CodeProtected());
        QVERIFY2(summary.startsWith("Erase and write finished in ") &&
                     summary.endsWith(": program memory 1024 words, data 64 bytes, ID code, "
                                      "configuration word"),
                 qPrintable(summary));
    }

    // The erase takes everything: a write of part of the chip is refused at Start, before
    // anything is sent.
    void eraseBeforeWriteNeedsTheWholeChip_data()
    {
        // Ticked or not: program memory, data memory, ID code, configuration word.
        QTest::addColumn<QList<bool>>("ticks");
        QTest::addColumn<QString>("progEnd");
        QTest::newRow("data memory not ticked") << QList<bool>{true, false, true, true} << "03FF";
        QTest::newRow("part of the program range") << QList<bool>{true, true, true, true} << "00FF";
    }

    void eraseBeforeWriteNeedsTheWholeChip()
    {
        QFETCH(QList<bool>, ticks);
        QFETCH(QString, progEnd);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetProgramWord(7, 0x1111);
        p.Tick({.Program = ticks[0], .Data = ticks[1], .Config = ticks[3], .IDCode = ticks[2]});
        Find<QLineEdit>(p.Main(), "ProgEndEdit")->setText(progEnd);
        Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->click();
        QString summary;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"), [&] {
            summary = p.Form().SummaryLbl->text();
            p.Form().CloseBtn->click();
        });
        QCOMPARE(p.messages.shown, QStringList({kNotWhole, "FailureSound"}));
        QCOMPARE(p.sim->ExchangeCount(), 0);
        QCOMPARE(p.Chip().ProgramWord(7), 0x1111);
        QVERIFY2(summary.endsWith(": nothing was sent to the chip"), qPrintable(summary));
    }

    void aFailedEraseWritesNothing()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        tolm::sim::FaultSettings silent;
        silent.noAckFromExchange = 0;
        p.sim->SetFaults(silent);
        p.Tick({.Program = true, .Data = true, .Config = true, .IDCode = true});
        Find<QCheckBox>(p.Main(), "EraseBeforeWriteCbx")->click();
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(p.messages.shown,
                 QStringList({"Plain: No answer from the module. Is it plugged in and powered? "
                              "The port can be changed in Options.",
                              "FailureSound"}));
    }
};

QTEST_MAIN(DetectAndEraseTest)
#include "DetectAndEraseTest.moc"
