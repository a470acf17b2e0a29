#include "PartReader.h"

#include "PartAlgorithms.h"
#include "PartNames.h"
#include "TomlNodeReader.h"
#include "TomlPrescan.h"

#include <algorithm>
#include <climits>

namespace {

QString Indexed(const QString &path, size_t index)
{
    return path + QLatin1Char('.') + QString::number(index);
}

// Reads a name that must be one of a kind's names; an unknown one fails the part.
template <typename T, typename Lookup>
std::optional<T> Named(TomlNodeReader &r, PartReading &reading, const char *key, bool required,
                       Lookup lookup)
{
    const std::optional<QString> text = r.String(key, required);
    if (!text)
        return std::nullopt;
    const std::optional<T> value = lookup(QStringView(*text));
    if (!value) {
        reading.Fail(reading.source->Where(r.PathOf(key)), CatalogueRule::UnknownName,
                     QStringLiteral("%1 = \"%2\"").arg(r.PathOf(key), *text));
    }
    return value;
}

// The tables of an array of tables, each with its path; anything else in it fails the part.
std::vector<std::pair<const toml::table *, QString>>
TablesOf(const toml::array *array, const QString &path, PartReading &reading)
{
    std::vector<std::pair<const toml::table *, QString>> tables;
    if (!array)
        return tables;
    for (size_t i = 0; i < array->size(); ++i) {
        const toml::node &node = *array->get(i);
        if (!node.is_table()) {
            reading.Fail(PosOf(node.source()), CatalogueRule::WrongType,
                         Indexed(path, i) + QStringLiteral(" must be a table"));
            continue;
        }
        tables.emplace_back(node.as_table(), Indexed(path, i));
    }
    return tables;
}

// `values = { LP = 0, XT = 1 }`: every entry a number, kept in ascending order of its bits.
std::vector<FieldValue> ReadValues(TomlNodeReader &r, PartReading &reading)
{
    std::vector<FieldValue> values;
    const toml::table *table = r.Table("values", true);
    if (!table)
        return values;
    TomlNodeReader entries(*table, r.PathOf("values"), reading);
    for (auto &&[key, node] : *table) {
        const std::string name(key.str());
        if (const auto bits = entries.Integer(name.c_str(), true))
            values.push_back({QString::fromStdString(name), static_cast<uint16_t>(*bits)});
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const FieldValue &a, const FieldValue &b) { return a.bits < b.bits; });
    return values;
}

ConfigField ReadField(const toml::table &table, const QString &path, PartReading &reading)
{
    TomlNodeReader r(table, path, reading);
    ConfigField field;
    field.name = r.String("name", true).value_or(QString());
    field.mask = static_cast<uint16_t>(r.Integer("mask", true).value_or(0));
    field.control = Named<FieldControl>(r, reading, "control", false, ControlNamed)
                        .value_or(FieldControl::List);
    field.values = ReadValues(r, reading);
    field.selected = r.String("selected", false);
    r.RejectUnknownKeys();
    return field;
}

std::map<QString, uint16_t> ReadProtectionWords(TomlNodeReader &r, PartReading &reading)
{
    std::map<QString, uint16_t> words;
    const toml::table *table = r.Table("protection_words", false);
    if (!table)
        return words;
    TomlNodeReader entries(*table, r.PathOf("protection_words"), reading);
    for (const QString &choice : {kProtectNone, kProtectUpper34, kProtectUpper12, kProtectAll}) {
        if (const auto word = entries.Integer(choice.toLatin1().constData(), false))
            words[choice] = static_cast<uint16_t>(*word);
    }
    entries.RejectUnknownKeys();
    return words;
}

ConfigWordDef ReadConfigWord(const toml::table &table, const QString &path, PartReading &reading)
{
    TomlNodeReader r(table, path, reading);
    ConfigWordDef word;
    word.address = static_cast<uint16_t>(r.Integer("address", true).value_or(0));
    word.implemented = static_cast<uint16_t>(r.Integer("implemented", true).value_or(0));
    word.blank = static_cast<uint16_t>(r.Integer("blank", true).value_or(0));
    if (const auto mask = r.Integer("checksum_mask", false))
        word.checksumMask = static_cast<uint16_t>(*mask);
    word.protection = Named<ProtectionStyle>(r, reading, "protection", false, ProtectionStyleNamed);
    word.protectionWords = ReadProtectionWords(r, reading);
    word.allCodeProtect =
        Named<AllCodeProtect>(r, reading, "all_code_protect", false, AllCodeProtectNamed);
    const QString fieldsPath = r.PathOf("fields");
    for (const auto &[fieldTable, fieldPath] :
         TablesOf(r.Array("fields", true), fieldsPath, reading))
        word.fields.push_back(ReadField(*fieldTable, fieldPath, reading));
    r.RejectUnknownKeys();
    return word;
}

