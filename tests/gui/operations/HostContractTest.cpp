// The main window as the engine's host keeps the contract every host keeps.
#include "EngineHostContract.h"
#include "OperationsFixture.h"
#include "app/ChipOperations.h"

#include <QTest>

class HostContractTest : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowKeepsTheContract();
};

void HostContractTest::mainWindowKeepsTheContract()
{
    OperationsFixture::SimulatedProgram program(QStringLiteral("16f84"));
    RequestFlags &flags = program.Form().Flags();
    EngineHostUnderTest t{program.Main().Operations(),
                          [&](bool pause, bool close) {
                              flags.PauseRequested = pause;
                              flags.CloseRequested = close;
                          },
                          [&](WriteErrorAnswer a) {
                              using M = Messages::Answer;
                              const M button = a == WriteErrorAnswer::Ok       ? M::Ok
                                               : a == WriteErrorAnswer::Cancel ? M::Cancel
                                               : a == WriteErrorAnswer::Abort  ? M::Abort
                                               : a == WriteErrorAnswer::Retry  ? M::Retry
                                                                               : M::Ignore;
                              program.messages.writeErrorAnswers.enqueue(button);
                          },
                          [&] {
                              MainWindowFixture::Find<QLineEdit>(program.Main(), "ProgStartEdit")
                                  ->setText(QStringLiteral("A"));
                          }};
    QCOMPARE(CheckEngineHostContract(t), QStringList());
}

QTEST_MAIN(HostContractTest)
#include "HostContractTest.moc"
