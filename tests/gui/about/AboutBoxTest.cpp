#include "app/AboutBox.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class AboutBoxTest : public QObject
{
    Q_OBJECT
private slots:
    void fixedLinesAreFilledWhenCreated()
    {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QVERIFY(box.AuthorLabel->text().startsWith(QStringLiteral("by ")));
        // The licence, the Qt the program runs with, and a guide that is there to be read.
        QVERIFY(box.MakerLabel->text().contains(QStringLiteral("GPL-3.0-or-later")));
        QCOMPARE(box.Comments->text(), QStringLiteral("Qt ") + qVersion());
        const QString guide = box.EMailLabel->text().section(QStringLiteral(": "), 1);
        QVERIFY2(QFileInfo(guide).isFile(), qPrintable(guide));
        QVERIFY(!box.WebLabel->text().isEmpty());
        // The icon comes from the program's resources; a missing resource leaves it blank.
        const QImage icon = box.ProgramIcon->pixmap().toImage();
        QCOMPARE(icon.size(), QSize(65, 57));
        QVERIFY(icon.pixelColor(30, 28).alpha() > 0);
        QVERIFY(box.OKButton->isDefault());
    }

    // The main window sets both lines before every showing; the box shows them each time and
    // closes with OK, by click or Enter.
    void showsTheLinesEveryTime()
    {
        TAboutBox box;
        for (const bool byEnter : {false, true}) {
            box.SetProductName(QStringLiteral("Tolm"));
            box.SetVersionName(QStringLiteral("Version V2.60"));
            box.open();
            QCOMPARE(box.ProductName->text(), QStringLiteral("Tolm"));
            QCOMPARE(box.Version->text(), QStringLiteral("Version V2.60"));
            if (byEnter)
                QTest::keyClick(&box, Qt::Key_Return);
            else
                box.OKButton->click();
            QVERIFY(!box.isVisible());
            QCOMPARE(box.result(), int(QDialog::Accepted));
        }
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the box");
        TAboutBox box;
        box.SetProductName(QStringLiteral("Tolm"));
        box.SetVersionName(QStringLiteral("Version V2.60"));
        box.show();
        QVERIFY(box.grab().save(dir + QStringLiteral("/about.png")));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
