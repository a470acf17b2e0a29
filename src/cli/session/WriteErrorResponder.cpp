#include "cli/session/WriteErrorResponder.h"

WriteErrorAnswer WriteErrorResponder::Answer(const QString &text, WriteErrorButtons buttons)
{
    const bool canRetry = buttons == WriteErrorButtons::AbortRetryIgnore;
    if (text != m_word) {
        m_word = text;
        m_retriesOfWord = 0;
    }
    if (m_policy.mode == WriteErrorPolicy::Mode::Retry && canRetry &&
        m_retriesOfWord < m_policy.retries) {
        ++m_retriesOfWord;
        m_lastAnswerText =
            QStringLiteral("retry %1 of %2").arg(m_retriesOfWord).arg(m_policy.retries);
        return WriteErrorAnswer::Retry;
    }
    if (m_policy.mode == WriteErrorPolicy::Mode::Ignore) {
        ++m_skippedWords;
        m_lastAnswerText = QStringLiteral("ignored");
        return canRetry ? WriteErrorAnswer::Ignore : WriteErrorAnswer::Ok;
    }
    m_lastAnswerText = QStringLiteral("write ended");
    return canRetry ? WriteErrorAnswer::Abort : WriteErrorAnswer::Cancel;
}

int WriteErrorResponder::TakeSkippedWords()
{
    const int skipped = m_skippedWords;
    m_skippedWords = 0;
    return skipped;
}

void WriteErrorResponder::StartTarget()
{
    m_word.clear();
    m_retriesOfWord = 0;
    m_skippedWords = 0;
}
