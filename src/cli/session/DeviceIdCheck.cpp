#include "cli/session/DeviceIdCheck.h"

#include "cli/CliContext.h"
#include "cli/session/ChipSession.h"
#include "device/HexText.h"
#include "engine/DeviceId.h"

namespace {

const char kReadFailed[] = "cannot read the device ID";
const char kUnknownId[] = "unknown device ID";

} // namespace

QString SocketMismatchText(const DeviceIdInfo &info, const QString &selectedDevice)
{
    if (!info.partName)
        return QStringLiteral("the socket holds a part with the %1 %2, not a %3")
            .arg(QLatin1String(kUnknownId), FormatHex(info.word, 4), selectedDevice);
    if (*info.partName == selectedDevice)
        return {};
    return QStringLiteral("the socket holds a %1, not a %2").arg(*info.partName, selectedDevice);
}

int CheckSocketDevice(ChipSession &session)
{
    if (!HasDeviceId(session.Device()))
        return CliExit::kOk;
    const ChipResult<std::uint16_t> word = ReadDeviceId(session.Engine());
    if (!word)
        return ReportChipFailure(session,
                                 QString::fromLatin1(kReadFailed) +
                                     QStringLiteral("; nothing was done to the chip"),
                                 word.Failure());
    const QString mismatch = SocketMismatchText(DecodeDeviceId(*word), session.Device().DeviceName);
    if (mismatch.isEmpty())
        return CliExit::kOk;
    session.Progress().Interrupt();
    session.err << "tolm-cli: " << mismatch << Qt::endl;
    session.NoteFailure({.step = mismatch});
    return CliExit::kFailed;
}

int DetectChip(ChipSession &session)
{
    const ChipResult<std::uint16_t> word = ReadDeviceId(session.Engine());
    if (!word)
        return ReportChipFailure(session, QString::fromLatin1(kReadFailed), word.Failure());
    const DeviceIdInfo info = DecodeDeviceId(*word);
    session.out << "id=" << FormatHex(info.word, 4) << '\n';
    if (!info.partName) {
        session.out << kUnknownId << Qt::endl;
        return CliExit::kFailed;
    }
    session.out << "part=" << *info.partName << '\n' << "revision=" << info.revision << Qt::endl;
    return CliExit::kOk;
}
