// tolm-modsim: the programmer module and one chip, served on a pseudo-terminal so that the
// program (or anything else that speaks the module's protocol) can be tried without hardware.

#include "ChipChoice.h"
#include "ChipHexFile.h"
#include "ModsimOptions.h"
#include "ModuleSimulator.h"
#include "PtyServer.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tolm::sim;

namespace {

int g_stopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_stopPipe[1], &byte, 1);
}

bool InstallStopSignals(std::string &error)
{
    if (::pipe(g_stopPipe) != 0) {
        error = "cannot create the signal pipe";
        return false;
    }
    ::fcntl(g_stopPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

// Links path to the terminal. An old symlink there (from a run that was killed) is replaced;
// anything else is left alone.
bool MakeLink(const std::string &path, const std::string &target, std::string &error)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = path + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        error = "cannot create the link " + path;
        return false;
    }
    return true;
}

void RemoveLink(const std::string &path, const std::string &target)
{
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n > 0 && std::string(buffer, static_cast<size_t>(n)) == target) {
        ::unlink(path.c_str());
    }
}

// The chip --device names, with the revision asked for; nullptr with the complaint otherwise.
const ChipDescription *ChosenChip(const ChipChoice &choice, const ModsimOptions &o,
                                  std::string &error)
{
    const ChipDescription *chip = choice.Find(o.device);
    if (chip == nullptr) {
        error = "--device: unknown chip '" + o.device + "' (see --list-devices)";
    } else if (o.revision && (*o.revision & ~chip->revisionMask) != 0) {
        error = "--revision: " + o.device +
                (chip->revisionMask == 0
                     ? " has no revision bits in a device ID"
                     : "'s revision field holds 0 to " + std::to_string(chip->revisionMask));
        chip = nullptr;
    }
    return chip;
}

void Configure(ModuleSimulator &module, const ModsimOptions &o)
{
    if (o.revision) {
        module.chip().SetRevision(*o.revision);
    }
    if (o.identifyByte) {
        module.SetIdentifyByte(*o.identifyByte);
    }
    module.SetTiming(o.timing);
    module.SetFaults(o.faults);
    for (const auto &[address, pulses] : o.pulsesNeeded) {
        module.chip().SetPulsesNeeded(address, pulses);
    }
    for (uint16_t address : o.neverProgram) {
        module.chip().SetNeverProgram(address);
    }
    module.SetKeepTranscript(false);
}

// Lets a tool that reads the transcript add up how long the chip itself needed.
std::string ChipTimeSuffix(const ModuleSimulator &module, bool wanted)
{
    const auto chip = module.LastChipTime();
    if (!wanted || chip.count() == 0) {
        return {};
    }
    return "; chip " + std::to_string(chip.count()) + " us";
}

void PaceRealTime(PtyServer &server, const TimingSettings &timing)
{
    server.PaceInput(timing.ByteTime());
    // Bytes are due to the microsecond; the default timer slack lets a sleeping server wake
    // up to 50 us late, which a host then waits for on every exchange.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

int Fail(const std::string &message)
{
    std::fprintf(stderr, "tolm-modsim: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolm-modsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLM_VERSION));
    ModsimOptions options;
    QString message;
    switch (ParseModsimOptions(QCoreApplication::arguments(), options, message)) {
    case ParseOutcome::Exit:
        std::fputs(message.toLocal8Bit().constData(), stdout);
        return 0;
    case ParseOutcome::Error:
        std::fprintf(stderr, "tolm-modsim: %s\n", message.toLocal8Bit().constData());
        return 2;
    case ParseOutcome::Run:
        break;
    }

    ChipChoice choice;
    std::string error;
    if (!choice.LoadPartFiles(options.partFiles, error)) {
        std::fprintf(stderr, "tolm-modsim: %s\n", error.c_str());
        return 2;
    }
    if (options.listDevices) {
        std::fputs(choice.ListText().c_str(), stdout);
        return 0;
    }
    const ChipDescription *chip = ChosenChip(choice, options, error);
    if (chip == nullptr) {
        std::fprintf(stderr, "tolm-modsim: %s\n", error.c_str());
        return 2;
    }
    ModuleSimulator module(*chip);
    Configure(module, options);
    if (!options.chipIn.empty() && !LoadChipHex(options.chipIn, module.chip(), error)) {
        return Fail(error);
    }
    std::ofstream transcript;
    if (!options.transcriptPath.empty()) {
        transcript.open(options.transcriptPath, std::ios::app);
        if (!transcript) {
            return Fail("cannot write " + options.transcriptPath);
        }
        const bool chipTime = options.transcriptChipTime;
        module.SetTranscriptSink([&transcript, &module, chipTime](const std::string &line) {
            transcript << line << ChipTimeSuffix(module, chipTime) << '\n' << std::flush;
        });
    }
    PtyServer server;
    if (options.timing.realtime) {
        PaceRealTime(server, options.timing);
    }
    if (options.adapterLatencyMs) {
        server.HoldReplies(std::chrono::milliseconds(*options.adapterLatencyMs));
    }
    if (!InstallStopSignals(error) || !server.Open(error) ||
        !MakeLink(options.linkPath, server.SlavePath(), error)) {
        return Fail(error);
    }
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    const bool served = server.Serve(module, g_stopPipe[0], error);
    RemoveLink(options.linkPath, server.SlavePath());
    std::fputs(module.ProtocolFaultsText().c_str(), stderr);
    if (!served) {
        Fail(error);
    }
    if (!options.chipOut.empty() && !SaveChipHex(options.chipOut, module.chip(), error)) {
        return Fail(error);
    }
    return served ? 0 : 1;
}
