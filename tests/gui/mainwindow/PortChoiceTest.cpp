// A port chosen in Options takes effect at OK: the old port is given back, the new one opened
// and the module asked for, and the next Write goes to the chip behind the new port. Two
// tolm-modsim chips on pseudo-terminals stand for the old and the new module.
#include "MainWindowFixture.h"
#include "ModsimProcess.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"
#include "ops/OperationDriver.h"
#include "ops/ProcDlg.h"

#include <QLabel>

using namespace MainWindowFixture;

namespace {

// A program word of the 16f84 tolm-modsim wrote to its chip file when it ended.
QString ChipProgramWord(const QString &path, int address)
{
    MemoryImage chip;
    chip.FillProgramImage(QStringLiteral("----"));
    LoadHexFile(path, chip, *FindDevice(QStringLiteral("16f84")),
                HexTargets{true, true, true, true});
    return chip.GetProgramWordText(address);
}

// Write To PIC, Start, then Close once the run has ended.
void WriteOnce(Program &p)
{
    TProcessForm &form = *p.windows->ProcessForm;
    QTimer::singleShot(0, &form, [&form] { form.StartBtn->click(); });
    const auto finished = QObject::connect(p.Main().Driver(), &OperationDriver::SequenceFinished,
                                           &form, [&form] { form.CloseBtn->click(); });
    Find<QToolButton>(p.Main(), QStringLiteral("ChipWriteBtn"))->click();
    QObject::disconnect(finished);
}

} // namespace

class PortChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void theNextWriteGoesToThePortChosenInOptions()
    {
        QTemporaryDir dir;
        const QString oldChip = dir.filePath("old.hex");
        const QString newChip = dir.filePath("new.hex");
        ModsimProcess oldModule(TOLM_MODSIM);
        QVERIFY2(oldModule.Start("16f84", {"--chip-out", oldChip}), qPrintable(oldModule.Error()));
        ModsimProcess newModule(TOLM_MODSIM);
        QVERIFY2(newModule.Start("16f84", {"--chip-out", newChip}), qPrintable(newModule.Error()));
        QVERIFY(WriteSettings({"ModulePort=" + oldModule.LinkPath(), "PicDevice=16f84"}));
        Program p(true);
        QCOMPARE(p.Main().Module().HeldPortName(), oldModule.LinkPath());

        RunOptions(p.Main(), [&](QDialog &d) {
            Find<QRadioButton>(d, "OtherPortBtn")->click();
            QTest::keyClicks(Find<QLineEdit>(d, "PortEdit"), newModule.LinkPath());
            Find<QPushButton>(d, "OKBtn")->click();
        });

        QCOMPARE(p.messages.shown, QStringList()); // the module answered: no box
        QCOMPARE(p.Main().Module().HeldPortName(), newModule.LinkPath());
        QCOMPARE(Find<QLabel>(p.Main(), "PortLbl")->text(),
                 newModule.LinkPath() + ": module answered");
        for (int a = 0; a < 4; ++a)
            p.Image().SetProgramWordText(a, QStringLiteral("1234"));
        Find<QLineEdit>(p.Main(), "ProgEndEdit")->setText("0003");
        Find<QCheckBox>(p.Main(), "ProgMemCbx")->setChecked(true);
        WriteOnce(p);
        QVERIFY2(p.Main().Driver()->LastRunSucceeded(),
                 qPrintable(p.Main().Driver()->LastSummary()));

        newModule.Stop();
        oldModule.Stop();
        QCOMPARE(ChipProgramWord(newChip, 3), QStringLiteral("1234"));
        QCOMPARE(ChipProgramWord(oldChip, 3), QStringLiteral("3FFF"));
    }

    void aPortThatDoesNotOpenIsReportedAtOk()
    {
        Program p;
        QTemporaryDir dir;
        const QString missing = dir.filePath("no-module-here");
        RunOptions(p.Main(), [&](QDialog &d) {
            Find<QRadioButton>(d, "OtherPortBtn")->click();
            QTest::keyClicks(Find<QLineEdit>(d, "PortEdit"), missing);
            Find<QPushButton>(d, "OKBtn")->click();
        });
        QCOMPARE(p.messages.shown,
                 QStringList({"Plain: COM Port Error", "Plain: Programmer Device NOT Connected"}));
        QCOMPARE(Find<QLabel>(p.Main(), "PortLbl")->text(), missing + ": cannot be opened");
        QCOMPARE(p.Main().ModulePortName(), missing);
    }
};

QTEST_MAIN(PortChoiceTest)
#include "PortChoiceTest.moc"
