// The main window in daily work: the operation log, successes told quietly when the user
// wants, the title that follows what the image holds, and the memory grids in the desktop's
// colours.
#include "MainWindowFixture.h"
#include "app/Optdlg.h"
#include "editors/ProgView.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>

using namespace MainWindowFixture;

namespace {

// 16f84: words 0001-0004 at 0000, data 3F at 00, configuration 3FF1.
const QByteArray kBlink = ":02400E00F13F80\n:080000000100020003000400EE\n:024200003F007D\n"
                          ":00000001FF\n";

// The relative luminance contrast of two colours, as the accessibility guidelines measure it.
double Contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

} // namespace

class DailyWorkTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    // Every box and status line goes to the log with its time; the pane opens under the pages
    // and the window grows by it.
    void theLogKeepsEveryMessage()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QToolButton>(main, "ChipReadBtn")->click(); // no target: a warning box
        main.ShowStatusLine(QStringLiteral("Configuration word 3FF1 written"));
        const QString log = Find<QPlainTextEdit>(main, "OperationLogView")->toPlainText();
        const QRegularExpression entry("^\\d\\d:\\d\\d:\\d\\d  (.*)$",
                                       QRegularExpression::MultilineOption);
        QStringList texts;
        for (auto it = entry.globalMatch(log); it.hasNext();)
            texts << it.next().captured(1);
        QCOMPARE(texts, QStringList({"No target selected", "Configuration word 3FF1 written"}));

        auto *pane = Find<QPlainTextEdit>(main, "OperationLogView");
        const int height = main.height();
        QVERIFY(pane->isHidden());
        Find<QPushButton>(main, "LogBtn")->click();
        QVERIFY(!pane->isHidden());
        QVERIFY(main.height() > height + pane->height() / 2);
        Find<QPushButton>(main, "LogBtn")->click();
        QCOMPARE(main.height(), height);
    }

    void successesWithOrWithoutABox_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("with a box, as by default") << true;
        QTest::newRow("on the status line") << false;
    }

    // Unticked in Options, "File loaded successfully" goes to the status line and the log;
    // Save keeps the choice for the next start.
    void successesWithOrWithoutABox()
    {
        QFETCH(bool, confirm);
        QTemporaryDir dir;
        const QString file = WriteFile(dir, "blink.hex", kBlink);
        {
            Program p;
            TTolmMain &main = p.Main();
            RunOptions(main, [confirm](QDialog &d) {
                Find<QCheckBox>(d, "ConfirmSuccessesCbx")->setChecked(confirm);
                Find<QPushButton>(d, "SaveBtn")->click();
                Find<QPushButton>(d, "OKBtn")->click();
            });
            Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
            p.messages.openFileNames.enqueue(file);
            Find<QToolButton>(main, "LoadFromFileBtn")->click();
            const bool boxed = p.messages.shown.contains("Information: File loaded successfully");
            QCOMPARE(boxed, confirm);
            QCOMPARE(Find<QLabel>(main, "StatusLine")->text().endsWith("File loaded successfully"),
                     !confirm);
            QVERIFY(Find<QPlainTextEdit>(main, "OperationLogView")
                        ->toPlainText()
                        .contains("File loaded successfully"));
        }
        QCOMPARE(SettingsText().contains("ConfirmSuccesses=0"), !confirm);
        Program next;
        QTimer::singleShot(0, [&next, confirm] {
            auto *dialog = Find<QDialog>(next.Main(), "OptionsDlg");
            QCOMPARE(Find<QCheckBox>(*dialog, "ConfirmSuccessesCbx")->isChecked(), confirm);
            dialog->reject();
        });
        Find<QToolButton>(next.Main(), "OptionsBtn")->click();
    }

    // The title names the file the image came from, marks an edit, and names the chip after
    // a Read (see the operations' tests); a fill from the program viewer is an edit too.
    void theTitleFollowsTheImage()
    {
        Program p;
        TTolmMain &main = p.Main();
        QTemporaryDir dir;
        const QString file = WriteFile(dir, "blink.hex", kBlink);
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60"));
        Find<QCheckBox>(main, "ProgMemCbx")->setChecked(true);
        p.messages.openFileNames.enqueue(file);
        Find<QToolButton>(main, "LoadFromFileBtn")->click();
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - blink.hex"));
        p.windows->ProgViewForm->Set3FFFClick();
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - blink.hex*"));
        p.messages.saveFileNames.enqueue(dir.filePath("saved.hex"));
        Find<QToolButton>(main, "SaveToFileBtn")->click();
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolm V2.60 - saved.hex"));
    }

    void gridsTakeTheDesktopColours_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark") << QColor(30, 30, 30) << QColor(230, 230, 230);
    }

    // In a light and a dark theme, the words of the chip and those past its end read clearly
    // against their cells.
    void gridsTakeTheDesktopColours()
    {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        const QPalette before = QApplication::palette();
        QPalette theme = before;
        theme.setColor(QPalette::Base, base);
        theme.setColor(QPalette::Text, text);
        theme.setColor(QPalette::AlternateBase, base.lighter(base.lightness() < 128 ? 160 : 95));
        theme.setColor(QPalette::Disabled, QPalette::Text,
                       base.lightness() < 128 ? QColor(160, 160, 160) : QColor(90, 90, 90));
        QApplication::setPalette(theme);
        Program p;
        const QTableView *grid = p.windows->ProgViewForm->PMemViewSG;
        QCOMPARE(grid->palette().color(QPalette::Base), base);
        QVERIFY(Contrast(grid->palette().color(QPalette::Text), base) >= 4.5);
        const QModelIndex past = grid->model()->index(0x400 / 16, 0); // past a 16c84
        const QColor dimText = past.data(Qt::ForegroundRole).value<QBrush>().color();
        const QColor dimCell = past.data(Qt::BackgroundRole).value<QBrush>().color();
        QApplication::setPalette(before);
        QVERIFY2(Contrast(dimText, dimCell) >= 3.0, qPrintable(dimText.name() + dimCell.name()));
    }
};

QTEST_MAIN(DailyWorkTest)
#include "DailyWorkTest.moc"
