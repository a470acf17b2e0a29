#include "ModsimOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace tolm::sim {

namespace {

struct Parsed
{
    QString error;

    std::optional<long> Number(const QCommandLineParser &p, const QString &name, int base,
                               long minimum, long maximum)
    {
        if (!p.isSet(name)) {
            return std::nullopt;
        }
        bool ok = false;
        const long value = p.value(name).toLong(&ok, base);
        if (!ok || value < minimum || value > maximum) {
            error = QStringLiteral("--%1: '%2' is not a valid value").arg(name, p.value(name));
            return std::nullopt;
        }
        return value;
    }
};

void AddOptions(QCommandLineParser &p)
{
    p.setApplicationDescription(QStringLiteral(
        "Simulates the programmer module with one PIC chip in its socket, on a pseudo-terminal.\n"
        "Prints the terminal's path, links it at --link and serves until SIGINT or SIGTERM;\n"
        "then writes the chip to --chip-out and removes the link.\n"
        "Chip files are Intel HEX in the program's layout: program words at 2 x address,\n"
        "IDs at 2 x ID address, configuration at 2 x its address, data EEPROM at 0x4200 + 2 x "
        "address.\nExchanges are numbered from 1; each command byte starts one."));
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({
        {QStringLiteral("device"),
         QStringLiteral("Chip in the socket, as in the catalogue "
                        "(16f84, 12c508, 16c62A, 16f877a, ...), or a part of --part-file."),
         QStringLiteral("NAME")},
        {QStringLiteral("part-file"),
         QStringLiteral("Also offer the parts described in FILE, in the device catalogue's TOML "
                        "format; a part of a built-in chip's name replaces it. Repeatable."),
         QStringLiteral("FILE")},
        {QStringLiteral("revision"),
         QStringLiteral("Silicon revision in the device ID's low bits (default 0)."),
         QStringLiteral("N")},
        {QStringLiteral("link"), QStringLiteral("Path of the symlink to the terminal."),
         QStringLiteral("PATH")},
        {QStringLiteral("chip-in"),
         QStringLiteral("Load the chip's contents from this file "
                        "(default: a blank chip)."),
         QStringLiteral("FILE")},
        {QStringLiteral("chip-out"), QStringLiteral("Write the chip's contents here at the end."),
         QStringLiteral("FILE")},
        {QStringLiteral("identify-byte"),
         QStringLiteral("Byte answered to 0x06, hexadecimal (default AA)."), QStringLiteral("HH")},
        {QStringLiteral("baud"), QStringLiteral("Line speed for --realtime (default 9600)."),
         QStringLiteral("N")},
        {QStringLiteral("realtime"),
         QStringLiteral("Bytes take their wire time (10 bits), a pulse 100 us, a flash cycle the "
                        "part's time.")},
        {QStringLiteral("adapter-latency"),
         QStringLiteral("Replies pass a USB serial adapter whose receive latency timer is MS "
                        "(1 to 255): bytes leave MS after the first one reached its buffer, or "
                        "when 62 bytes fill it."),
         QStringLiteral("MS")},
        {QStringLiteral("transcript"),
         QStringLiteral("Append one line per exchange (host bytes -> module bytes) to FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("transcript-chip-time"),
         QStringLiteral("End each transcript line whose exchange kept the chip busy with "
                        "\"; chip N us\" (pulses and programming cycles).")},
        {QStringLiteral("list-devices"),
         QStringLiteral("List the chips (name, program words, data bytes, algorithm) and exit.")},
        {QStringLiteral("no-ack-from"),
         QStringLiteral("Fault: no acknowledge byte from exchange N on."), QStringLiteral("N")},
        {QStringLiteral("wrong-ack-at"),
         QStringLiteral("Fault: a wrong acknowledge byte at exchange N."), QStringLiteral("N")},
        {QStringLiteral("wrong-ack-byte"),
         QStringLiteral("The wrong acknowledge byte, hexadecimal (default 21)."),
         QStringLiteral("HH")},
        {QStringLiteral("late-reply"), QStringLiteral("Fault: replies leave MS milliseconds late."),
         QStringLiteral("MS")},
        {QStringLiteral("late-at"),
         QStringLiteral("Only the reply of exchange N is late (default: every reply)."),
         QStringLiteral("N")},
        {QStringLiteral("bad-digit-at"),
         QStringLiteral("Fault: the first reply digit of exchange N is 'G'."), QStringLiteral("N")},
        {QStringLiteral("dead-after"),
         QStringLiteral("Fault: the line carries N bytes (both ways) and then nothing."),
         QStringLiteral("N")},
        {QStringLiteral("pulses"),
         QStringLiteral("EPROM location ADDR (hexadecimal) takes only after N pulses; "
                        "repeatable."),
         QStringLiteral("ADDR:N")},
        {QStringLiteral("never-program"),
         QStringLiteral("Location ADDR (hexadecimal) never takes a word; repeatable."),
         QStringLiteral("ADDR")},
    });
}

bool ReadLocationFaults(const QCommandLineParser &p, ModsimOptions &o, QString &error)
{
    for (const QString &item : p.values(QStringLiteral("pulses"))) {
        const QStringList parts = item.split(QLatin1Char(':'));
        bool addressOk = false;
        bool countOk = false;
        const uint address = parts.size() == 2 ? parts[0].toUInt(&addressOk, 16) : 0;
        const int count = parts.size() == 2 ? parts[1].toInt(&countOk) : 0;
        if (!addressOk || !countOk || address > 0xFFFF || count < 1) {
            error = QStringLiteral("--pulses: '%1' is not ADDR:N").arg(item);
            return false;
        }
        o.pulsesNeeded.emplace_back(static_cast<uint16_t>(address), count);
    }
    for (const QString &item : p.values(QStringLiteral("never-program"))) {
        bool ok = false;
        const uint address = item.toUInt(&ok, 16);
        if (!ok || address > 0xFFFF) {
            error = QStringLiteral("--never-program: '%1' is not an address").arg(item);
            return false;
        }
        o.neverProgram.push_back(static_cast<uint16_t>(address));
    }
    return true;
}

void ReadNumbers(const QCommandLineParser &p, ModsimOptions &o, Parsed &n)
{
    constexpr long kMaxInt = 0x7FFFFFFF;
    if (auto v = n.Number(p, QStringLiteral("revision"), 10, 0, 0x3FFF)) {
        o.revision = static_cast<uint16_t>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("identify-byte"), 16, 0, 0xFF)) {
        o.identifyByte = static_cast<uint8_t>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("baud"), 10, 1, 4000000)) {
        o.timing.baud = static_cast<int>(*v);
    }
    o.timing.realtime = p.isSet(QStringLiteral("realtime"));
    if (auto v = n.Number(p, QStringLiteral("adapter-latency"), 10, 1, 255)) {
        o.adapterLatencyMs = static_cast<int>(*v);
    }
    FaultSettings &f = o.faults;
    if (auto v = n.Number(p, QStringLiteral("no-ack-from"), 10, 1, kMaxInt)) {
        f.noAckFromExchange = static_cast<int>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("wrong-ack-at"), 10, 1, kMaxInt)) {
        f.wrongAckAtExchange = static_cast<int>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("wrong-ack-byte"), 16, 0, 0xFF)) {
        f.wrongAckByte = static_cast<uint8_t>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("late-reply"), 10, 0, 3600000)) {
        f.lateReplyMs = static_cast<int>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("late-at"), 10, 1, kMaxInt)) {
        f.lateReplyAtExchange = static_cast<int>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("bad-digit-at"), 10, 1, kMaxInt)) {
        f.badDigitAtExchange = static_cast<int>(*v);
    }
    if (auto v = n.Number(p, QStringLiteral("dead-after"), 10, 0, kMaxInt)) {
        f.deadAfterBytes = *v;
    }
}

} // namespace

