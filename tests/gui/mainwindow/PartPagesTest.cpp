// The main window's pages for every part: the parts Tolm has always offered keep the window as
// it was built, and a part with fields of its own gets room for their controls.
#include "MainWindowFixture.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartDefinition.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace MainWindowFixture;

class PartPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void confirmedPartsKeepTheWindow_data()
    {
        QTest::addColumn<QString>("part");
        for (const PartDefinition &part : CatalogueInUse().parts) {
            if (part.confirmedOnHardware)
                QTest::newRow(qPrintable(part.name)) << part.name;
        }
    }

    // Also after a part that needed more room: the window comes back to its size.
    void confirmedPartsKeepTheWindow()
    {
        QFETCH(QString, part);
        Program p;
        TTolmMain &main = p.Main();
        const QSize built = main.size();
        QVERIFY(main.SetDeviceValues(QStringLiteral("16f887"), false));
        QVERIFY(main.SetDeviceValues(part, false));
        QCOMPARE(main.size(), built);
        QVERIFY(Find<QGroupBox>(main, "FieldsBox")->isHidden());
    }

    void ownFieldsFitThePage_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("16f877a") << "16f877a";
        QTest::newRow("12f683") << "12f683";
        QTest::newRow("16f887") << "16f887";
    }

    // Every control of the part's fields shows whole on the Configuration page, none squeezed
    // below the height it needs.
    void ownFieldsFitThePage()
    {
        QFETCH(QString, part);
        Program p;
        TTolmMain &main = p.Main();
        QVERIFY(main.SetDeviceValues(part, false));
        auto *pages = Find<QTabWidget>(main, "OptionPages");
        auto *page = Find<QWidget>(main, "Configuration");
        pages->setCurrentWidget(page);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto *fields = Find<QGroupBox>(main, "FieldsBox");
        QVERIFY(fields->isVisible());
        QTRY_VERIFY(fields->height() >= fields->minimumSizeHint().height());
        const QRect inside = page->rect();
        for (const QWidget *w : page->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->parentWidget() != page)
                continue;
            const QRect area(w->mapTo(page, QPoint(0, 0)), w->size());
            QVERIFY2(inside.contains(area), qPrintable(w->objectName()));
        }
    }

    // A file's second configuration word shows in the second word's controls, and goes back
    // to the image as the controls say.
    void aFilesSecondWordReachesItsControls()
    {
        Program p;
        TTolmMain &main = p.Main();
        QVERIFY(main.SetDeviceValues(QStringLiteral("16f887"), false));
        QTemporaryDir dir;
        // 2007 = 3FFF, 2008 = 3BFF (WRT 0000-07FF).
        const QString file =
            WriteFile(dir, QStringLiteral("words.hex"), ":04400E00FF3FFF3B36\r\n:00000001FF\r\n");
        main.LoadStartFile(file);
        QCOMPARE(p.Image().SecondConfigWord, 0x3BFF);
        auto *wrt = Find<QComboBox>(main, "WRT2Box");
        QCOMPARE(wrt->currentText(), QStringLiteral("0000-07FF"));
        wrt->setCurrentIndex(wrt->findText(QStringLiteral("off")));
        Find<QToolButton>(main, "RefreshBtn")->click();
        QCOMPARE(p.Image().SecondConfigWord, 0x3FFF);
    }
};

QTEST_MAIN(PartPagesTest)
#include "PartPagesTest.moc"
