// The chip commands beside the four operations (Direct Access, All Code Protect, Unprotect,
// calibration) and the ID Code dialog, against the in-process simulator.
#include "OperationsFixture.h"
#include "app/Iddlg.h"
#include "app/WaitForm.h"

using namespace MainWindowFixture;
using namespace OperationsFixture;

class ChipCommandsTest : public QObject
{
    Q_OBJECT

    static void AddCommandRows()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("failure");
        QTest::newRow("read configuration") << "16f84"
                                            << "ConfigReadBtn"
                                            << "Read Configuration Word Directly ! Proceed?"
                                            << "Plain: Error Reading Configuration";
        QTest::newRow("write configuration") << "16f84"
                                             << "ConfigWriteBtn"
                                             << "Write Configuration Word Directly! Proceed?"
                                             << "Plain: Error Writing Configuration";
        QTest::newRow("protect") << "16f84"
                                 << "ProtectBtn"
                                 << "This Process will Code Protect All the Device! Proceed?"
                                 << "Plain: Error Reading Configuration";
        QTest::newRow("unprotect") << "16f84"
                                   << "UnProtectBtn"
                                   << "This Process will Unprotect and Erase the Device! Proceed?"
                                   << "Plain: Communication Error";
        QTest::newRow("read calibration") << "12c508"
                                          << "ReadCalBtn"
                                          << "Read Oscillator Calibration?"
                                          << "Plain: Error Reading Oscillator Calibration";
        QTest::newRow("write calibration") << "12c508"
                                           << "WriteCalBtn"
                                           << "Write Oscillator Calibration?"
                                           << "Plain: Error Writing Oscillator Calibration";
    }

