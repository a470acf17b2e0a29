#include "PartWriter.h"

#include "PartAlgorithms.h"
#include "PartNames.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QString Hex(uint32_t value)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString Quoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A key as TOML writes it: bare when it can be, quoted otherwise.
QString Key(const QString &name)
{
    static const QRegularExpression bare(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return bare.match(name).hasMatch() ? name : Quoted(name);
}

QString Milliseconds(int us)
{
    return QString::number(us / 1000.0, 'g', 10);
}

QString InlineValues(const std::vector<FieldValue> &values)
{
    QStringList entries;
    for (const FieldValue &value : values)
        entries << Key(value.name) + QStringLiteral(" = ") + Hex(value.bits);
    return QStringLiteral("{ ") + entries.join(QStringLiteral(", ")) + QStringLiteral(" }");
}

QString FieldLine(const ConfigField &field)
{
    QString line = QStringLiteral("  { name = %1, mask = %2, control = %3, values = %4")
                       .arg(Quoted(field.name), Hex(field.mask), Quoted(NameOf(field.control)),
                            InlineValues(field.values));
    if (field.selected)
        line += QStringLiteral(", selected = ") + Quoted(*field.selected);
    return line + QStringLiteral(" },");
}

QString VppValue(const VppBeforeVdd &vpp)
{
    if (vpp.when.empty())
        return vpp.always ? QStringLiteral("true") : QStringLiteral("false");
    QStringList conditions;
    for (const auto &[field, values] : vpp.when) {
        QStringList quoted;
        for (const QString &value : values)
            quoted << Quoted(value);
        conditions << Key(field) + QStringLiteral(" = [") + quoted.join(QStringLiteral(", ")) +
                          QLatin1Char(']');
    }
    return QStringLiteral("{ ") + conditions.join(QStringLiteral(", ")) + QStringLiteral(" }");
}

void WritePartKeys(const PartDefinition &part, QStringList &out)
{
    QStringList methods;
    if (part.parallel)
        methods << Quoted(QStringLiteral("parallel"));
    if (part.serial)
        methods << Quoted(QStringLiteral("serial"));
    out << QStringLiteral("name = ") + Quoted(part.name);
    out << QStringLiteral("algorithm = ") + Quoted(QLatin1String(InfoOf(part.algorithm).name));
    out << QStringLiteral("methods = [") + methods.join(QStringLiteral(", ")) + QLatin1Char(']');
    out << QStringLiteral("program_words = %1").arg(part.programWords);
    if (part.dataBytes)
        out << QStringLiteral("data_bytes = %1").arg(part.dataBytes);
    if (part.deviceId) {
        out << QStringLiteral("device_id = ") + Hex(*part.deviceId);
        out << QStringLiteral("revision_mask = ") + Hex(part.revisionMask);
    }
    out << QStringLiteral("confirmed_on_hardware = ") +
               (part.confirmedOnHardware ? QStringLiteral("true") : QStringLiteral("false"));
    if (part.selectorOrder)
        out << QStringLiteral("selector_order = %1").arg(*part.selectorOrder);
    if (part.memoryParity)
        out << QStringLiteral("memory_parity = true");
    if (part.configSerialOnly)
        out << QStringLiteral("config_serial_only = true");
    if (part.vppBeforeVdd.always || !part.vppBeforeVdd.when.empty())
        out << QStringLiteral("vpp_before_vdd = ") + VppValue(part.vppBeforeVdd);
    if (part.writeLatchWords != 1)
        out << QStringLiteral("write_latch_words = %1").arg(part.writeLatchWords);
}

void WriteTiming(const PartTiming &timing, QStringList &out)
{
    if (!timing.programUs && !timing.dataUs && !timing.eraseUs)
        return;
    out << QString() << QStringLiteral("[timing]");
    if (timing.programUs)
        out << QStringLiteral("program_ms = ") + Milliseconds(*timing.programUs);
    if (timing.dataUs)
        out << QStringLiteral("data_ms = ") + Milliseconds(*timing.dataUs);
    if (timing.eraseUs)
        out << QStringLiteral("erase_ms = ") + Milliseconds(*timing.eraseUs);
}

void WriteConfigWord(const ConfigWordDef &word, QStringList &out)
{
    out << QString() << QStringLiteral("[[config]]");
    out << QStringLiteral("address = ") + Hex(word.address);
    out << QStringLiteral("implemented = ") + Hex(word.implemented);
    out << QStringLiteral("blank = ") + Hex(word.blank);
    if (word.checksumMask)
        out << QStringLiteral("checksum_mask = ") + Hex(*word.checksumMask);
    if (word.protection)
        out << QStringLiteral("protection = ") + Quoted(NameOf(*word.protection));
    if (!word.protectionWords.empty()) {
        QStringList words;
        for (const QString &choice :
             {kProtectNone, kProtectUpper34, kProtectUpper12, kProtectAll}) {
            const auto it = word.protectionWords.find(choice);
            if (it != word.protectionWords.end())
                words << choice + QStringLiteral(" = ") + Hex(it->second);
        }
        out << QStringLiteral("protection_words = { ") + words.join(QStringLiteral(", ")) +
                   QStringLiteral(" }");
    }
    if (word.allCodeProtect)
        out << QStringLiteral("all_code_protect = ") + Quoted(NameOf(*word.allCodeProtect));
    out << QStringLiteral("fields = [");
    for (const ConfigField &field : word.fields)
        out << FieldLine(field);
    out << QStringLiteral("]");
}

} // namespace

QString PartDefinitionText(const PartDefinition &part)
{
    QStringList out;
    WritePartKeys(part, out);
    WriteTiming(part.timing, out);
    out << QString() << QStringLiteral("[id_locations]");
    out << QStringLiteral("address = ") + Hex(part.idAddress);
    out << QStringLiteral("used_bits = ") + Hex(part.idUsedBits);
    for (const ConfigWordDef &word : part.config)
        WriteConfigWord(word, out);
    for (const CalibrationDef &cal : part.calibration) {
        out << QString() << QStringLiteral("[[calibration]]");
        out << QStringLiteral("kind = ") + Quoted(NameOf(cal.kind));
        out << QStringLiteral("address = ") + Hex(cal.address);
        if (cal.kind == CalibrationKind::BandGap)
            out << QStringLiteral("mask = ") + Hex(cal.mask);
    }
    if (part.checksums) {
        out << QString() << QStringLiteral("[checksums]");
        out << QStringLiteral("blank = ") + Hex(part.checksums->blank);
        out << QStringLiteral("pattern = ") + Hex(part.checksums->pattern);
        if (part.checksums->patternWord != 0x25E6)
            out << QStringLiteral("pattern_word = ") + Hex(part.checksums->patternWord);
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
