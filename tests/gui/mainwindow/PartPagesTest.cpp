// The main window's pages for every part: the parts Tolm has always offered keep the window as
// it was built, and a part with fields of its own gets room for their controls.
#include "MainWindowFixture.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartDefinition.h"

#include <QGroupBox>
#include <QTabWidget>

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
};

QTEST_MAIN(PartPagesTest)
#include "PartPagesTest.moc"