private slots:
    void init() { RemoveSettings(); }

    void cancelSendsNothing_data() { AddCommandRows(); }

    void cancelSendsNothing()
    {
        QFETCH(QString, device);
        QFETCH(QString, button);
        QFETCH(QString, question);
        SimulatedProgram p(device);
        p.messages.confirmAnswers.enqueue(false);
        p.Main().findChild<QToolButton *>(button)->click();
        QCOMPARE(p.messages.shown, QStringList{"Confirm: " + question});
        QCOMPARE(p.sim->ExchangeCount(), 0);
    }

    void aWrongAnswerGivesEachCommandsFailure_data() { AddCommandRows(); }

    void aWrongAnswerGivesEachCommandsFailure()
    {
        QFETCH(QString, device);
        QFETCH(QString, button);
        QFETCH(QString, question);
        QFETCH(QString, failure);
        SimulatedProgram p(device);
        tolm::sim::FaultSettings wrong;
        wrong.wrongAckAtExchange = 1;
        p.sim->SetFaults(wrong);
        p.ClickConfirmed(button);
        QCOMPARE(p.messages.shown, QStringList({"Confirm: " + question, failure}));
    }

    void aSilentModuleGivesTheNoAnswerBoxForEveryCommand_data() { AddCommandRows(); }

    // A module that does not answer is no fault of the chip: every command says so in the
    // same box, which tells what to try, instead of its own failure text.
    void aSilentModuleGivesTheNoAnswerBoxForEveryCommand()
    {
        QFETCH(QString, device);
        QFETCH(QString, button);
        QFETCH(QString, question);
        SimulatedProgram p(device);
        tolm::sim::FaultSettings silent;
        silent.noAckFromExchange = 0;
        p.sim->SetFaults(silent);
        const QString calBefore = Find<QLineEdit>(p.Main(), "CalEdit")->text();
        p.ClickConfirmed(button);
        QCOMPARE(p.messages.shown,
                 QStringList({"Confirm: " + question,
                              "Plain: No answer from the module. Is it plugged in and powered? "
                              "The port can be changed in Options."}));
        QCOMPARE(Find<QLineEdit>(p.Main(), "CalEdit")->text(), calBefore);
        QVERIFY(!p.windows->WaitingForm->isVisible());
    }

    void directAccessReadsAndWritesTheWord()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetConfigWord(0x3FF5);
        p.ClickConfirmed(QStringLiteral("ConfigReadBtn"));
        QCOMPARE(Find<QLineEdit>(p.Main(), "ConfigEdit")->text(), QStringLiteral("3FF5"));
        QCOMPARE(p.Image().ConfigWord, 0); // the image and the controls stay as they were
        QVERIFY(!Find<QCheckBox>(p.Main(), "WdtCbx")->isChecked());

        Find<QLineEdit>(p.Main(), "ConfigEdit")->setText(QStringLiteral("3ff1"));
        p.ClickConfirmed(QStringLiteral("ConfigWriteBtn"));
        QCOMPARE(p.Chip().ConfigWord(), 0x3FF1);
        QCOMPARE(p.messages.shown.size(), 2); // the two questions, no message

        // A bit beyond the 14-bit word is refused with its reason; nothing is sent.
        p.messages.shown.clear();
        const int exchanges = p.sim->ExchangeCount();
        Find<QLineEdit>(p.Main(), "ConfigEdit")->setText(QStringLiteral("4000"));
        p.ClickConfirmed(QStringLiteral("ConfigWriteBtn"));
        QCOMPARE(
            p.messages.shown.value(1),
            QStringLiteral("Error: 4000 has bits beyond the 16f84's 14-bit configuration word"));
        QCOMPARE(p.sim->ExchangeCount(), exchanges);
        QCOMPARE(p.Chip().ConfigWord(), 0x3FF1);
    }

    void protectThenUnprotect()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetConfigWord(0x3FF5);
        Find<QTabWidget>(p.Main(), "OptionPages")->setCurrentIndex(1);
        p.ClickConfirmed(QStringLiteral("ProtectBtn"));
        QVERIFY(p.Chip().CodeProtected());
        QCOMPARE(p.Chip().ConfigWord() & 0x000F, 0x0005); // the chip's options kept
        QCOMPARE(p.Image().ConfigWord, 0x3FF5);
        QVERIFY(Find<QCheckBox>(p.Main(), "WdtCbx")->isChecked());
        QCOMPARE(Find<QTabWidget>(p.Main(), "OptionPages")->currentWidget(),
                 Find<QWidget>(p.Main(), "Programming"));

        p.ClickConfirmed(QStringLiteral("UnProtectBtn"));
        QVERIFY(!p.Chip().CodeProtected());
        QCOMPARE(p.messages.shown.size(), 2);
    }

    void protectWhoseWriteFailsKeepsTheWordRead()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetConfigWord(0x3FF5);
        p.Chip().SetNeverProgram(0x2007);
        p.ClickConfirmed(QStringLiteral("ProtectBtn"));
        QCOMPARE(p.messages.shown.last(),
                 QStringLiteral("Plain: Error Writing Configuration Word!"));
        QCOMPARE(p.Image().ConfigWord, 0x3FF5);
    }

    // A calibration value needing a 1 where the chip's EPROM word already has a 0 cannot take;
    // the box says why under its fixed text.
    void calibrationThatCannotTakeSaysWhy()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        p.Chip().SetProgramWord(0x1FF, 0x0C70);
        Find<QLineEdit>(p.Main(), "CalEdit")->setText(QStringLiteral("7F"));
        p.ClickConfirmed(QStringLiteral("WriteCalBtn"));
        QCOMPARE(p.messages.shown.last(),
                 QStringLiteral("Plain: Error Writing Oscillator Calibration"));
        QVERIFY2(p.messages.details.value(0).contains("read back 0C70, expected 0C7F") &&
                     p.messages.details.value(0).contains("cannot go from 0 back to 1"),
                 qPrintable(p.messages.details.value(0)));
        QVERIFY(!p.sim->State().powered);
    }

    void calibrationReadWriteWithThePleaseWaitWindow()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        p.Chip().SetProgramWord(0x1FF, 0x0C80);
        int exchangesWhileWaiting = 0;
        TWaitingForm &waiting = *p.windows->WaitingForm;
        p.sim->SetTranscriptSink(
            [&](const std::string &) { exchangesWhileWaiting += waiting.isVisible() ? 1 : 0; });
        p.ClickConfirmed(QStringLiteral("ReadCalBtn"));
        QCOMPARE(Find<QLineEdit>(p.Main(), "CalEdit")->text(), QStringLiteral("80"));
        QVERIFY(exchangesWhileWaiting > 0);
        QVERIFY(!waiting.isVisible());

        p.Chip().SetProgramWord(0x1FF, 0x0FFF); // an erased calibration word takes any value
        Find<QLineEdit>(p.Main(), "CalEdit")->setText(QStringLiteral("5A"));
        p.ClickConfirmed(QStringLiteral("WriteCalBtn"));
        QCOMPARE(p.Chip().ProgramWord(0x1FF), 0x0C5A);
        QCOMPARE(p.messages.shown.size(), 2);
    }

    void buildFromMemoryNeedsNoChip()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        p.Image().SetProgramWordText(0x1FF, QStringLiteral("0C5A"));
        Find<QToolButton>(p.Main(), "BuildCalBtn")->click();
        QCOMPARE(Find<QLineEdit>(p.Main(), "CalEdit")->text(), QStringLiteral("5A"));
        QVERIFY(p.messages.shown.isEmpty());
        QCOMPARE(p.sim->ExchangeCount(), 0);
    }

    // A field with a blank position: the conversion error box, and nothing on the wire.
    void blankPositionsGiveTheConversionError_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("error");
        QTest::newRow("direct access") << "16f84"
                                       << "ConfigEdit"
                                       << "3F"
                                       << "ConfigWriteBtn"
                                       << "Error: '$3F__' is not a valid integer value";
        QTest::newRow("calibration") << "12c508"
                                     << "CalEdit"
                                     << "5"
                                     << "WriteCalBtn"
                                     << "Error: '$5_' is not a valid integer value";
    }

    void blankPositionsGiveTheConversionError()
    {
        QFETCH(QString, device);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, button);
        QFETCH(QString, error);
        SimulatedProgram p(device);
        p.Main().findChild<QLineEdit *>(field)->setText(text);
        p.ClickConfirmed(button);
        QCOMPARE(p.messages.shown.last(), error);
        QCOMPARE(p.sim->ExchangeCount(), 0);
    }

    void buildFromABadImageWordGivesTheConversionError()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        p.Image().SetProgramWordText(0x1FF, QStringLiteral("0C5_"));
        Find<QToolButton>(p.Main(), "BuildCalBtn")->click();
        QCOMPARE(p.messages.shown, QStringList{"Error: '$0C5_' is not a valid integer value"});
    }

    // Keys typed at a position of the ID field, then OK or Cancel.
    void idCodeDialogKeys_data()
    {
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("idCode");
        // "\r" and "\x1b" at the end: Enter and Esc typed in the field, which belong to the
        // dialog's OK and Cancel.
        QTest::newRow("lower case shows upper") << 0 << "a" << true << "A000"
                                                << "A000";
        QTest::newRow("enter in the field is OK") << 0 << "5\r" << true << "5000"
                                                  << "5000";
        QTest::newRow("esc in the field is Cancel") << 0 << "5\x1b" << false << "5000"
                                                    << "0000";
        QTest::newRow("G does nothing") << 0 << "G" << true << "0000"
                                        << "0000";
        QTest::newRow("blank does nothing") << 0 << " " << true << "0000"
                                            << "0000";
        QTest::newRow("backspace does nothing") << 2 << "\b" << true << "0000"
                                                << "0000";
        QTest::newRow("typing over") << 1 << "fe" << true << "0FE0"
                                     << "0FE0";
        QTest::newRow("cancel keeps the old code") << 0 << "12" << false << "1200"
                                                   << "0000";
    }

    void idCodeDialogKeys()
    {
        QFETCH(int, cursor);
        QFETCH(QString, keys);
        QFETCH(bool, ok);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Image().IDCodeText = QStringLiteral("0000");
        TIDCodeDlg &dialog = *p.windows->IDCodeDlg;
        QString shownText;
        bool closedByKey = false;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.IDMaskEdit->setFocus();
            dialog.IDMaskEdit->setCursorPosition(cursor);
            for (const QChar key : keys) {
                if (key == QLatin1Char('\b'))
                    QTest::keyClick(dialog.IDMaskEdit, Qt::Key_Backspace);
                else if (key == QLatin1Char('\r') || key == QLatin1Char('\x1b'))
                    shownText = dialog.IDMaskEdit->displayText();
                else
                    QTest::keyClicks(dialog.IDMaskEdit, QString(key));
                if (key == QLatin1Char('\r'))
                    QTest::keyClick(dialog.IDMaskEdit, Qt::Key_Return);
                if (key == QLatin1Char('\x1b'))
                    QTest::keyClick(dialog.IDMaskEdit, Qt::Key_Escape);
            }
            const bool endsByKey = keys.contains('\r') || keys.contains('\x1b');
            if (endsByKey) {
                closedByKey = !dialog.isVisible();
                if (!closedByKey)
                    dialog.CancelBtn->click(); // the key was swallowed: end the test's dialog
                return;
            }
            closedByKey = true;
            shownText = dialog.IDMaskEdit->displayText();
            (ok ? dialog.OKBtn : dialog.CancelBtn)->click();
        });
        Find<QToolButton>(p.Main(), "IDCodeBtn")->click();
        QVERIFY(closedByKey);
        QTEST(shownText, "shown");
        QTEST(p.Image().IDCodeText, "idCode");
        QCOMPARE(p.sim->ExchangeCount(), 0);
    }

    void idCodeDialogRefusesOkWithABlankPosition()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        TIDCodeDlg &dialog = *p.windows->IDCodeDlg;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ID Code"));
        QVERIFY(dialog.OKBtn->isDefault());
        bool stayedOpen = false;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.IDMaskEdit->setFocus();
            dialog.IDMaskEdit->setCursorPosition(0);
            QTest::keyClick(dialog.IDMaskEdit, Qt::Key_Delete);
            dialog.OKBtn->click();
            stayedOpen = dialog.isVisible();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        Find<QToolButton>(p.Main(), "IDCodeBtn")->click();
        QVERIFY(stayedOpen);
        QCOMPARE(p.Image().IDCodeText, QStringLiteral("FFFF"));
    }
};

QTEST_MAIN(ChipCommandsTest)
#include "ChipCommandsTest.moc"
