#include "ops/SequenceSummary.h"

#include "ops/TargetVerdict.h"

#include <QStringList>
#include <algorithm>

namespace {

QString TargetWords(ChipTarget target)
{
    switch (target) {
    case ChipTarget::ProgramMemory:
        return QStringLiteral("program memory");
    case ChipTarget::DataMemory:
        return QStringLiteral("data");
    case ChipTarget::IdCode:
        return QStringLiteral("ID code");
    case ChipTarget::ConfigWord:
        return QStringLiteral("configuration word");
    }
    return {};
}

} // namespace

QString SummaryDuration(qint64 elapsedMs)
{
    const qint64 seconds = elapsedMs / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

void SequenceSummary::Begin(ChipOperation operation, bool eraseFirst)
{
    m_operation = operation;
    m_eraseFirst = eraseFirst;
    m_entries.clear();
    m_clock.Start();
}

void SequenceSummary::Add(const TargetReport &report, const QString &resultText)
{
    const QString what = TargetWords(report.target);
    auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                              [&what](const Entry &e) { return e.what == what; });
    if (entry == m_entries.end()) {
        Entry added;
        added.what = what;
        added.data = report.target == ChipTarget::DataMemory;
        if (IsMemoryTarget(report.target))
            added.words = report.detail.wordsDone;
        m_entries.append(added);
        entry = m_entries.end() - 1;
    }
    const EngineOutcome outcome = report.detail.outcome;
    entry->endedByUser = entry->endedByUser || outcome == EngineOutcome::Closed;
    if (TargetFailed(report) && !entry->failed) {
        entry->failed = true;
        entry->resultText = resultText;
    }
}

void SequenceSummary::AddFailure(const QString &what, const QString &resultText)
{
    Entry entry;
    entry.what = what;
    entry.failed = true;
    entry.resultText = resultText;
    m_entries.append(entry);
}

bool SequenceSummary::Failed() const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [](const Entry &entry) { return entry.failed; });
}

QString SequenceSummary::OperationName() const
{
    switch (m_operation) {
    case ChipOperation::Read:
        return QStringLiteral("Read");
    case ChipOperation::Write:
        return m_eraseFirst ? QStringLiteral("Erase and write") : QStringLiteral("Write");
    case ChipOperation::Verify:
        return QStringLiteral("Verify");
    case ChipOperation::BlankCheck:
        return QStringLiteral("Blank check");
    }
    return {};
}

// What the targets that did not fail are, after a failure: "data 64 bytes verified".
QString SequenceSummary::DoneWord() const
{
    switch (m_operation) {
    case ChipOperation::Read:
        return QStringLiteral("read");
    case ChipOperation::Write:
        return QStringLiteral("written");
    case ChipOperation::Verify:
        return QStringLiteral("verified");
    case ChipOperation::BlankCheck:
        return QStringLiteral("blank");
    }
    return {};
}

QString SequenceSummary::EntryText(const Entry &entry)
{
    QString text = entry.what;
    // A failed target's count would only say where it stopped; its result says that better.
    if (entry.words >= 0 && !entry.failed)
        text += QStringLiteral(" %1 %2").arg(entry.words).arg(entry.data ? "bytes" : "words");
    if (entry.failed && !entry.resultText.isEmpty())
        text += QStringLiteral(" (%1)").arg(entry.resultText);
    else if (!entry.failed && entry.endedByUser)
        text += QStringLiteral(" (ended early)");
    return text;
}

QString SequenceSummary::Text() const
{
    return Text(m_clock.ElapsedMs());
}

QString SequenceSummary::Text(qint64 elapsedMs) const
{
    QStringList failed;
    QStringList passed;
    bool endedByUser = false;
    for (const Entry &entry : m_entries) {
        (entry.failed ? failed : passed) << EntryText(entry);
        endedByUser = endedByUser || entry.endedByUser;
    }
    // The time goes with the verdict, ahead of the list, so a long list cannot push it out of
    // sight.
    const QString duration = QStringLiteral(" in ") + SummaryDuration(elapsedMs);
    if (failed.isEmpty()) {
        const QString verb = endedByUser ? QStringLiteral("ended") : QStringLiteral("finished");
        const QString done = passed.isEmpty() ? QStringLiteral("nothing to do") : passed.join(", ");
        return QStringLiteral("%1 %2%3: %4").arg(OperationName(), verb, duration, done);
    }
    QString text =
        QStringLiteral("%1 failed%2: %3").arg(OperationName(), duration, failed.join(", "));
    if (!passed.isEmpty())
        text += QStringLiteral("; %1 %2").arg(passed.join(", "), DoneWord());
    return text;
}
