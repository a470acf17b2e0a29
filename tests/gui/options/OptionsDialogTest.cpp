#include "ScriptedMessages.h"
#include "app/Optdlg.h"
#include "device/catalogue/CatalogueInUse.h"
#include "settings/TolmSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class OptionsDialogTest : public QObject
{
    Q_OBJECT
private:
    static QString SettingsPath() { return TolmSettings::SettingsFilePath(); }
    static void RemoveSettings()
    {
        QDir(SettingsPath()).removeRecursively();
        QFile::remove(SettingsPath());
    }
    static QByteArray SettingsContent()
    {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() { RemoveSettings(); }
    void cleanupTestCase() { RemoveSettings(); }

    void controlsAreNamedAndFilled()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Options"));
        for (const char *name : {"ComPortNum", "DeviceSet", "DeviceSelectOpt", "DirBox",
                                 "WorkingDirEdit", "OKBtn", "CancelBtn", "SaveBtn"})
            QVERIFY2(dlg.findChild<QWidget *>(QString::fromLatin1(name)), name);
        // The "&" only marks the Alt key; the caption reads "Save".
        QCOMPARE(dlg.SaveBtn->text().remove(u'&'), QStringLiteral("Save"));
        QVERIFY(!dlg.SaveBtn->icon().isNull());
        QCOMPARE(dlg.PortText(), QString()); // nothing picked until the user picks
        QVERIFY(dlg.OKBtn->isDefault());
    }

    void deviceBoxTakesAnyText()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        QComboBox *box = dlg.DeviceSelectOpt;
        QVERIFY(box->isEditable());
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, SelectorDeviceNames());
        QCOMPARE(box->currentText(), QStringLiteral("16c84"));

        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("my part #9"));
        QCOMPARE(box->currentText(), QStringLiteral("my part #9"));
        QCOMPARE(box->count(), SelectorDeviceNames().size());
    }

    // Device names are exact and case-sensitive: the box shows, and Save writes, what was
    // typed, with no completion while typing and no case folding on Enter.
    void deviceBoxKeepsWhatIsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::newRow("a prefix of several names") << "16f8" << false;
        QTest::newRow("a prefix of one name") << "16f62" << false;
        QTest::newRow("upper case, Enter") << "16F84" << true;
        QTest::newRow("exact name, Enter") << "16f84" << true;
        QTest::newRow("upper-case prefix, Enter") << "16C6" << true;
    }
    void deviceBoxKeepsWhatIsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QComboBox *box = dlg.DeviceSelectOpt;
        box->setFocus();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        if (enter)
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), typed);
        dlg.SaveBtn->click();
        QVERIFY(SettingsContent().contains("PicDevice=" + typed.toLatin1() + "\n"));
    }

    void portText_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("picked");
        QTest::newRow("COM1") << "COM1"
                              << "COM1";
        QTest::newRow("COM2") << "COM2"
                              << "COM2";
        // Names set by hand are offered as they are, so OK keeps them.
        QTest::newRow("lower-case com2 is not COM2") << "com2"
                                                     << "com2";
        QTest::newRow("other port") << "/dev/ttyUSB0"
                                    << "/dev/ttyUSB0";
        QTest::newRow("empty picks nothing") << ""
                                             << "";
    }
    void portText()
    {
        QFETCH(QString, given);
        QFETCH(QString, picked);
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.SetPortText(QStringLiteral("COM2"), {}, {"COM1", "COM2"});
        dlg.SetPortText(given, {}, {"COM1", "COM2"});
        QCOMPARE(dlg.PortText(), picked);
        QCOMPARE(dlg.Com2Btn->isChecked(), picked == QStringLiteral("COM2"));
    }

    void saveWritesThreeKeysInOrder_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file yet")
            << QByteArray() << "16f84"
            << "COM2"
            << "/home/me/pic"
            << QByteArray("[Main]\nPicDevice=16f84\nModulePort=COM2\nWorkingDir=/home/me/pic\n");
        QTest::newRow("typed name and empty directory")
            << QByteArray() << "16F84"
            << "COM1"
            << "" << QByteArray("[Main]\nPicDevice=16F84\nModulePort=COM1\nWorkingDir=\n");
        QTest::newRow("replaces values, keeps other lines")
            << QByteArray("; mine\n[Main]\nWorkingDir=/old\nPicDevice=12c508\n[Other]\nx=1\n")
            << "16c62A"
            << "COM1"
            << "/new"
            << QByteArray("; mine\n[Main]\nWorkingDir=/new\nPicDevice=16c62A\nModulePort=COM1\n"
                          "[Other]\nx=1\n");
    }
    void saveWritesThreeKeysInOrder()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, device);
        QFETCH(QString, port);
        QFETCH(QString, dir);
        QFETCH(QByteArray, after);
        if (!before.isEmpty()) {
            QDir().mkpath(QFileInfo(SettingsPath()).absolutePath());
            QFile file(SettingsPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.DeviceSelectOpt->setEditText(device);
        dlg.SetPortText(port, {}, {"COM1", "COM2"});
        dlg.WorkingDirEdit->setText(dir);
        dlg.show();
        dlg.SaveBtn->click();
        QCOMPARE(SettingsContent(), after);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(dlg.isVisible());
    }

    // A settings path that cannot be replaced: the save stops at the first key with one
    // error, and the dialog stays open for another try.
    void failedWriteIsReportedOnce()
    {
        QVERIFY(QDir().mkpath(SettingsPath()));
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.open();
        dlg.SaveBtn->click();
        QCOMPARE(messages.shown, QStringList{"Error: Unable to write to VIRIVI.INI"});
        QVERIFY(dlg.isVisible());
        QVERIFY(QFileInfo(SettingsPath()).isDir());
    }

    void closingButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << "OKBtn" << int(QDialog::Accepted);
        QTest::newRow("Cancel") << "CancelBtn" << int(QDialog::Rejected);
    }
    void closingButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.open();
        // The fields come first for Tab; Enter still answers OK.
        QCOMPARE(dlg.focusWidget(), dlg.Com1Btn);
        QVERIFY(dlg.OKBtn->isDefault());
        dlg.findChild<QPushButton *>(button)->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), result);
        QVERIFY(!QFileInfo::exists(SettingsPath()));
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TOLM_GUI_SHOTS");
        if (dir.isEmpty())
            QSKIP("set TOLM_GUI_SHOTS to a folder to save a picture of the dialog");
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.WorkingDirEdit->setText(QStringLiteral("/home/user/pic/projects"));
        dlg.show();
        QVERIFY(dlg.grab().save(dir + QStringLiteral("/options.png")));
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
