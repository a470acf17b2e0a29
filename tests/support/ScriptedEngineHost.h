#pragma once

#include "texts/TextEngineHost.h"

#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// An EngineHost for tests: the user's choices are plain fields, everything the engine shows
// is recorded in order, and the flags can be raised from hooks at the points where the windows
// would see a click (after a word, in a paused pass, in a delay).
class ScriptedEngineHost : public TextEngineHost
{
public:
    bool parallel = true;
    QString progStart = QStringLiteral("0000");
    QString progEnd = QStringLiteral("0000");
    QString dataStart = QStringLiteral("00");
    QString dataEnd = QStringLiteral("00");
    bool pause = false;
    bool close = false;

    QStringList statuses;
    QStringList captions;
    std::vector<int> progressMaxima;
    int progressSteps = 0;
    int eventPasses = 0;
    int pausedPasses = 0;
    std::vector<int> delays;
    QStringList writeErrors; // the text of every write error box
    std::vector<WriteErrorButtons> writeErrorButtons;
    QQueue<WriteErrorAnswer> writeErrorAnswers; // empty: Abort (or Cancel), the safe answer
    QStringList waiting;                        // "shown" and "hidden" in order
    std::vector<bool> methodChanges;            // every SetParallelSelected

    // Called after each completed word's progress step, with the number of steps so far.
    std::function<void(ScriptedEngineHost &)> onStep;
    // Called in each paused pass of a word loop.
    std::function<void(ScriptedEngineHost &)> onPausedPass;
    // Called at each Delay with its milliseconds.
    std::function<void(int)> onDelay;

    bool ParallelSelected() const override { return parallel; }
    void SetParallelSelected(bool value) override
    {
        parallel = value;
        methodChanges.push_back(value);
    }
    QString ProgStartText() const override { return progStart; }
    QString ProgEndText() const override { return progEnd; }
    QString DataStartText() const override { return dataStart; }
    QString DataEndText() const override { return dataEnd; }
    void SetStatus(const QString &text) override { statuses << text; }
    void SetProgressMax(int maximum) override { progressMaxima.push_back(maximum); }
    void StepProgress() override
    {
        ++progressSteps;
        if (onStep) {
            onStep(*this);
        }
    }
    void SetStartCaption(const QString &caption) override { captions << caption; }
    bool PauseRequested() const override { return pause; }
    bool CloseRequested() const override { return close; }
    void ProcessEvents() override { ++eventPasses; }
    void WaitWhilePaused() override
    {
        ++pausedPasses;
        if (onPausedPass) {
            onPausedPass(*this);
        }
    }
    void Delay(int ms) override
    {
        delays.push_back(ms);
        if (onDelay) {
            onDelay(ms);
        }
    }
    WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) override
    {
        writeErrors << text;
        writeErrorButtons.push_back(buttons);
        if (!writeErrorAnswers.isEmpty()) {
            return writeErrorAnswers.dequeue();
        }
        return buttons == WriteErrorButtons::OkCancel ? WriteErrorAnswer::Cancel
                                                      : WriteErrorAnswer::Abort;
    }
    void ShowWaiting(bool visible) override
    {
        waiting << (visible ? QStringLiteral("shown") : QStringLiteral("hidden"));
    }
};
