#include "production/SerialReserve.h"

#include "fileio/PlainFile.h"
#include "fileio/SafeSave.h"
#include "production/BenchFileLock.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr qint64 kLongestFile = 4096;

QByteArray FileText(const QString &log, const QString &counter, const SerialReserve::Held &held)
{
    return QStringLiteral("log=%1\ncounter=%2\nnext=%3\nlast=%4\nstep=%5\n")
        .arg(log, counter)
        .arg(held.next)
        .arg(held.last)
        .arg(held.step)
        .toUtf8();
}

// The five lines in their order, nothing else; nothing when the text is not a reserve.
struct Parsed
{
    QString log;
    QString counter;
    SerialReserve::Held held;
};
std::optional<Parsed> ParseReserve(const QByteArray &bytes)
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(QStringLiteral(
        "log=([^\\n]*)\\ncounter=([^\\n]*)\\nnext=([0-9]{1,19})\\nlast=([0-9]{1,19})\\n"
        "step=([0-9]{1,19})\\n")));
    const auto match = form.match(QString::fromUtf8(bytes));
    if (!match.hasMatch())
        return std::nullopt;
    Parsed parsed{match.captured(1), match.captured(2), {}};
    parsed.held.next = match.captured(3).toULongLong();
    parsed.held.last = match.captured(4).toULongLong();
    parsed.held.step = match.captured(5).toULongLong();
    if (parsed.held.step == 0 || parsed.held.next > kMaxSerialNumber ||
        parsed.held.last > kMaxSerialNumber)
        return std::nullopt;
    return parsed;
}

} // namespace

SerialReserve::SerialReserve(QString path, QString logIdentity, QString counterName)
    : m_path(std::move(path)), m_logIdentity(std::move(logIdentity)),
      m_counterName(std::move(counterName))
{}

std::optional<SerialReserve::Held> SerialReserve::Peek(QString &error) const
{
    const SmallFileRead read = ReadSmallPlainFile(m_path, kLongestFile);
    if (!read.exists)
        return std::nullopt;
    if (!read.error.isEmpty()) {
        error = QStringLiteral("cannot read the serial reserve %1: %2").arg(m_path, read.error);
        return std::nullopt;
    }
    const auto parsed = ParseReserve(read.bytes);
    if (!parsed) {
        error = QStringLiteral("%1 is not a serial reserve; it is left as it is").arg(m_path);
        return std::nullopt;
    }
    if (parsed->log != m_logIdentity || parsed->counter != m_counterName) {
        error = QStringLiteral("the serial reserve %1 holds numbers of the counter %2 in %3, not "
                               "of %4 in %5; it is left as it is")
                    .arg(m_path, parsed->counter, parsed->log, m_counterName, m_logIdentity);
        return std::nullopt;
    }
    if (parsed->held.next > parsed->held.last)
        return std::nullopt; // used up
    return parsed->held;
}

SerialTake SerialReserve::Take(const Refill &refill, std::uint64_t largest)
{
    SerialTake taken;
    BenchFileLock lock(m_path);
    if (!lock.Acquire(taken.error))
        return taken;
    RemoveStaleSaveTemporaries(m_path);
    QString error;
    auto held = Peek(error);
    if (!error.isEmpty()) {
        taken.error = error;
        return taken;
    }
    if (!held) {
        const Block block = refill();
        if (!block.first) {
            taken.error = block.error;
            taken.doesNotFit = block.doesNotFit;
            return taken;
        }
        held = Held{*block.first,
                    *block.first + block.step * static_cast<std::uint64_t>(block.count - 1),
                    block.step};
    }
    if (held->next > largest) {
        taken.error = QStringLiteral("the reserve's next serial number, %1, does not fit (at "
                                     "most %2)")
                          .arg(held->next)
                          .arg(largest);
        taken.doesNotFit = true;
        return taken;
    }
    // The number leaves the reserve on disk before it is handed out: a run that dies now has
    // only skipped it.
    Held rest = *held;
    rest.next = held->next + held->step;
    const SafeSaveResult saved =
        SaveFileSafely(m_path, FileText(m_logIdentity, m_counterName, rest), kOwnerOnly);
    if (!saved.Ok) {
        taken.error =
            QStringLiteral("cannot write the serial reserve %1: %2").arg(m_path, saved.Reason);
        return taken;
    }
    taken.number = held->next;
    return taken;
}