CalibrationDef ReadCalibration(const toml::table &table, const QString &path, PartReading &reading)
{
    TomlNodeReader r(table, path, reading);
    CalibrationDef cal;
    cal.kind = Named<CalibrationKind>(r, reading, "kind", true, CalibrationKindNamed)
                   .value_or(CalibrationKind::ConfigWord);
    cal.address = static_cast<uint16_t>(r.Integer("address", true).value_or(0));
    const bool bandGap = cal.kind == CalibrationKind::BandGap;
    cal.mask = static_cast<uint16_t>(r.Integer("mask", bandGap).value_or(0));
    r.RejectUnknownKeys();
    return cal;
}

void ReadMethods(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    const toml::array *methods = r.Array("methods", true);
    if (!methods)
        return;
    for (size_t i = 0; i < methods->size(); ++i) {
        const toml::node &node = *methods->get(i);
        const auto method = node.value<std::string>();
        if (method == "parallel") {
            part.parallel = true;
        } else if (method == "serial") {
            part.serial = true;
        } else {
            reading.Fail(PosOf(node.source()), CatalogueRule::UnknownName,
                         QStringLiteral("methods: \"parallel\" or \"serial\""));
        }
    }
}

// `true`, `false`, or `{ FOSC = ["IntOsc IO"], MCLRE = ["off"] }`.
void ReadVppBeforeVdd(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    const toml::node *node = r.Node("vpp_before_vdd");
    if (!node)
        return;
    if (const auto *flag = node->as_boolean()) {
        part.vppBeforeVdd.always = flag->get();
        return;
    }
    const toml::table *table = node->as_table();
    bool ok = table != nullptr;
    for (auto it = ok ? table->begin() : toml::table::const_iterator{}; ok && it != table->end();
         ++it) {
        QStringList names;
        const toml::array *list = it->second.as_array();
        ok = list != nullptr;
        for (size_t i = 0; ok && i < list->size(); ++i) {
            const auto name = list->get(i)->value<std::string>();
            ok = name.has_value();
            names << QString::fromStdString(name.value_or(std::string()));
        }
        part.vppBeforeVdd.when.emplace_back(QString::fromStdString(std::string(it->first.str())),
                                            names);
    }
    if (!ok) {
        reading.Fail(
            PosOf(node->source()), CatalogueRule::WrongType,
            QStringLiteral("vpp_before_vdd must be true, false or a table of value lists"));
    }
}

void ReadTiming(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    const toml::table *table = r.Table("timing", false);
    if (!table)
        return;
    TomlNodeReader t(*table, r.PathOf("timing"), reading);
    part.timing.programUs = t.Microseconds("program_ms");
    part.timing.dataUs = t.Microseconds("data_ms");
    part.timing.eraseUs = t.Microseconds("erase_ms");
    t.RejectUnknownKeys();
}

void ReadIdLocations(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    const toml::table *table = r.Table("id_locations", true);
    if (!table)
        return;
    TomlNodeReader t(*table, r.PathOf("id_locations"), reading);
    part.idAddress = static_cast<uint16_t>(t.Integer("address", true).value_or(0));
    part.idUsedBits = static_cast<uint16_t>(t.Integer("used_bits", true).value_or(0));
    t.RejectUnknownKeys();
}

void ReadChecksums(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    const toml::table *table = r.Table("checksums", false);
    if (!table)
        return;
    TomlNodeReader t(*table, r.PathOf("checksums"), reading);
    PublishedChecksums sums;
    sums.blank = static_cast<uint16_t>(t.Integer("blank", true).value_or(0));
    sums.pattern = static_cast<uint16_t>(t.Integer("pattern", true).value_or(0));
    sums.patternWord = static_cast<uint16_t>(t.Integer("pattern_word", false).value_or(0x25E6));
    part.checksums = sums;
    t.RejectUnknownKeys();
}

// The key that stands first in the file: where a part begins.
QString FirstKey(const toml::table &table)
{
    QString first;
    SourcePos best{INT_MAX, INT_MAX};
    for (auto &&[key, node] : table) {
        const SourcePos at = PosOf(key.source());
        if (at.line < best.line || (at.line == best.line && at.column < best.column)) {
            best = at;
            first = QString::fromStdString(std::string(key.str()));
        }
    }
    return first;
}