ParseOutcome ParseModsimOptions(const QStringList &arguments, ModsimOptions &options,
                                QString &message)
{
    QCommandLineParser p;
    AddOptions(p);
    if (!p.parse(arguments)) {
        message = p.errorText();
        return ParseOutcome::Error;
    }
    if (p.isSet(QStringLiteral("help"))) {
        message = p.helpText();
        return ParseOutcome::Exit;
    }
    if (p.isSet(QStringLiteral("version"))) {
        message = QStringLiteral("tolm-modsim %1\n").arg(QCoreApplication::applicationVersion());
        return ParseOutcome::Exit;
    }
    for (const QString &file : p.values(QStringLiteral("part-file"))) {
        options.partFiles.push_back(file.toStdString());
    }
    options.listDevices = p.isSet(QStringLiteral("list-devices"));
    if (options.listDevices) {
        return ParseOutcome::Run;
    }
    if (!p.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first());
        return ParseOutcome::Error;
    }
    options.device = p.value(QStringLiteral("device")).toStdString();
    options.linkPath = p.value(QStringLiteral("link")).toStdString();
    options.chipIn = p.value(QStringLiteral("chip-in")).toStdString();
    options.chipOut = p.value(QStringLiteral("chip-out")).toStdString();
    options.transcriptPath = p.value(QStringLiteral("transcript")).toStdString();
    options.transcriptChipTime = p.isSet(QStringLiteral("transcript-chip-time"));
    if (options.device.empty()) {
        message = QStringLiteral("--device NAME is required (see --list-devices)");
        return ParseOutcome::Error;
    }
    if (options.linkPath.empty()) {
        message = QStringLiteral("--link PATH is required");
        return ParseOutcome::Error;
    }
    Parsed numbers;
    ReadNumbers(p, options, numbers);
    if (!numbers.error.isEmpty()) {
        message = numbers.error;
        return ParseOutcome::Error;
    }
    return ReadLocationFaults(p, options, message) ? ParseOutcome::Run : ParseOutcome::Error;
}

} // namespace tolm::sim
