// What the desktop puts on the chip is what its user loaded and set: Options without a change
// keeps the image and the controls, nothing changes the image while a write reads it, a load
// replaces the ticked memories whole, and words that did not take fail the run. Every case ends
// on the simulator's chip.
#include "CliProcess.h"
#include "HexLines.h"
#include "OperationsFixture.h"
#include "app/MainStatusBar.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {

// `count` program words of one value from word 0, eight to a record.
QByteArray ProgramWords(int count, std::uint16_t value)
{
    QByteArray lines;
    for (int start = 0; start < count; start += 8) {
        QByteArray bytes;
        for (int a = start; a < std::min(count, start + 8); ++a)
            bytes += HexBytes({value & 0xFF, value >> 8});
        lines += HexLine(2 * start, 0, bytes);
    }
    return lines;
}

QByteArray ConfigRecord(std::uint16_t configAddress, std::uint16_t word)
{
    return HexWords(configAddress, {word});
}

int ChipWordsOtherThan(tolm::sim::SimChip &chip, int count, std::uint16_t value)
{
    int differing = 0;
    for (int a = 0; a < count; ++a)
        differing += chip.ProgramWord(static_cast<std::uint16_t>(a)) != value ? 1 : 0;
    return differing;
}

void LoadThroughButton(SimulatedProgram &p, const QString &path)
{
    p.messages.openFileNames.enqueue(path);
    p.Control<QToolButton>("LoadFromFileBtn")->click();
}

QString StatusLine(SimulatedProgram &p)
{
    return Find<QLabel>(p.Main(), QStringLiteral("StatusLine"))->text();
}

} // namespace

class ChipContentsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void optionsWithoutAChangeKeepsWhatWasLoaded_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("configWord");
        QTest::newRow("16f84, XT") << "16f84" << 0x3FF1;
        QTest::newRow("16f877, XT and write enable") << "16f877" << 0x3F31;
    }

    // OK in Options with the same device: the configuration word the file set, the narrowed
    // range and the image's checksum all stay, and the chip gets the file's word.
    void optionsWithoutAChangeKeepsWhatWasLoaded()
    {
        QFETCH(QString, device);
        QFETCH(int, configWord);
        SimulatedProgram p(device);
        QTemporaryDir dir;
        const QString file =
            WriteFile(dir, "blink.hex",
                      ProgramWords(4, 0x1234) + ConfigRecord(0x2007, configWord) + kHexEndLine);
        p.Tick({.Program = true, .Config = true});
        LoadThroughButton(p, file);
        p.Control<QLineEdit>("ProgEndEdit")->setText("0003");
        QApplication::processEvents(); // the checksum is taken after a burst of changes
        const QString checksum = p.Control<QLabel>("ChecksumLbl")->text();
        const int oscillator = p.Control<QComboBox>("OscBox")->currentIndex();
        p.messages.shown.clear();

        RunOptions(p.Main(), [](QDialog &d) { Find<QPushButton>(d, "OKBtn")->click(); });
        QApplication::processEvents(); // the checksum is taken after a burst of changes

        QCOMPARE(p.messages.shown, QStringList()); // no fill offered
        QCOMPARE(p.Control<QComboBox>("OscBox")->currentIndex(), oscillator);
        QCOMPARE(p.Control<QLineEdit>("ProgEndEdit")->text(), QStringLiteral("0003"));
        QCOMPARE(p.Control<QLabel>("ChecksumLbl")->text(), checksum);
        p.RunOnce(p.Control<QToolButton>("ChipWriteBtn"));
        QCOMPARE(p.Chip().ConfigWord(), configWord);
        QCOMPARE(ChipWordsOtherThan(p.Chip(), 4, 0x1234), 0);
        QCOMPARE(p.Chip().ProgramWord(4), 0x3FFF);
    }

    void nothingChangesTheImageWhileAWriteRuns_data()
    {
        QTest::addColumn<QString>("attempt");
        for (const char *row : {"Load button", "Ctrl+O", "recent file", "drop", "device selector",
                                "Options", "data editor fill", "program viewer fill"})
            QTest::newRow(row) << row;
    }

    // Another file (or device, or fill) asked for in the middle of a write is refused: the
    // chip gets the first file whole and the window still names it.
    void nothingChangesTheImageWhileAWriteRuns()
    {
        QFETCH(QString, attempt);
        SimulatedProgram p(QStringLiteral("16f84"));
        QTemporaryDir dir;
        const QString first =
            WriteFile(dir, "first.hex", ProgramWords(0x400, 0x1111) + kHexEndLine);
        const QString second =
            WriteFile(dir, "second.hex", ProgramWords(0x400, 0x2222) + kHexEndLine);
        p.Image().SetDataByteText(0, QStringLiteral("5A"));
        p.Tick({.Program = true});
        LoadThroughButton(p, second); // so that the recent files offer it
        LoadThroughButton(p, first);
        auto *main = &p.Main();
        p.AtProgress(8, [&] {
            p.messages.openFileNames.enqueue(second);
            if (attempt == "Load button") {
                p.Control<QToolButton>("LoadFromFileBtn")->click();
            } else if (attempt == "Ctrl+O") {
                QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
            } else if (attempt == "recent file") {
                auto *menu = p.Control<QMenu>("RecentFilesMenu");
                emit menu->aboutToShow();
                for (QAction *action : menu->actions()) {
                    if (action->data().toString() == second)
                        action->trigger();
                }
            } else if (attempt == "drop") {
                DropOn(*main, {QUrl::fromLocalFile(second)});
                QApplication::processEvents();
            } else if (attempt == "device selector") {
                PickDevice(*main, QStringLiteral("16f877"));
            } else if (attempt == "Options") {
                RunOptions(*main, [](QDialog &d) { d.accept(); });
            } else if (attempt == "data editor fill") {
                Find<QAction>(*p.windows->DataEditForm, "Clear00")->trigger();
            } else {
                Find<QAction>(*p.windows->ProgViewForm, "Clear0000")->trigger();
            }
        });

        p.RunOnce(p.Control<QToolButton>("ChipWriteBtn"));

        QCOMPARE(ChipWordsOtherThan(p.Chip(), 0x400, 0x1111), 0);
        QVERIFY2(main->windowTitle().endsWith("first.hex"), qPrintable(main->windowTitle()));
        QCOMPARE(p.Main().CurrentDevice().DeviceName, QStringLiteral("16f84"));
        QCOMPARE(p.Image().GetDataByteText(0), QStringLiteral("5A"));
        QVERIFY2(p.Driver().LastSummary().startsWith("Write finished"),
                 qPrintable(p.Driver().LastSummary()));
        QCOMPARE(p.messages.shown.count("OpenFile"), 2); // only the two loads before the write
    }

    // A file loaded after another file (here one for a larger device, dropped on the window)
    // replaces the ticked memories: nothing of the first reaches the chip, and the checksum is
    // the one tolm-cli shows for the file.
    void aLoadReplacesTheTickedMemories()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        QTemporaryDir dir;
        const QString larger =
            WriteFile(dir, "f877.hex",
                      ProgramWords(6, 0x0005) + HexWords(0x2100 + 3, {0x11, 0x12, 0x13, 0x14}) +
                          ConfigRecord(0x2007, 0x3F31) + kHexEndLine);
        const QString own = WriteFile(dir, "f84.hex",
                                      ProgramWords(2, 0x2805) + HexWords(0x2100, {0x3F}) +
                                          ConfigRecord(0x2007, 0x3FF1) + kHexEndLine);
        p.Tick({.Program = true, .Data = true, .Config = true, .IDCode = true});
        QVERIFY(DropOn(p.Main(), {QUrl::fromLocalFile(larger)}));
        QApplication::processEvents();
        QCOMPARE(p.Image().GetProgramWordText(5), QStringLiteral("0005"));
        LoadThroughButton(p, own);
        QApplication::processEvents();

        QCOMPARE(p.Image().GetProgramWordText(5), QStringLiteral("3FFF"));
        for (int a = 3; a <= 6; ++a)
            QCOMPARE(p.Image().GetDataByteText(a), QStringLiteral("FF"));
        QCOMPARE(p.Image().IDCodeText, QStringLiteral("FFFF")); // the file has none
        const CliRun show = RunTolmCli(TOLM_CLI, {"-d", "16f84", "show", own}, dir.path());
        QCOMPARE(show.exitCode, 0);
        const QString cliChecksum =
            QRegularExpression("checksum=([0-9A-F]{4})").match(show.out).captured(1);
        QCOMPARE(p.Control<QLabel>("ChecksumLbl")->text(), "Checksum " + cliChecksum);

        p.Control<QCheckBox>("IDCodeCbx")->setChecked(false);
        p.RunOnce(p.Control<QToolButton>("ChipWriteBtn"));
        QCOMPARE(p.Chip().ProgramWord(1), 0x2805);
        QCOMPARE(p.Chip().ProgramWord(5), 0x3FFF);
        QCOMPARE(p.Chip().DataByte(0), 0x3F);
        QCOMPARE(p.Chip().DataByte(3), 0xFF);
        QCOMPARE(p.Chip().ConfigWord(), 0x3FF1);
    }

    void wordsThatDidNotTakeFailTheRun_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("nextWordOnChip");
        QTest::newRow("Ignore") << int(Messages::Answer::Ignore)
                                << "program memory (1 word not written: 0010, expected 2222, "
                                   "read 3FFF)"
                                << 0x2222;
        QTest::newRow("Abort") << int(Messages::Answer::Abort)
                               << "program memory (aborted at 0010, which did not take (expected "
                                  "2222, read 3FFF); the words from there on were not written)"
                               << 0x3FFF;
    }

    // A word that will not program and that the user skips or aborts at: the summary, the
    // status line and the verdict say so, the failure sound plays and Close is the default.
    void wordsThatDidNotTakeFailTheRun()
    {
        QFETCH(int, answer);
        QFETCH(QString, result);
        QFETCH(int, nextWordOnChip);
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Chip().SetNeverProgram(0x10);
        p.Control<QRadioButton>("SerialRBtn")->setChecked(true); // reads every word back
        for (int a = 0; a < 0x20; ++a)
            p.Image().SetProgramWordText(a, QStringLiteral("2222"));
        p.Control<QLineEdit>("ProgEndEdit")->setText("001F");
        p.Tick({.Program = true});
        p.messages.writeErrorAnswers.enqueue(static_cast<Messages::Answer>(answer));
        bool closeIsDefault = false;
        p.RunOnce(p.Control<QToolButton>("ChipWriteBtn"), [&] {
            closeIsDefault = p.Form().CloseBtn->isDefault();
            p.Form().CloseBtn->click();
        });

        const QString summary = p.Driver().LastSummary();
        QVERIFY2(summary.startsWith("Write failed in "), qPrintable(summary));
        QVERIFY2(summary.endsWith(result), qPrintable(summary));
        QCOMPARE(StatusLine(p), summary);
        QVERIFY(!p.Driver().LastRunSucceeded());
        QVERIFY(closeIsDefault);
        QCOMPARE(p.messages.shown,
                 QStringList({"AbortRetryIgnore: Error Writing Program Memory Address $0010",
                              "FailureSound"}));
        QCOMPARE(p.messages.details.constLast(),
                 QStringLiteral("The word should hold 2222 and reads 3FFF."));
        QCOMPARE(p.Chip().ProgramWord(0x0F), 0x2222);
        QCOMPARE(p.Chip().ProgramWord(0x10), 0x3FFF);
        QCOMPARE(p.Chip().ProgramWord(0x11), nextWordOnChip);
    }

    // With "Write calibration word" and an image from an assembler, the calibration word is
    // written from the image: the box says so, and the chip keeps its factory value.
    void theCalibrationWordBoxSaysWhichValueWasWritten()
    {
        SimulatedProgram p(QStringLiteral("12c508"));
        const std::uint16_t factory = p.Chip().ProgramWord(0x1FF);
        p.Control<QCheckBox>("WriteCalCbx")->setChecked(true);
        p.Control<QLineEdit>("CalEdit")->setText("5A");
        p.Tick({.Program = true});
        p.messages.writeErrorAnswers.enqueue(Messages::Answer::Ignore);
        p.RunOnce(p.Control<QToolButton>("ChipWriteBtn"));

        QCOMPARE(p.messages.shown.constFirst(),
                 QStringLiteral("AbortRetryIgnore: Error Writing Program Memory Address $01FF"));
        const QString detail = p.messages.details.constLast();
        QVERIFY2(detail.contains("This is the calibration word. The image holds 0FFF there, which "
                                 "is no calibration word, and that is what was written: the "
                                 "image's value, not the Calibration field's (5A)."),
                 qPrintable(detail));
        QCOMPARE(p.Chip().ProgramWord(0x1FF), factory);
        QVERIFY(p.Driver().LastSummary().contains("1 word not written: 01FF, expected 0FFF"));
    }
};

QTEST_MAIN(ChipContentsTest)
#include "ChipContentsTest.moc"
