// What the window says about the module port: the Port dialog names it, the Connect hint
// tells whether it is held, and a port that cannot be opened says why and what to do.
#include "MainWindowFixture.h"
#include "ModsimProcess.h"
#include "app/PortConU.h"
#include "link/SerialLink.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <unistd.h>

using namespace MainWindowFixture;

namespace {

constexpr uid_t kNobody = 65534;

// Root may open any file; to meet the refusal an ordinary user meets, the file checks are
// made as nobody while `work` runs.
template <typename Work> void AsOrdinaryUser(Work work)
{
    const bool root = ::geteuid() == 0;
    if (root)
        ::setfsuid(kNobody);
    work();
    if (root)
        ::setfsuid(0);
}

// A pseudo-terminal slave: a real terminal device that any user may open.
QString OpenPseudoTerminal(int &master)
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return {};
    return QString::fromLocal8Bit(::ptsname(master));
}

} // namespace

class PortReasonTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void openFailureSaysWhyAndWhatToDo_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QStringList>("detailHas");
        QTest::newRow("missing device")
            << "missing" << QStringList{"No such file or directory", "plugged in"};
        QTest::newRow("no permission")
            << "unreadable"
            << QStringList{"Permission denied", "dialout", "sudo usermod -aG dialout $USER",
                           "log in again"};
        QTest::newRow("held by another program")
            << "held" << QStringList{"in use by another program"};
    }
    void openFailureSaysWhyAndWhatToDo()
    {
        QFETCH(QString, situation);
        QFETCH(QStringList, detailHas);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
        QString port = dir.filePath(QStringLiteral("port"));
        int master = -1;
        SerialLink otherProgram;
        if (situation == "unreadable") {
            QFile file(port);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::Permissions()));
        } else if (situation == "held") {
            port = OpenPseudoTerminal(master);
            QVERIFY(!port.isEmpty());
            QVERIFY(otherProgram.OpenModulePort(port));
        }
        QVERIFY(WriteSettings({"ModulePort=" + port}));

        ScriptedMessages messages;
        const auto connect = [&] {
            ModuleConnection connection(messages);
            connection.ModulePortName = port;
            connection.HandlePortChoice(TPortDlg::kConnectResult, messages);
        };
        if (situation == "unreadable")
            AsOrdinaryUser(connect);
        else
            connect();
        if (master >= 0)
            ::close(master);

        QCOMPARE(messages.shown,
                 QStringList({"Plain: COM Port Error", "Plain: Programmer Device NOT Connected"}));
        QCOMPARE(messages.details.size(), 2);
        QCOMPARE(messages.details[1], messages.details[0]);
        const QString detail = messages.details[0];
        QVERIFY2(detail.contains(port), qPrintable(detail));
        for (const QString &part : detailHas)
            QVERIFY2(detail.contains(part), qPrintable(detail));
    }

    void silentModuleSaysNoAnswer()
    {
        int master = -1;
        const QString port = OpenPseudoTerminal(master);
        QVERIFY(!port.isEmpty());
        ScriptedMessages messages;
        ModuleConnection connection(messages);
        connection.ModulePortName = port;
        connection.HandlePortChoice(TPortDlg::kConnectResult, messages);
        ::close(master);
        QCOMPARE(messages.shown, QStringList{"Plain: Programmer Device NOT Connected"});
        QVERIFY(messages.details.value(0).contains(port + " is open, but no programmer module"));
    }

    // The hint follows the port through start-up, Release and Connect.
    void connectHintNamesTheHeldPort()
    {
        ModsimProcess modsim(TOLM_MODSIM);
        QVERIFY2(modsim.Start("16f84"), qPrintable(modsim.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + modsim.LinkPath()}));
        Program p(true);
        TTolmMain &main = p.Main();
        const QString held = "Connect\nHolds port " + modsim.LinkPath();
        QCOMPARE(Find<QToolButton>(main, "ConnectBtn")->toolTip(), held);
        QCOMPARE(Find<QToolButton>(main, "ConnectBtn")->accessibleName(),
                 QStringLiteral("Connect"));

        TPortDlg &dialog = *p.windows->PortDlg;
        QString named;
        QTimer::singleShot(0, &dialog, [&] {
            named = dialog.PortLbl->text();
            dialog.ReleaseBtn->click();
        });
        Find<QToolButton>(main, "ConnectBtn")->click();
        QCOMPARE(named, "Port: " + modsim.LinkPath());
        QCOMPARE(Find<QToolButton>(main, "ConnectBtn")->toolTip(),
                 QStringLiteral("Connect\nNo port held"));

        QTimer::singleShot(0, &dialog, [&] { dialog.OKBtn->click(); });
        Find<QToolButton>(main, "ConnectBtn")->click();
        QCOMPARE(Find<QToolButton>(main, "ConnectBtn")->toolTip(), held);
    }

    // After a Release by Enter, the next showing answers Enter with Connect again.
    void connectHasTheFocusOnEveryShowing()
    {
        TPortDlg dialog;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.ReleaseBtn->setFocus();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), TPortDlg::kReleaseResult);
        QWidget *focused = nullptr;
        bool connectIsDefault = false;
        QTimer::singleShot(0, &dialog, [&] {
            focused = dialog.focusWidget();
            connectIsDefault = dialog.OKBtn->isDefault();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), TPortDlg::kConnectResult);
        QCOMPARE(focused, dialog.OKBtn);
        QVERIFY(connectIsDefault);
    }
};

QTEST_MAIN(PortReasonTest)
#include "PortReasonTest.moc"
