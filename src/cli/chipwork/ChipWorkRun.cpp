#include "cli/chipwork/ChipWorkRun.h"

#include "cli/CliContext.h"
#include "cli/bench/PortRun.h"
#include "cli/session/ChipSession.h"
#include "cli/session/DeviceIdCheck.h"
#include "cli/session/StopSignals.h"
#include "device/MemoryImage.h"

namespace {

// One chip: each step runs only when the one before let the work go on.
int RunOnChip(ProductionPort &record, const ChipSetup &setup, MemoryImage &image,
              const ChipWork &work)
{
    ChipSession session(record.Io(), setup, image);
    int code = session.Open();
    if (code == CliExit::kOk && setup.checkDeviceId)
        code = CheckSocketDevice(session);
    if (code == CliExit::kOk)
        code = record.TakeSerial(image);
    if (code == CliExit::kOk)
        code = work(session, record.Io().port);
    code = session.FinishTrace(code);
    // A module that answers everything else but not the last Power Off may have left the
    // chip powered: the operator must take it out with care.
    if (!session.Engine().PowerOffConfirmed() && code != CliExit::kPortError)
        record.Io().err << "tolm-cli: warning: the module did not confirm power-off" << Qt::endl;
    return code;
}

} // namespace

void CopyImage(const MemoryImage &from, MemoryImage &to)
{
    for (int a = 0; a < MemoryImage::kProgramWords; ++a)
        to.SetProgramWordText(a, from.GetProgramWordText(a));
    for (int a = 0; a < MemoryImage::kDataBytes; ++a)
        to.SetDataByteText(a, from.GetDataByteText(a));
    to.ConfigWord = from.ConfigWord;
    to.SecondConfigWord = from.SecondConfigWord;
    to.IDCodeText = from.IDCodeText;
}

int RunChipWork(CliContext &ctx, const ChipSetup &setup, const MemoryImage &input,
                const ChipWork &work, const ProductionFacts &facts)
{
    const auto log = CliProductionLog(ctx);
    if (!log)
        return CliExit::kUsage;
    CliStopSignals stopSignals;
    ProductionRun production(ctx, setup, facts, *log);
    if (const int code = production.Prepare())
        return code;
    const int worst = RunOnPorts(ctx, setup.ports, [&](PortIo &io) {
        // The input is only read while the ports run; each port writes to its own copy.
        MemoryImage image;
        CopyImage(input, image);
        ProductionPort record(production, io);
        return record.Finish(image, RunOnChip(record, setup, image, work));
    });
    return production.Finish(worst);
}
