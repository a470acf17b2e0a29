#include "device/MemoryImage.h"
#include "editors/ProgView.h"

#include <QAction>
#include <QTableView>
#include <QtTest>

namespace {

bool EveryWordIs(const MemoryImage &image, const QString &word)
{
    for (int a = 0; a < MemoryImage::kProgramWords; ++a) {
        if (image.GetProgramWordText(a) != word)
            return false;
    }
    return true;
}

} // namespace

class ProgramViewerTest : public QObject
{
    Q_OBJECT
private slots:
    void createdWithBlankWord_data()
    {
        QTest::addColumn<QString>("blank");
        QTest::newRow("12-bit core") << "0FFF";
        QTest::newRow("14-bit core") << "3FFF";
    }
    void createdWithBlankWord()
    {
        QFETCH(QString, blank);
        MemoryImage image;
        image.FillProgramImage(QStringLiteral("1234"));
        TProgViewForm form(image, blank);
        QCOMPARE(form.windowTitle(), QStringLiteral("View Program Memory"));
        QVERIFY(EveryWordIs(image, blank));
        QAbstractItemModel *model = form.PMemViewSG->model();
        QCOMPARE(model->index(511, 15).data().toString(), blank);
    }

    void headers()
    {
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        QAbstractItemModel *model = form.PMemViewSG->model();
        QCOMPARE(model->rowCount(), 512);
        QCOMPARE(model->columnCount(), 16);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("  0"));
        QCOMPARE(model->headerData(10, Qt::Horizontal).toString(), QStringLiteral("  A"));
        QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("0000"));
        QCOMPARE(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("0010"));
        QCOMPARE(model->headerData(511, Qt::Vertical).toString(), QStringLiteral("1FF0"));
    }

    void readOnly()
    {
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAbstractItemModel *model = form.PMemViewSG->model();
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
        form.PMemViewSG->setCurrentIndex(model->index(0, 0));
        QTest::keyClicks(form.PMemViewSG, QStringLiteral("12ab"));
        QTest::keyClick(form.PMemViewSG, Qt::Key_Delete);
        QTest::mouseDClick(form.PMemViewSG->viewport(), Qt::LeftButton);
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("0000")));
        QVERIFY(EveryWordIs(image, QStringLiteral("3FFF")));
    }

    // One fill repaints the table once, not 8192 times.
    void fills_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("word");
        QTest::newRow("Clear 0000") << "Clear0000"
                                    << "Clear 0000"
                                    << "0000";
        QTest::newRow("Set 0FFF") << "Set0FFF"
                                  << "Set   0FFF"
                                  << "0FFF";
        QTest::newRow("Set 3FFF") << "Set3FFF"
                                  << "Set   3FFF"
                                  << "3FFF";
    }
    void fills()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, word);
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("1111"));
        QSignalSpy repaints(form.PMemViewSG->model(), &QAbstractItemModel::dataChanged);
        QAction *action = form.findChild<QAction *>(item);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        action->trigger();
        QVERIFY(EveryWordIs(image, word));
        QCOMPARE(repaints.size(), 1);
        QCOMPARE(form.PMemViewSG->model()->index(300, 7).data().toString(), word);
    }

    void changedWordShowsAtOnce_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("0x0013") << 0x0013 << 1 << 3;
        QTest::newRow("0x1FFF") << 0x1FFF << 511 << 15;
    }
    void changedWordShowsAtOnce()
    {
        QFETCH(int, address);
        QFETCH(int, row);
        QFETCH(int, column);
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        QSignalSpy repaints(form.PMemViewSG->model(), &QAbstractItemModel::dataChanged);
        image.SetProgramWordText(address, QStringLiteral("2a5f"));
        QCOMPARE(repaints.size(), 1);
        const QModelIndex cell = form.PMemViewSG->model()->index(row, column);
        QCOMPARE(repaints.at(0).at(0).value<QModelIndex>(), cell);
        QCOMPARE(repaints.at(0).at(1).value<QModelIndex>(), cell);
        QCOMPARE(cell.data().toString(), QStringLiteral("2a5f"));
    }

    void closingHidesAndKeepsWords()
    {
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        form.show();
        image.SetProgramWordText(5, QStringLiteral("0123"));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        form.show();
        QCOMPARE(form.PMemViewSG->model()->index(0, 5).data().toString(), QStringLiteral("0123"));
    }

    // Words past the device's highest address are greyed, so a 1K part stands apart from
    // the 8K image; the headers keep their text but sit centred over their words.
    void wordsPastTheDeviceAreGreyed_data()
    {
        QTest::addColumn<int>("lastAddress");
        QTest::addColumn<int>("address");
        QTest::addColumn<bool>("greyed");
        QTest::newRow("16f84, last word") << 0x3FF << 0x3FF << false;
        QTest::newRow("16f84, first word past it") << 0x3FF << 0x400 << true;
        QTest::newRow("16f84, image end") << 0x3FF << 0x1FFF << true;
        QTest::newRow("16f877, image end") << 0x1FFF << 0x1FFF << false;
        QTest::newRow("12c508, word 0x200") << 0x1FF << 0x200 << true;
    }
    void wordsPastTheDeviceAreGreyed()
    {
        QFETCH(int, lastAddress);
        QFETCH(int, address);
        QFETCH(bool, greyed);
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        QSignalSpy repaints(form.PMemViewSG->model(), &QAbstractItemModel::dataChanged);
        form.SetLastProgramAddress(lastAddress);
        QCOMPARE(repaints.size(), lastAddress == 0x1FFF ? 0 : 1);
        const QModelIndex cell = form.PMemViewSG->model()->index(address / 16, address % 16);
        QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), greyed);
        QCOMPARE(cell.data(Qt::BackgroundRole).isValid(), greyed);
        QCOMPARE(cell.data().toString(), QStringLiteral("3FFF"));
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the window");
        MemoryImage image;
        TProgViewForm form(image, QStringLiteral("3FFF"));
        image.SetProgramWordText(0x13, QStringLiteral("2A5F"));
        form.SetLastProgramAddress(0x3F); // a part that ends inside the visible rows
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.grab().save(dir + QStringLiteral("/program-viewer.png")));
    }
};

QTEST_MAIN(ProgramViewerTest)
#include "ProgramViewerTest.moc"
