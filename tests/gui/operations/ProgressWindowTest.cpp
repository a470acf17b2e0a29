// The progress window on its own: what its buttons do to the request flags and to each
// other, and where the first operation puts it.
#include "OperationsFixture.h"

#include <QTemporaryDir>

using namespace MainWindowFixture;
using namespace OperationsFixture;

class ProgressWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    // Each row: the clicks in order, then the flags and the enabled buttons they leave.
    void buttonsSetTheFlags_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("pause");
        QTest::addColumn<bool>("close");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<bool>("stopEnabled");
        QTest::newRow("ready") << "" << false << false << false << true << false;
        QTest::newRow("start") << "start" << true << false << false << false << true;
        QTest::newRow("stop pauses") << "start stop" << false << true << false << true << false;
        QTest::newRow("start resumes")
            << "start stop start" << true << false << false << false << true;
        QTest::newRow("close only raises close")
            << "start close" << true << false << true << false << true;
        QTest::newRow("ready after a paused run")
            << "start stop close ready" << false << false << false << true << false;
    }

    void buttonsSetTheFlags()
    {
        QFETCH(QString, clicks);
        RequestFlags flags;
        TProcessForm form(flags);
        form.BeReady();
        form.ProgressBar->setValue(40);
        form.StartBtn->setText(QStringLiteral("Continue"));
        for (const QString &click : clicks.split(' ', Qt::SkipEmptyParts)) {
            if (click == "start")
                form.StartBtnClick();
            else if (click == "stop")
                form.StopBtnClick();
            else if (click == "close")
                form.CloseBtnClick();
            else
                form.BeReady();
        }
        QTEST(flags.StartRequested, "start");
        QTEST(flags.PauseRequested, "pause");
        QTEST(flags.CloseRequested, "close");
        QTEST(form.StartBtn->isEnabled(), "startEnabled");
        QTEST(form.StopBtn->isEnabled(), "stopEnabled");
        if (clicks.endsWith("ready")) {
            QCOMPARE(form.StatusLbl->text(), QStringLiteral("Ready..."));
            QCOMPARE(form.StartBtn->text(), QStringLiteral("Start"));
            QCOMPARE(form.ProgressBar->value(), 0);
        }
    }

    void layoutAndNoCloseBox()
    {
        RequestFlags flags;
        TProcessForm form(flags);
        // The window has grown for the figures and the summary; the three buttons keep their
        // order and at least their size, in one row inside the window.
        form.show();
        QVERIFY(form.width() >= 258 && form.height() >= 79);
        const QRect start = form.StartBtn->geometry();
        const QRect stop = form.StopBtn->geometry();
        const QRect close = form.CloseBtn->geometry();
        for (const QRect &button : {start, stop, close}) {
            QVERIFY(button.width() >= 75 && button.height() >= 25);
            QVERIFY(form.rect().contains(button));
            QCOMPARE(button.top(), start.top());
        }
        QVERIFY(start.right() < stop.left() && stop.right() < close.left());
        QVERIFY(form.ProgressBar->geometry().bottom() < start.top());
        form.hide();
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        // A close from the window manager is a Close request; the window stays for the
        // operation to end.
        form.show();
        QVERIFY(!form.close());
        QVERIFY(flags.CloseRequested);
    }

    void firstOperationPlacesTheWindowBelowTheMainWindowOnlyOnce()
    {
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Main().show();
        p.Main().move(100, 120);
        p.Tick({.IDCode = true});
        QPoint firstPlace;
        QTimer::singleShot(0, &p.Form(), [&] {
            firstPlace = p.Form().frameGeometry().topLeft();
            p.Form().move(400, 30); // the user moves it, the whole window still on the screen
            p.Form().CloseBtn->click();
        });
        Find<QToolButton>(p.Main(), "ChipReadBtn")->click();
        const QRect main = p.Main().frameGeometry();
        QCOMPARE(firstPlace, QPoint(main.left(), main.top() + main.height()));
        QVERIFY(!p.Main().ProcessFormUnplaced());

        QPoint secondPlace;
        QTimer::singleShot(0, &p.Form(), [&] {
            secondPlace = p.Form().frameGeometry().topLeft();
            p.Form().CloseBtn->click();
        });
        Find<QToolButton>(p.Main(), "ChipReadBtn")->click();
        QCOMPARE(secondPlace, QPoint(400, 30));
        QVERIFY(!p.Form().isVisible());
        QVERIFY(p.messages.shown.isEmpty()); // Close in Ready runs nothing
    }

    // The first folder holding the chime wins; none found means the beep.
    void readySoundLookupOrder_data()
    {
        QTest::addColumn<QList<bool>>("hasFile");
        QTest::addColumn<int>("chosen");
        QTest::newRow("current directory first") << QList<bool>{true, true, true} << 0;
        QTest::newRow("beside the executable") << QList<bool>{false, true, true} << 1;
        QTest::newRow("data folder") << QList<bool>{false, false, true} << 2;
        QTest::newRow("nowhere") << QList<bool>{false, false, false} << -1;
    }

    void readySoundLookupOrder()
    {
        QFETCH(QList<bool>, hasFile);
        QFETCH(int, chosen);
        QTemporaryDir root;
        QStringList folders;
        for (int i = 0; i < hasFile.size(); ++i) {
            const QString folder = root.filePath(QString::number(i));
            QDir().mkpath(folder);
            if (hasFile[i]) {
                QFile file(QDir(folder).filePath(QStringLiteral("Ready.wav")));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
            folders << folder;
        }
        const QString expected =
            chosen < 0 ? QString() : QDir(folders[chosen]).filePath(QStringLiteral("Ready.wav"));
        QCOMPARE(FindReadySoundFile(folders), expected);
    }
};

QTEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
