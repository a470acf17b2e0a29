// The terminal's engine host keeps the contract every host keeps, as far as a terminal can:
// nobody presses Stop, and the answer to a word that will not program is an option.
#include "EngineHostContract.h"

#include "cli/session/StopSignals.h"
#include "cli/session/TerminalEngineHost.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(TerminalEngineHost, KeepsTheHostContract)
{
    QString errText;
    QTextStream err(&errText);
    CliProgress progress(err, false);
    TerminalEngineHost host(true, {"0000", "03FF", "00", "3F"}, WriteErrorPolicy{}, progress, err);
    EngineHostUnderTest t{host,
                          [](bool, bool close) {
                              if (close) {
                                  NoteStopSignal(SIGINT);
                              } else {
                                  ClearStopSignal();
                              }
                          },
                          {},
                          {},
                          false};
    const QStringList failures = CheckEngineHostContract(t);
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    ClearStopSignal();
}

} // namespace
