#include "production/SerialCounter.h"

#include "fileio/PlainFile.h"
#include "fileio/SafeSave.h"
#include "production/BenchFileLock.h"

#include <QRegularExpression>

namespace {

// A serial file is a number of at most 19 digits, a few blanks and a line end; anything
// longer holds something else.
constexpr qint64 kLongestFile = 64;

// Only a number, optional blanks and one line end: anything else (text after the number, a
// NUL, a second line) is a file of someone else's that happens to start with digits.
std::optional<std::uint64_t> ParseSerialFile(const QByteArray &bytes)
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(
        QStringLiteral("[ \\t]*([0-9]{1,19})[ \\t]*(\\r\\n|\\n|\\r)?")));
    if (bytes.size() > kLongestFile)
        return std::nullopt;
    const auto match = form.match(QString::fromLatin1(bytes));
    bool ok = false;
    const qulonglong value = match.hasMatch() ? match.captured(1).toULongLong(&ok, 10) : 0;
    if (!ok || value > SerialCounter::kMaxNumber)
        return std::nullopt;
    return value;
}

QByteArray FileText(std::uint64_t number)
{
    return QByteArray::number(static_cast<qulonglong>(number)) + '\n';
}

} // namespace

SerialCounter::SerialCounter(QString path) : m_path(std::move(path)) {}

std::optional<std::uint64_t> SerialCounter::ReadLocked(std::uint64_t seed, bool &fromFile,
                                                       QString &error) const
{
    // A save that died between writing its copy and renaming it left the copy behind; under
    // the lock no save is under way, so every such copy is a dead one.
    RemoveStaleSaveTemporaries(m_path);
    if (const auto reason = NotPlainFileReason(m_path)) {
        error = QStringLiteral("cannot use %1: %2; it is left as it is").arg(m_path, *reason);
        return std::nullopt;
    }
    const SmallFileRead read = ReadSmallPlainFile(m_path, kLongestFile);
    fromFile = read.exists;
    if (!fromFile)
        return seed;
    if (!read.error.isEmpty()) {
        error = QStringLiteral("cannot read %1: %2").arg(m_path, read.error);
        return std::nullopt;
    }
    const auto number = ParseSerialFile(read.bytes);
    if (!number)
        error = QStringLiteral("%1 does not hold a serial number; it is left as it is").arg(m_path);
    return number;
}

std::optional<std::uint64_t> SerialCounter::Next(std::uint64_t seed, bool &fromFile,
                                                 QString &error) const
{
    BenchFileLock lock(m_path);
    if (!lock.Acquire(error))
        return std::nullopt;
    const auto number = ReadLocked(seed, fromFile, error);
    if (!number)
        return std::nullopt;
    // The chip work starts only when the number after this one can be stored: a full disk
    // found now costs nothing, found after a port opened it costs that chip's number.
    const SafeSaveResult trial = TrySavingFileSafely(m_path, FileText(*number));
    if (!trial.Ok) {
        error = QStringLiteral("cannot write %1: %2").arg(m_path, trial.Reason);
        return std::nullopt;
    }
    return number;
}

SerialCounter::Taken SerialCounter::Take(std::uint64_t seed, std::uint64_t step,
                                         std::uint64_t largest)
{
    BenchFileLock lock(m_path);
    Taken taken;
    if (!lock.Acquire(taken.error))
        return taken;
    bool fromFile = false;
    const auto number = ReadLocked(seed, fromFile, taken.error);
    if (!number)
        return taken;
    if (*number > largest || *number > kMaxNumber - step) {
        taken.error = QStringLiteral("the next serial number, %1, does not fit (at most %2)")
                          .arg(*number)
                          .arg(std::min(largest, kMaxNumber - step));
        taken.doesNotFit = true;
        return taken;
    }
    // Written, synced and renamed into place before the number is handed out: a run that
    // dies now has only skipped a number, never given one twice. Every write is checked, so
    // a full disk keeps the old file and hands out nothing.
    const SafeSaveResult saved = SaveFileSafely(m_path, FileText(*number + step));
    if (!saved.Ok) {
        taken.error = QStringLiteral("cannot write %1: %2").arg(m_path, saved.Reason);
        return taken;
    }
    taken.number = number;
    return taken;
}
