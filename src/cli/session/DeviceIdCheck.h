#pragma once

#include <QString>

class ChipSession;
struct DeviceIdInfo;

// The device ID check of write, erase and protect: on a part that carries a device ID, the
// word is read before anything else is sent, and a chip that is not the selected part is left
// untouched. 0 to go on, else the exit code (after a message on stderr). Parts without a
// device ID: 0 at once, with no exchange.
int CheckSocketDevice(ChipSession &session);

// Why the chip in the socket is not the selected device, or nothing when it is:
// "the socket holds a 16f876, not a 16f877".
QString SocketMismatchText(const DeviceIdInfo &info, const QString &selectedDevice);

// detect: prints the device ID word, the part it names and the revision (id=09A3,
// part=16f877, revision=3), or the word and "unknown device ID" (exit 1).
int DetectChip(ChipSession &session);
