#include "cli/chipwork/ChipWork.h"

#include "cli/CliContext.h"
#include "cli/chipwork/CalibrationLeftOut.h"
#include "cli/chipwork/TargetSequenceRun.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/session/ChipSession.h"
#include "cli/session/StopSignals.h"
#include "device/MemoryImage.h"
#include "hexfile/HexReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// The temporary folder, or /tmp when TMPDIR names a folder that is not there.
QString RescueFolder()
{
    const QFileInfo temp(QDir::tempPath());
    return temp.isDir() && temp.isWritable() ? temp.absoluteFilePath() : QStringLiteral("/tmp");
}

// The image read is worth a chip's worth of work: when OUT cannot be written, it goes to a
// file in the temporary folder instead, and the user is told where.
int SaveReadImage(ChipSession &session, const QString &outPath)
{
    const ChipSetup &setup = session.Setup();
    MemoryImage &image = session.Engine().Image();
    const HexSaveResult saved =
        SaveHexFile(outPath, image, setup.device, setup.targets, session.Host().Addresses());
    if (saved.Ok())
        return CliExit::kOk;
    session.err << "tolm-cli: cannot save " << outPath << ": " << saved.Message << Qt::endl;
    session.NoteFailure(
        {.step = QStringLiteral("cannot save ") + outPath, .systemReason = saved.Message});
    QTemporaryFile rescue(RescueFolder() + QStringLiteral("/tolm-cli-read-XXXXXX.hex"));
    rescue.setAutoRemove(false);
    const bool rescued = rescue.open() && SaveHexFile(rescue.fileName(), image, setup.device,
                                                      setup.targets, session.Host().Addresses())
                                              .Ok();
    if (!rescued && rescue.isOpen())
        rescue.remove(); // an empty rescue file would look like a chip read as blank
    if (rescued)
        session.err << "tolm-cli: the image read is saved in " << rescue.fileName() << Qt::endl;
    else
        session.err << "tolm-cli: the image read could not be saved anywhere" << Qt::endl;
    return CliExit::kFileError;
}

} // namespace

int ReadChipToFile(ChipSession &session, const QString &outPath)
{
    const int code =
        RunChipOperation(session, {ChipOperation::Read, session.Setup().targets, {}, false});
    if (code != CliExit::kOk) {
        session.err << "tolm-cli: " << outPath << " not written: the read did not complete"
                    << Qt::endl;
        return code;
    }
    // Save To File builds the word from the controls the read set, as the window does.
    MemoryImage &image = session.Engine().Image();
    if (session.Setup().targets.Config)
        image.ConfigWord = ConfigWordThroughControls(session.Device(), image.ConfigWord, true);
    return SaveReadImage(session, outPath);
}

int WriteChipFromImage(ChipSession &session, const HexLoadResult &loaded, bool writeCal)
{
    MemoryImage &image = session.Engine().Image();
    const HexTargets &targets = session.Setup().targets;
    if (targets.Program && !writeCal)
        LeaveOutCalibration(session, ChipOperation::Write);
    const std::uint16_t config =
        ConfigWordThroughControls(session.Device(), image.ConfigWord, loaded.ConfigFound);
    return RunChipOperation(session,
                            {ChipOperation::Write, targets, [config] { return config; }, false});
}

int VerifyChipAgainstImage(ChipSession &session, const HexLoadResult &loaded, bool writeCal,
                           bool listEveryDifference, const std::optional<SerialLocation> &serialAt)
{
    const HexTargets &targets = session.Setup().targets;
    if (targets.Program && !writeCal)
        LeaveOutCalibration(session, ChipOperation::Verify);
    if (serialAt)
        session.err << "tolm-cli: " << SerialLocationText(*serialAt)
                    << " holds each chip's own serial number and is left out of the comparison"
                    << Qt::endl;
    const std::uint16_t config = ConfigWordThroughControls(
        session.Device(), session.Engine().Image().ConfigWord, loaded.ConfigFound);
    return RunChipOperation(
        session, {ChipOperation::Verify, targets, [config] { return config; }, listEveryDifference},
        serialAt);
}

int BlankCheckChip(ChipSession &session, bool checkCal)
{
    if (session.Setup().targets.Program && !checkCal)
        LeaveOutCalibration(session, ChipOperation::BlankCheck);
    return RunChipOperation(session,
                            {ChipOperation::BlankCheck, session.Setup().targets, {}, false});
}
