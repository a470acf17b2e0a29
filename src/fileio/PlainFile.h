#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Small files a program keeps for itself (a counter, a lock, a database) must be plain files
// at the very path named: a FIFO there would hang the reader, a device node would be written
// to, and a symbolic link would make the program rewrite, or create, a file somewhere else.

// Why the path is not one to read or replace: "it is a symbolic link" or "it is not a regular
// file but a FIFO". Nothing for a regular file or a name that does not exist yet (also not
// for a dangling link's target: the link itself is what is refused).
std::optional<QString> NotPlainFileReason(const QString &path);

struct SmallFileRead
{
    bool exists = false;
    QByteArray bytes; // at most the limit given, plus one byte to show that there is more
    QString error;    // why it could not be read (not a plain file, no permission, ...)
};

// Reads a small plain file without following a symbolic link and without waiting on a FIFO.
// A file longer than `maxBytes` gives `maxBytes + 1` bytes, so the caller can refuse it.
SmallFileRead ReadSmallPlainFile(const QString &path, qint64 maxBytes);

// Removes the temporary copies a save of `path` leaves behind when the process dies between
// writing and renaming: regular files named `path` + "." + six letters of both cases. Only call
// while holding the lock that every save of `path` takes, so no save is under way. Gives how
// many went.
int RemoveStaleSaveTemporaries(const QString &path);

// Makes an empty file at `path` that only its owner may read and write, unless something is
// there already (then nothing changes); never through a symbolic link. The reason when it
// cannot be made.
std::optional<QString> CreatePrivateFile(const QString &path);