void ReadPartKeys(TomlNodeReader &r, PartReading &reading, PartDefinition &part)
{
    part.name = r.String("name", true).value_or(QString());
    part.algorithm = Named<PartAlgorithm>(r, reading, "algorithm", true, AlgorithmNamed)
                         .value_or(PartAlgorithm::Flash14);
    ReadMethods(r, reading, part);
    part.programWords = static_cast<int>(r.Integer("program_words", true, 65536).value_or(0));
    part.dataBytes = static_cast<int>(r.Integer("data_bytes", false, 65536).value_or(0));
    if (const auto id = r.Integer("device_id", false)) {
        part.deviceId = static_cast<uint16_t>(*id);
        part.revisionMask = static_cast<uint16_t>(r.Integer("revision_mask", true).value_or(0));
    } else {
        part.revisionMask = static_cast<uint16_t>(r.Integer("revision_mask", false).value_or(0));
    }
    part.confirmedOnHardware = r.Boolean("confirmed_on_hardware").value_or(false);
    if (const auto order = r.Integer("selector_order", false, INT_MAX))
        part.selectorOrder = static_cast<int>(*order);
    part.memoryParity = r.Boolean("memory_parity").value_or(false);
    part.configSerialOnly = r.Boolean("config_serial_only").value_or(false);
    ReadVppBeforeVdd(r, reading, part);
    part.writeLatchWords = static_cast<int>(r.Integer("write_latch_words", false).value_or(1));
    ReadTiming(r, reading, part);
    ReadIdLocations(r, reading, part);
}

std::optional<PartDefinition> ReadPart(const toml::table &table, const QString &path,
                                       const QString &file, bool userFile,
                                       std::vector<CatalogueProblem> &problems)
{
    PartDefinition part;
    part.source.file = file;
    part.source.userFile = userFile;
    part.source.prefix = path;
    PartReading reading{&part.source, &problems};
    TomlNodeReader r(table, path, reading);
    const QString first = FirstKey(table);
    if (first != QLatin1String("name")) {
        reading.Fail(path.isEmpty() ? SourcePos{1, 1} : r.Where(), CatalogueRule::NameNotFirst,
                     first.isEmpty() ? QStringLiteral("empty part")
                                     : QStringLiteral("first key ") + first);
        return std::nullopt;
    }
    ReadPartKeys(r, reading, part);
    for (const auto &[t, p] : TablesOf(r.Array("config", true), r.PathOf("config"), reading))
        part.config.push_back(ReadConfigWord(*t, p, reading));
    for (const auto &[t, p] :
         TablesOf(r.Array("calibration", false), r.PathOf("calibration"), reading))
        part.calibration.push_back(ReadCalibration(*t, p, reading));
    ReadChecksums(r, reading, part);
    r.RejectUnknownKeys();
    if (reading.failed)
        return std::nullopt;
    return part;
}

} // namespace

PartFileRead ReadPartFile(const QString &file, const QByteArray &text, bool userFile)
{
    PartFileRead result;
    if (const auto at = FirstNonAsciiOutsideStrings(text)) {
        result.problems.push_back(
            {file, at->line, at->column, CatalogueRule::Syntax,
             QStringLiteral("a character outside ASCII where TOML allows none")});
        return result;
    }
    const std::string_view doc(text.constData(), static_cast<size_t>(text.size()));
    toml::parse_result parsed = toml::parse(doc, file.toStdString());
    if (!parsed) {
        const toml::parse_error &error = parsed.error();
        const SourcePos at = PosOf(error.source());
        result.problems.push_back({file, at.line, at.column, CatalogueRule::Syntax,
                                   QString::fromStdString(std::string(error.description()))});
        return result;
    }
    const toml::table &root = parsed.table();
    const toml::node *several = root.get("part");
    if (!several) {
        if (auto part = ReadPart(root, QString(), file, userFile, result.problems))
            result.parts.push_back(std::move(*part));
        return result;
    }
    // A file of several parts holds nothing but its [[part]] tables.
    PartSource fileSource{file, userFile, {}, {}};
    PartReading reading{&fileSource, &result.problems};
    TomlNodeReader r(root, QString(), reading);
    for (const auto &[t, p] : TablesOf(r.Array("part", true), QStringLiteral("part"), reading)) {
        if (auto part = ReadPart(*t, p, file, userFile, result.problems))
            result.parts.push_back(std::move(*part));
    }
    r.RejectUnknownKeys();
    return result;
}
