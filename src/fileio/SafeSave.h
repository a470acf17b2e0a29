#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>

// How a whole-file save ended.
struct SafeSaveResult
{
    bool Ok = false;
    // Why nothing was saved, in the system's words ("No space left on device"), or why the
    // target was refused. Empty on success.
    QString Reason;
};

// Replaces the contents of `path` with `bytes`, all or nothing. The bytes go to a new file
// beside the target and every write is checked; only a complete copy is renamed over the
// old file, so a full disk, a size limit or a lost mount leaves the old file byte for byte.
// An existing target that is not a regular file (a FIFO, a device node, a socket, a
// directory) is refused and left alone: renaming a new file over /dev/null, as root, would
// destroy the system's device node.
// A new file is made with `permissions` when given (an existing one keeps its own).
SafeSaveResult SaveFileSafely(const QString &path, const QByteArray &bytes,
                              std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Read and write for the owner alone: files that hold a bench's own records.
inline constexpr QFileDevice::Permissions kOwnerOnly{QFileDevice::ReadOwner |
                                                     QFileDevice::WriteOwner};

// Whether SaveFileSafely(path, bytes) would succeed now, short of the rename: the copy is
// written, synced and removed again, and the target stays as it is. Checks a full disk
// before work that must not start unless the save will follow.
SafeSaveResult TrySavingFileSafely(const QString &path, const QByteArray &bytes);

// What an existing non-regular file is ("a FIFO", "a character device", ...), following
// symbolic links; nothing for a regular file or a name that does not exist yet.
std::optional<QString> SpecialFileKind(const QString &path);
