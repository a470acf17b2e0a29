// A whole session through the buttons: load a hex file, write it, verify it, read it back
// into a fresh image, and see the blank check fail, with the simulated chip holding the file.
#include "HexLines.h"
#include "OperationsFixture.h"
#include "device/HexText.h"

#include <QTemporaryDir>

using namespace MainWindowFixture;
using namespace OperationsFixture;

namespace {
const QString kSound = QStringLiteral("Sound");

// Intel HEX in the 8-bit merged form: every word as two bytes, low byte first, at twice its
// address; sixteen bytes a record.
QByteArray HexRecords(const QMap<int, int> &bytes)
{
    QByteArray text;
    auto it = bytes.cbegin();
    while (it != bytes.cend()) {
        const int start = it.key();
        QByteArray run;
        while (it != bytes.cend() && it.key() == start + run.size() && run.size() < 16) {
            run.append(static_cast<char>(it.value()));
            ++it;
        }
        text += HexLine(start, 0, run);
    }
    return text + kHexEndLine;
}

int ProgramWordAt(int address, int mask)
{
    return (0x0123 + address * 0x0107) & mask;
}
} // namespace

class RoundTripTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { RemoveSettings(); }

    void writeVerifyReadBlankCheck_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("progEnd");
        QTest::addColumn<int>("dataBytes");
        QTest::newRow("16f84, program and data") << "16f84"
                                                 << "03FF" << 64;
        // The calibration word at 01FF is the chip's own and stays out of the range.
        QTest::newRow("12c508 below the calibration word") << "12c508"
                                                           << "01FE" << 0;
    }

    void writeVerifyReadBlankCheck()
    {
        QFETCH(QString, device);
        QFETCH(QString, progEnd);
        QFETCH(int, dataBytes);
        SimulatedProgram p(device);
        const int words = progEnd.toInt(nullptr, 16) + 1;
        const int mask = p.Chip().Description().WordMask();
        QMap<int, int> bytes;
        for (int a = 0; a < words; ++a) {
            bytes[2 * a] = ProgramWordAt(a, mask) & 0xFF;
            bytes[2 * a + 1] = ProgramWordAt(a, mask) >> 8;
        }
        for (int a = 0; a < dataBytes; ++a) {
            bytes[2 * (0x2100 + a)] = a ^ 0x5A;
            bytes[2 * (0x2100 + a) + 1] = 0;
        }
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("sample.hex")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HexRecords(bytes));
        file.close();

        const bool data = dataBytes > 0;
        p.Tick({.Program = true, .Data = data});
        Find<QLineEdit>(p.Main(), "ProgEndEdit")->setText(progEnd);
        p.messages.openFileNames.enqueue(file.fileName());
        Find<QToolButton>(p.Main(), "LoadFromFileBtn")->click();
        QCOMPARE(p.Image().GetProgramWordText(1), FormatHex(ProgramWordAt(1, mask), 4));
        p.messages.shown.clear();

        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        QCOMPARE(p.messages.shown, QStringList{kSound});
        for (int a = 0; a < words; ++a)
            QCOMPARE(p.Chip().ProgramWord(a), ProgramWordAt(a, mask));
        for (int a = 0; a < dataBytes; ++a)
            QCOMPARE(p.Chip().DataByte(a), a ^ 0x5A);

        p.messages.shown.clear();
        p.RunOnce(Find<QToolButton>(p.Main(), "VerifyBtn"));
        QStringList verified{kSound, "Plain: Program Memory Verify Completed.  No Errors..."};
        if (data)
            verified << kSound << "Plain: Data Memory Verify Completed.  No Errors...";
        QCOMPARE(p.messages.shown, verified);

        p.Image().FillProgramImage(QStringLiteral("0000"));
        p.Image().FillDataImage(QStringLiteral("00"));
        p.messages.shown.clear();
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipReadBtn"));
        for (int a = 0; a < words; ++a)
            QCOMPARE(p.Image().GetProgramWordText(a), FormatHex(ProgramWordAt(a, mask), 4));
        for (int a = 0; a < dataBytes; ++a)
            QCOMPARE(p.Image().GetDataByteText(a), FormatHex(a ^ 0x5A, 2));

        p.messages.shown.clear();
        p.RunOnce(Find<QToolButton>(p.Main(), "BlancCheckBtn"));
        QStringList failed{kSound, "Plain: Program Memory Blank Check Failed"};
        if (data)
            failed << kSound << "Plain: Data Memory Blank Check Failed";
        QCOMPARE(p.messages.shown, failed);
        QVERIFY2(p.sim->ProtocolFaults().empty(), p.sim->ProtocolFaultsText().c_str());
    }

    // Over the whole 12c508 range the chip's factory calibration word at 01FF stays as it is
    // unless "Write calibration word" is ticked; then the blank image word cannot be
    // programmed over it, and the write error box names 01FF.
    void wholeTwelveBitRangeKeepsTheCalibrationWord_data()
    {
        QTest::addColumn<bool>("writeCal");
        QTest::newRow("kept") << false;
        QTest::newRow("written") << true;
    }
    void wholeTwelveBitRangeKeepsTheCalibrationWord()
    {
        QFETCH(bool, writeCal);
        SimulatedProgram p(QStringLiteral("12c508"));
        const std::uint16_t calibration = p.Chip().ProgramWord(0x1FF);
        p.Tick({.Program = true});
        Find<QCheckBox>(p.Main(), "WriteCalCbx")->setChecked(writeCal);
        p.messages.writeErrorAnswers.enqueue(Messages::Answer::Ignore);
        p.RunOnce(Find<QToolButton>(p.Main(), "ChipWriteBtn"));
        // A word skipped with Ignore leaves the chip other than the image: a failed run.
        QStringList expected{kSound};
        if (writeCal)
            expected = QStringList{"AbortRetryIgnore: Error Writing Program Memory Address $01FF",
                                   "FailureSound"};
        QCOMPARE(p.messages.shown, expected);
        QCOMPARE(p.Chip().ProgramWord(0x1FF), calibration);

        // Verify and Blank Check leave it out the same way: the blank image verifies.
        p.messages.shown.clear();
        p.RunOnce(Find<QToolButton>(p.Main(), "VerifyBtn"));
        QCOMPARE(p.messages.shown.value(1),
                 writeCal
                     ? QStringLiteral("Plain: Error Verifying Program Memory")
                     : QStringLiteral("Plain: Program Memory Verify Completed.  No Errors..."));
    }
};

QTEST_MAIN(RoundTripTest)
#include "RoundTripTest.moc"
