#pragma once

#include "engine/EngineHost.h"

#include <QString>

// How tolm-cli answers the box the desktop shows for a word that will not program
// (--on-write-error abort|ignore|retry=N). Nobody sits at the terminal to click, so the
// answer is chosen before the run.
struct WriteErrorPolicy
{
    enum class Mode { Abort, Ignore, Retry } mode = Mode::Abort;
    int retries = 0; // Retry: how many times one word is tried again before the write ends
};

// Answers the write error boxes of one run, one word after the other.
class WriteErrorResponder
{
public:
    explicit WriteErrorResponder(WriteErrorPolicy policy) : m_policy(policy) {}

    // The answer to the box for the word `text` names. Retry counts per word: a box for
    // another word starts the count again. The 16C5x box has no Retry; a word that cannot
    // be retried there ends the write (Cancel), ignore skips it (OK).
    WriteErrorAnswer Answer(const QString &text, WriteErrorButtons buttons);

    // What the last answer did, for the line on stderr: "retry 1 of 3", "ignored",
    // "write ended".
    QString LastAnswerText() const { return m_lastAnswerText; }

    // Words given up with Ignore (or OK) since the last call; they hold what the chip made of
    // them, so the run as a whole has failed.
    int TakeSkippedWords();

    // A new target: Retry counts start again even for a box with the same text (data byte
    // 0000 and program word 0000 share it), and skipped words are counted afresh.
    void StartTarget();

private:
    WriteErrorPolicy m_policy;
    QString m_word;
    int m_retriesOfWord = 0;
    int m_skippedWords = 0;
    QString m_lastAnswerText;
};
