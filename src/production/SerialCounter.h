#pragma once

#include "production/SerialNumber.h"

#include <QString>
#include <cstdint>
#include <optional>

// The next serial number, kept in a small text file (the number in decimal and a newline)
// that every run on this machine shares, so no two chips get the same number: also not when
// two benches program at once, nor after a run that failed or was stopped. Each number is
// taken under a lock and the file is replaced atomically with the one after it; a file that
// holds anything else, a link, or a special file is never read as a number nor overwritten.
class SerialCounter
{
public:
    // Numbers go up to this, so every number fits a signed 64-bit column of the log.
    static constexpr std::uint64_t kMaxNumber = kMaxSerialNumber;

    explicit SerialCounter(QString path);

    const QString &Path() const { return m_path; }

    // The file's next number without taking it, or `seed` when there is no file yet;
    // `fromFile` says which. Nothing, with the reason in `error`, when the file cannot be
    // read, holds no number, its folder cannot be made, or the disk has no room for the
    // file that would replace it.
    std::optional<std::uint64_t> Next(std::uint64_t seed, bool &fromFile, QString &error) const;

    using Taken = SerialTake;

    // Takes the next number (`seed` when there is no file yet) and stores the one `step`
    // after it. No number, with the reason, when it is above `largest` or the file cannot be
    // read or replaced; the file then stays as it was.
    Taken Take(std::uint64_t seed, std::uint64_t step, std::uint64_t largest);

private:
    std::optional<std::uint64_t> ReadLocked(std::uint64_t seed, bool &fromFile,
                                            QString &error) const;

    QString m_path;
};
