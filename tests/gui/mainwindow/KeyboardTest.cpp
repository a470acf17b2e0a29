// The main window from the keyboard: keys on the file and chip buttons, keys that turn the
// pages, and a Tab order that follows the eye on every page.
#include "MainWindowFixture.h"
#include "editors/ProgView.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>

using namespace MainWindowFixture;

namespace {

QString FocusName()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return QString();
    // The page tabs are reached through the page control's own tab bar.
    return qobject_cast<QTabBar *>(focus) ? QStringLiteral("<tabs>") : focus->objectName();
}

bool Activate(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    // The program viewer follows the selected device's highest program address.
    void viewerGreysPastTheDevice()
    {
        Program p;
        const QAbstractItemModel *viewer = p.windows->ProgViewForm->PMemViewSG->model();
        const auto greyed = [viewer](int address) {
            return viewer->index(address / 16, address % 16).data(Qt::ForegroundRole).isValid();
        };
        QVERIFY(!greyed(0x3FF)); // 16c84, the default device
        QVERIFY(greyed(0x400));
        p.messages.confirmAnswers << false;
        PickDevice(p.Main(), QStringLiteral("16f877"));
        QVERIFY(!greyed(0x1FFF));
        QVERIFY(!p.Main().windowIcon().isNull());
    }

    void buttonKeys_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("hint");
        QTest::newRow("Load") << "LoadFromFileBtn" << QKeySequence(Qt::CTRL | Qt::Key_O)
                              << "Load From File (Ctrl+O), recent files (Ctrl+Shift+O)";
        QTest::newRow("Save") << "SaveToFileBtn" << QKeySequence(Qt::CTRL | Qt::Key_S)
                              << "Save To File (Ctrl+S)";
        QTest::newRow("Read") << "ChipReadBtn" << QKeySequence(Qt::Key_F5) << "Read From PIC (F5)";
        QTest::newRow("Write") << "ChipWriteBtn" << QKeySequence(Qt::Key_F6) << "Write To PIC (F6)";
        QTest::newRow("Verify") << "VerifyBtn" << QKeySequence(Qt::Key_F7)
                                << "Verify PIC to Buffer (F7)";
        QTest::newRow("Blank check")
            << "BlancCheckBtn" << QKeySequence(Qt::Key_F8) << "Blanc Check (F8)";
    }
    // The key presses the button from anywhere in the window, on every page; the hint names
    // the key while the accessible name stays the plain caption.
    void buttonKeys()
    {
        QFETCH(QString, button);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, hint);
        Program p;
        TTolmMain &main = p.Main();
        auto *tool = Find<QToolButton>(main, button);
        QCOMPARE(tool->toolTip(), hint);
        QVERIFY(hint.startsWith(tool->accessibleName() + " ("));

        QVERIFY(Activate(main));
        QSignalSpy clicks(tool, &QToolButton::clicked);
        auto *pages = Find<QTabWidget>(main, "OptionPages");
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            Find<QComboBox>(main, "DeviceSelector")->setFocus();
            QTest::keySequence(&main, keys);
        }
        QTRY_COMPARE(clicks.size(), pages->count());
    }

    // The recent files open from the keyboard too, on any page.
    void recentFilesKey()
    {
        Program p;
        TTolmMain &main = p.Main();
        Find<QTabWidget>(main, "OptionPages")->setCurrentIndex(2);
        QVERIFY(Activate(main));
        auto *menu = Find<QMenu>(main, "RecentFilesMenu");
        QTimer::singleShot(0, menu, [menu] { menu->close(); });
        const QSignalSpy shown(menu, &QMenu::aboutToShow);
        QTest::keySequence(&main, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        QCOMPARE(shown.size(), 1);
    }

    void pageKeys_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("Ctrl+Tab") << QKeySequence(Qt::CTRL | Qt::Key_Tab) << 0 << 1;
        QTest::newRow("Ctrl+Tab wraps") << QKeySequence(Qt::CTRL | Qt::Key_Tab) << 3 << 0;
        QTest::newRow("Ctrl+PgDown") << QKeySequence(Qt::CTRL | Qt::Key_PageDown) << 1 << 2;
        QTest::newRow("Ctrl+PgUp") << QKeySequence(Qt::CTRL | Qt::Key_PageUp) << 2 << 1;
        QTest::newRow("Ctrl+PgUp wraps") << QKeySequence(Qt::CTRL | Qt::Key_PageUp) << 0 << 3;
        QTest::newRow("Ctrl+Shift+Tab")
            << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab) << 1 << 0;
    }
    // From the toolbar, where the page control's own keys do not reach.
    void pageKeys()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(int, from);
        QFETCH(int, to);
        Program p;
        TTolmMain &main = p.Main();
        Find<QTabWidget>(main, "OptionPages")->setCurrentIndex(from);
        QVERIFY(Activate(main));
        Find<QToolButton>(main, "ConnectBtn")->setFocus();
        QTest::keySequence(&main, keys);
        QCOMPARE(Find<QTabWidget>(main, "OptionPages")->currentIndex(), to);
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("page");
        // After the toolbar and the page tabs; controls the device disables are passed over.
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Programming")
            << "16f84" << 0
            << QStringList{"ProgMemCbx",   "DataMemCbx",      "ConfigCbx",          "IDCodeCbx",
                           "ParallelRBtn", "LoadFromFileBtn", "SaveToFileBtn",      "ChipReadBtn",
                           "ChipWriteBtn", "VerifyBtn",       "BlancCheckBtn",      "ProtectBtn",
                           "UnProtectBtn", "IDCodeBtn",       "EraseBeforeWriteCbx"};
        QTest::newRow("Configuration")
            << "12c508" << 1
            << QStringList{"OscBox",         "ProtNoneBtn", "ConfigEdit", "ConfigReadBtn",
                           "ConfigWriteBtn", "RefreshBtn",  "CalEdit",    "ReadCalBtn",
                           "WriteCalBtn",    "BuildCalBtn", "WriteCalCbx"};
        QTest::newRow("Configuration with a part's own fields")
            << "16f887" << 1
            << QStringList{"OscBox",         "ProtNoneBtn", "ConfigEdit", "ConfigReadBtn",
                           "ConfigWriteBtn", "RefreshBtn",  "BORENBox",   "IESOCbx",
                           "FCMENCbx",       "WRT2Box",     "BOR4V2Box"};
        QTest::newRow("System") << "16f877" << 2
                                << QStringList{"WdtCbx",   "PutCbx", "LvpCbx", "BOutCbx", "MClrCbx",
                                               "DebugCbx", "CpdCbx", "WrtCbx", "MpeenCbx"};
        QTest::newRow("Addresses")
            << "16f84" << 3 << QStringList{"ProgStartEdit", "ProgEndEdit", "MaxProgBtn",
                                           "DataStartEdit", "DataEndEdit", "MaxDataBtn"};
    }
    void tabOrder()
    {
        QFETCH(QString, device);
        QFETCH(int, page);
        QFETCH(QStringList, order);
        Program p;
        TTolmMain &main = p.Main();
        main.SetDeviceValues(device, false);
        Find<QTabWidget>(main, "OptionPages")->setCurrentIndex(page);
        QVERIFY(Activate(main));
        Find<QToolButton>(main, "ConnectBtn")->setFocus();
        QStringList expected;
        for (const QString &name : QStringList{"OptionsBtn", "DataEditorBtn", "ProgEditorBtn",
                                               "DeviceSelector", "DetectBtn", "ExitBtn"} +
                                       order) {
            if (main.findChild<QWidget *>(name)->isEnabled())
                expected << name;
            if (name == "ExitBtn")
                expected << "<tabs>";
        }
        expected << "LogBtn"
                 << "ConnectBtn";
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusName();
        }
        QCOMPARE(visited, expected);
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
