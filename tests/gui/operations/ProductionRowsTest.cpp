// The desktop program's rows in the production log: one for each Start of Write, Verify, Read
// and Blank Check when Options switched it on, the same row tolm-cli writes; none otherwise.
#include "OperationsFixture.h"
#include "ScriptedMessages.h"
#include "app/Optdlg.h"
#include "app/ProductionLogBox.h"
#include "production/LogQuery.h"
#include "settings/PrivateProfile.h"
#include "settings/ProductionSettings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace MainWindowFixture;
using namespace OperationsFixture;

class ProductionRowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void eachStartAddsARowWhenSwitchedOn_data()
    {
        QTest::addColumn<QString>("switchedOn");
        QTest::addColumn<QStringList>("rows"); // operation, result
        QTest::newRow("on") << "1"
                            << QStringList{"write ok", "verify ok", "blank failed", "read ok"};
        QTest::newRow("off") << "0" << QStringList{};
        QTest::newRow("never set") << "" << QStringList{};
    }

    void eachStartAddsARowWhenSwitchedOn()
    {
        QFETCH(QString, switchedOn);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("bench.sqlite"));
        PrivateProfile settings(TolmSettings::SettingsFilePath());
        QVERIFY(settings.WriteStrings(ProductionSettings::kSection,
                                      {{ProductionSettings::kDesktopLogKey, switchedOn},
                                       {ProductionSettings::kLogKey, log}}));
        SimulatedProgram p(QStringLiteral("16f84"));
        p.Tick({.Program = true});
        p.Control<QLineEdit>("ProgEndEdit")->setText(QStringLiteral("000F"));
        p.Image().SetProgramWordText(3, QStringLiteral("2222"));
        for (QToolButton *button :
             {p.Control<QToolButton>("ChipWriteBtn"), p.Control<QToolButton>("VerifyBtn"),
              p.Control<QToolButton>("BlancCheckBtn"), p.Control<QToolButton>("ChipReadBtn")})
            p.RunOnce(button);

        const LogReadResult read = ReadProductionLog(log, {});
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QStringList found;
        for (const ProductionRow &row : read.rows) {
            found << row.operation + QLatin1Char(' ') + row.result;
            QCOMPARE(row.device, QStringLiteral("16f84"));
            if (row.result == QStringLiteral("ok"))
                QCOMPARE(row.words, 16);
            QVERIFY(row.programVersion.startsWith(QStringLiteral("tolm ")));
            QVERIFY(!row.uid.isEmpty());
        }
        QCOMPARE(found, rows);
        if (!rows.isEmpty())
            QVERIFY(read.rows[2].detail.startsWith(QStringLiteral("Program Memory Blank Check")));
    }

    // Options keeps the place and the switch in section [Production], never a password.
    void optionsKeepThePlaceButRefuseAPassword()
    {
        ScriptedMessages messages;
        TOptionsDlg dlg(messages);
        dlg.show();
        dlg.ProductionLog->ProductionLogCbx->setChecked(true);
        dlg.ProductionLog->ProductionLogEdit->setText(QStringLiteral("postgresql://b:secret@db/p"));
        dlg.SaveBtnClick();
        QVERIFY(messages.shown.value(0).contains(QStringLiteral("a password does not belong")));
        const PrivateProfile settings(TolmSettings::SettingsFilePath());
        const auto stored = [&settings] {
            return settings.ReadStrings(
                ProductionSettings::kSection,
                {ProductionSettings::kDesktopLogKey, ProductionSettings::kLogKey},
                QStringLiteral("-"));
        };
        QCOMPARE(stored(), QStringList({"-", "-"}));
        dlg.ProductionLog->ProductionLogEdit->setText(QStringLiteral("postgresql://b@db/p"));
        dlg.SaveBtnClick();
        QCOMPARE(stored(), QStringList({"1", "postgresql://b@db/p"}));
        dlg.hide();
        dlg.ProductionLog->ProductionLogCbx->setChecked(false);
        dlg.show(); // each showing reads the file again
        QVERIFY(dlg.ProductionLog->ProductionLogCbx->isChecked());
    }
};

QTEST_MAIN(ProductionRowsTest)
#include "ProductionRowsTest.moc"
