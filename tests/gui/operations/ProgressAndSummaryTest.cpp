// What the progress window says beside its bar, the line it keeps after a run, where it goes
// on a small screen, Start's focus, and the quiet status line of the chip commands.
#include "OperationsFixture.h"
#include "app/MainStatusBar.h"
#include "ops/PausableClock.h"
#include "ops/ProgressInfo.h"
#include "ops/ProgressPlacement.h"
#include "ops/SequenceSummary.h"

#include <QApplication>
#include <QStackedWidget>

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {

TargetReport Report(ChipTarget target, bool succeeded, int words = 0,
                    EngineOutcome outcome = EngineOutcome::Completed)
{
    TargetReport report;
    report.target = target;
    report.succeeded = succeeded;
    report.detail.wordsDone = words;
    report.detail.outcome = outcome;
    return report;
}

} // namespace

class ProgressAndSummaryTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void figures_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("data");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("elapsedMs");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("time");
        QTest::newRow("before the first word")
            << 0 << false << 0x3FF << 0 << 400 << "Address 0000   0%   0 of 1024 words"
            << "0:00 so far";
        QTest::newRow("a third in")
            << 0 << false << 0x3FF << 0x180 << 12000 << "Address 0180   37%   384 of 1024 words"
            << "0:12 so far   0:20 left";
        QTest::newRow("a range from 0100")
            << 0x100 << false << 0xFF << 0x10 << 1000 << "Address 0110   6%   16 of 256 words"
            << "0:01 so far   0:15 left";
        QTest::newRow("all done shows the last word")
            << 0 << false << 0x3FF << 0x400 << 61000 << "Address 03FF   100%   1024 of 1024 words"
            << "1:01 so far   0:00 left";
        QTest::newRow("data bytes, two digits")
            << 0x10 << true << 0x2F << 0x10 << 2000 << "Address 20   33%   16 of 48 bytes"
            << "0:02 so far   0:04 left";
        QTest::newRow("one word") << 0x3FF << false << 0 << 1 << 10
                                  << "Address 03FF   100%   1 of 1 words"
                                  << "0:00 so far   0:00 left";
    }

    void figures()
    {
        QFETCH(int, start);
        QFETCH(bool, data);
        QFETCH(int, maximum);
        QFETCH(int, done);
        QFETCH(int, elapsedMs);
        const ProgressFigures figures{static_cast<std::uint16_t>(start), data, maximum + 1, done};
        QTEST(ProgressCountText(figures), "count");
        QTEST(ProgressTimeText(figures, elapsedMs), "time");
        QCOMPARE(ProgressCountText(ProgressFigures()), QString()); // ID code: no figures
    }

    void summaries_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("eraseFirst");
        QTest::addColumn<QList<TargetReport>>("reports");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("text");
        const auto ok = [](ChipTarget t, int words = 0) { return Report(t, true, words); };
        QTest::newRow("write, every target")
            << int(ChipOperation::Write) << false
            << QList<TargetReport>{ok(ChipTarget::ProgramMemory, 1024),
                                   ok(ChipTarget::DataMemory, 64), ok(ChipTarget::IdCode),
                                   ok(ChipTarget::ConfigWord)}
            << ""
            << "Write finished in 34 s: program memory 1024 words, data 64 bytes, ID code, "
               "configuration word";
        QTest::newRow("verify fails with the detail it was given")
            << int(ChipOperation::Verify) << false
            << QList<TargetReport>{Report(ChipTarget::ProgramMemory, false, 3,
                                          EngineOutcome::VerifyDifference),
                                   ok(ChipTarget::DataMemory, 64)}
            << "0003: expected 2222, read 1003"
            << "Verify failed in 34 s: program memory (0003: expected 2222, read 1003); data 64 "
               "bytes verified";
        QTest::newRow("blank check, two failures")
            << int(ChipOperation::BlankCheck) << false
            << QList<TargetReport>{Report(ChipTarget::ProgramMemory, false),
                                   Report(ChipTarget::ConfigWord, false)}
            << ""
            << "Blank check failed in 34 s: program memory, configuration word";
        QTest::newRow("closed by the user")
            << int(ChipOperation::Read) << false
            << QList<TargetReport>{Report(ChipTarget::ProgramMemory, true, 120,
                                          EngineOutcome::Closed)}
            << ""
            << "Read ended in 34 s: program memory 120 words (ended early)";
        // Written, then verified: one entry each, failed when the verify failed.
        QTest::newRow("erase and write, the verify fails")
            << int(ChipOperation::Write) << true
            << QList<TargetReport>{ok(ChipTarget::ProgramMemory, 1024), ok(ChipTarget::IdCode),
                                   Report(ChipTarget::ProgramMemory, false, 5),
                                   ok(ChipTarget::IdCode)}
            << ""
            << "Erase and write failed in 34 s: program memory; ID code written";
    }

    void summaries()
    {
        QFETCH(int, operation);
        QFETCH(bool, eraseFirst);
        QFETCH(QList<TargetReport>, reports);
        QFETCH(QString, detail);
        SequenceSummary summary;
        summary.Begin(static_cast<ChipOperation>(operation), eraseFirst);
        for (const TargetReport &report : reports)
            summary.Add(report, report.succeeded ? QString() : detail);
        QTEST(summary.Text(34000), "text");
    }

    // Sizes of a 1280 x 900 screen at scale 2 among them: the main window alone takes most of
    // the height, and the buttons must still be on the screen. The main window's lowest 50
    // pixels (its checksum and status line) are never covered.
    void placement_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("place");
        const QRect screen(0, 0, 1280, 900);
        QTest::newRow("below, as ever")
            << QRect(400, 100, 384, 350) << QSize(320, 150) << screen << QPoint(400, 450);
        QTest::newRow("above when below is too low")
            << QRect(400, 500, 384, 350) << QSize(320, 150) << screen << QPoint(400, 350);
        QTest::newRow("beside when neither fits") << QRect(128, 50, 384, 350) << QSize(320, 150)
                                                  << QRect(0, 0, 1280, 450) << QPoint(512, 50);
        QTest::newRow("left when the right is the screen's edge")
            << QRect(700, 50, 384, 350) << QSize(320, 150) << QRect(0, 0, 1100, 450)
            << QPoint(380, 50);
        QTest::newRow("over the pages, never the checksum, when nothing fits")
            << QRect(10, 20, 600, 360) << QSize(320, 150) << QRect(0, 0, 640, 400)
            << QPoint(10, 180);
        QTest::newRow("pulled in from the right edge")
            << QRect(1100, 100, 384, 350) << QSize(320, 150) << screen << QPoint(960, 450);
        QTest::newRow("a panel at the top") << QRect(0, 0, 384, 350) << QSize(320, 150)
                                            << QRect(0, 30, 1280, 870) << QPoint(0, 350);
    }

    void placement()
    {
        QFETCH(QRect, main);
        QFETCH(QSize, window);
        QFETCH(QRect, available);
        const int uncoveredTop = main.bottom() + 1 - 50;
        const QPoint place = ProgressWindowPlace(main, window, available, uncoveredTop);
        QTEST(place, "place");
        QVERIFY(available.contains(QRect(place, window)));
        const QRect kept(main.left(), uncoveredTop, main.width(), 50);
        QVERIFY(!QRect(place, window).intersects(kept));
    }

    // During a real write the figures follow the words; afterwards the summary stands in their
    // place until the next Start, and Start has the focus for the next chip.
    void aWriteShowsFiguresThenItsSummary()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({.Program = true, .IDCode = true});
        QStringList figuresSeen;
        p.AtProgress(0x100, [&] {
            figuresSeen << p.Form().ProgressInfoLbl->text() << p.Form().TimeInfoLbl->text();
        });
        QString summary;
        QString focusAfter;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"), [&] {
            summary = p.Form().SummaryLbl->text();
            focusAfter = p.Form().focusWidget() ? p.Form().focusWidget()->objectName() : "";
            QVERIFY(p.Form().SummaryLbl->isVisibleTo(&p.Form()));
            QVERIFY(p.Form().StartBtn->isDefault());
            p.Form().CloseBtn->click();
        });
        QCOMPARE(figuresSeen.size(), 2);
        // Figures are redrawn at most ten times a second; the count is never ahead of the bar.
        QVERIFY2(figuresSeen[0].startsWith("Address 0") && figuresSeen[0].endsWith("of 1024 words"),
                 qPrintable(figuresSeen[0]));
        QVERIFY2(figuresSeen[1].contains("so far"), qPrintable(figuresSeen[1]));
        QVERIFY2(summary.startsWith("Write finished in ") &&
                     summary.endsWith(": program memory 1024 words, ID code"),
                 qPrintable(summary));
        QCOMPARE(focusAfter, QStringLiteral("StartBtn"));
    }

    void theSummaryGoesAtTheNextStart()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({.IDCode = true});
        int runs = 0;
        QStringList summaryAtStart;
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipReadBtn"), [&] {
            if (++runs == 2) {
                p.Form().CloseBtn->click();
                return;
            }
            QVERIFY(!p.Form().SummaryLbl->text().isEmpty());
            QTimer::singleShot(0, &p.Form(), [&] {
                // Space on the focused Start, as the user starts the next chip.
                QTest::keyClick(p.Form().focusWidget(), Qt::Key_Space);
                summaryAtStart << p.Form().SummaryLbl->text();
            });
        });
        QCOMPARE(runs, 2);
        QCOMPARE(summaryAtStart, QStringList{QString()});
    }

    // The commands that change the chip and have no box for success say so on the status line.
    void chipCommandsSayTheyWorked_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("status");
        QTest::newRow("direct write") << "16f84"
                                      << "ConfigWriteBtn"
                                      << "Configuration word 3FF1 written";
        QTest::newRow("protect") << "16f84"
                                 << "ProtectBtn"
                                 << "Code protected: configuration word 000F programmed";
        QTest::newRow("unprotect") << "16f84"
                                   << "UnProtectBtn"
                                   << "Unprotected and erased";
        QTest::newRow("calibration") << "12c508"
                                     << "WriteCalBtn"
                                     << "Calibration word 0C5A written";
    }

    void chipCommandsSayTheyWorked()
    {
        QFETCH(QString, device);
        QFETCH(QString, button);
        SimulatedProgram p(device);
        p.Chip().SetProgramWord(0x1FF, 0x0FFF); // an erased calibration word takes any value
        Find<QLineEdit>(p.Main(), "ConfigEdit")->setText(QStringLiteral("3FF1"));
        Find<QLineEdit>(p.Main(), "CalEdit")->setText(QStringLiteral("5A"));
        p.ClickConfirmed(button);
        QCOMPARE(p.messages.shown.size(), 1); // the question, no box
        QTEST(Find<MainStatusBar>(p.Main(), "StatusBar")->Text(), "status");

        // A failure keeps its box and says nothing new on the status line.
        tolm::sim::FaultSettings silent;
        silent.noAckFromExchange = 0;
        p.sim->SetFaults(silent);
        Find<MainStatusBar>(p.Main(), "StatusBar")->ShowText(QString());
        p.ClickConfirmed(button);
        QCOMPARE(p.messages.shown.size(), 3);
        QCOMPARE(Find<MainStatusBar>(p.Main(), "StatusBar")->Text(), QString());
    }

    void runClockLeavesOutHolds_data()
    {
        QTest::addColumn<QList<int>>("holds"); // hold and release times, in pairs
        QTest::addColumn<int>("readAt");
        QTest::addColumn<int>("elapsed");
        QTest::newRow("never held") << QList<int>{} << 1000 << 1000;
        QTest::newRow("a box answered") << QList<int>{100, 600} << 1000 << 500;
        QTest::newRow("read while held") << QList<int>{100, 2000} << 700 << 100;
        QTest::newRow("a box while paused")
            << QList<int>{100, 200, 150, 400} << 1000 << 700; // nested: held 100..400
    }

    // The run's time leaves out a pause and the boxes that waited for the user.
    void runClockLeavesOutHolds()
    {
        QFETCH(QList<int>, holds);
        QFETCH(int, readAt);
        qint64 now = 0;
        PausableClock clock([&now] { return now; });
        clock.Start();
        // Holds in time order: a hold at holds[2k], its release at holds[2k + 1].
        QList<std::pair<int, bool>> events;
        for (qsizetype k = 0; k + 1 < holds.size(); k += 2)
            events << std::pair{holds[k], true} << std::pair{holds[k + 1], false};
        std::sort(events.begin(), events.end());
        for (const auto &[at, hold] : events) {
            if (at > readAt)
                break;
            now = at;
            hold ? clock.Hold() : clock.Release();
        }
        now = readAt;
        QTEST(int(clock.ElapsedMs()), "elapsed");
    }

    // Stop says where the run goes on; Start goes on from there, and the run finishes whole.
    void aPausedWriteSaysWhereItGoesOn()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({.Program = true});
        QString whilePaused;
        p.AtProgress(8, [&] {
            p.Form().StopBtn->click();
            QTimer::singleShot(200, &p.Form(), [&] {
                whilePaused = p.Form().ProgressInfoLbl->text() + " / " + p.Form().StartBtn->text();
                p.Form().StartBtn->click();
            });
        });
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(whilePaused, QStringLiteral("Paused at 0008 / Continue"));
        QVERIFY(p.Driver().LastSummary().startsWith("Write finished in "));
        QCOMPARE(p.Chip().ProgramWord(0x3FF), 0x3FFF);
    }

    // A long summary (a failure's details) is shown whole: the window grows for it, and is
    // its own size again at the next Start.
    void aLongSummaryIsShownWhole()
    {
        RequestFlags flags;
        TProcessForm form(flags);
        form.show();
        const int height = form.height();
        const QString longSummary =
            "Write failed in 3 s: " +
            QStringList(12, QStringLiteral("program memory (1 word not written: 0010, expected "
                                           "2222, read 3FFF)"))
                .join(QStringLiteral(", "));
        form.ShowSummary(longSummary, true);
        QApplication::processEvents();
        QVERIFY(form.SummaryLbl->height() >=
                form.SummaryLbl->heightForWidth(form.SummaryLbl->width()));
        QVERIFY(form.height() > height);
        form.StartBtnClick();
        QCOMPARE(form.height(), height);
    }

    // Moved with the main window, it keeps its place beside it.
    void itFollowsTheMainWindow()
    {
        RequestFlags flags;
        TProcessForm form(flags);
        QWidget main;
        main.move(100, 100);
        main.show();
        form.FollowWindow(main);
        form.move(100, 400);
        form.show();
        QApplication::processEvents();
        const QPoint before = form.pos();
        main.move(150, 130);
        QApplication::processEvents();
        QCOMPARE(form.pos(), before + QPoint(50, 30));
    }
};

QTEST_MAIN(ProgressAndSummaryTest)
#include "ProgressAndSummaryTest.moc"
