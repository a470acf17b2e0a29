#include "production/SerialCounter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <mutex>

namespace {

// Another run holds the lock only while it reads and replaces a few bytes.
constexpr int kLockTimeoutMs = 10000;

// Threads of one run queue here instead of polling the lock file.
std::mutex g_processLock;

// The lock of the serial file: a lock file beside it, which also works between processes.
class CounterLock
{
public:
    explicit CounterLock(const QString &path) : m_file(path + QStringLiteral(".lock")) {}
    bool Acquire(QString &error)
    {
        const QString folder = QFileInfo(m_file.fileName()).absolutePath();
        if (!QDir().mkpath(folder)) {
            error = QStringLiteral("cannot make the folder %1").arg(folder);
            return false;
        }
        if (m_file.tryLock(kLockTimeoutMs))
            return true;
        error = m_file.error() == QLockFile::LockFailedError
                    ? QStringLiteral("another run holds %1").arg(m_file.fileName())
                    : QStringLiteral("cannot make the lock file %1").arg(m_file.fileName());
        return false;
    }

private:
    QLockFile m_file;
};

std::optional<std::uint64_t> ParseNumber(const QByteArray &text)
{
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok, 10);
    if (!ok || value > SerialCounter::kMaxNumber)
        return std::nullopt;
    return value;
}

} // namespace

SerialCounter::SerialCounter(QString path) : m_path(std::move(path)) {}

std::optional<std::uint64_t> SerialCounter::ReadLocked(std::uint64_t seed, bool &fromFile,
                                                       QString &error) const
{
    QFile file(m_path);
    fromFile = file.exists();
    if (!fromFile)
        return seed;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(m_path, file.errorString());
        return std::nullopt;
    }
    const auto number = ParseNumber(file.read(64));
    if (!number)
        error = QStringLiteral("%1 does not hold a serial number; it is left as it is").arg(m_path);
    return number;
}

std::optional<std::uint64_t> SerialCounter::Next(std::uint64_t seed, bool &fromFile,
                                                 QString &error) const
{
    std::lock_guard processLock(g_processLock);
    CounterLock lock(m_path);
    if (!lock.Acquire(error))
        return std::nullopt;
    return ReadLocked(seed, fromFile, error);
}

SerialCounter::Taken SerialCounter::Take(std::uint64_t seed, std::uint64_t step,
                                         std::uint64_t largest)
{
    std::lock_guard processLock(g_processLock);
    CounterLock lock(m_path);
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
    // Written and renamed into place before the number is handed out: a run that dies now
    // has only skipped a number, never given one twice.
    QSaveFile file(m_path);
    const QByteArray text = QByteArray::number(static_cast<qulonglong>(*number + step)) + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        taken.error = QStringLiteral("cannot write %1: %2").arg(m_path, file.errorString());
        return taken;
    }
    taken.number = number;
    return taken;
}
