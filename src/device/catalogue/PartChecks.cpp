#include "PartChecks.h"

#include "PartAlgorithms.h"
#include "PartChecker.h"

#include <set>

namespace {

void CheckSizes(PartChecker &c)
{
    const PartDefinition &p = c.Part();
    const AlgorithmInfo &info = InfoOf(p.algorithm);
    const QString algorithm = QLatin1String(info.name);
    const bool blockAligned = p.programWords % info.writeLatchWords == 0;
    if (p.programWords < 1 || p.programWords > info.maxProgramWords || !blockAligned)
        c.Fail(QStringLiteral("program_words"), CatalogueRule::SizeOutsideAlgorithm,
               QStringLiteral("%1 program words; %2 takes 1 to %3 in blocks of %4")
                   .arg(p.programWords)
                   .arg(algorithm)
                   .arg(info.maxProgramWords)
                   .arg(info.writeLatchWords));
    if (p.dataBytes > info.maxDataBytes)
        c.Fail(QStringLiteral("data_bytes"), CatalogueRule::SizeOutsideAlgorithm,
               QStringLiteral("%1 data bytes; %2 takes at most %3")
                   .arg(p.dataBytes)
                   .arg(algorithm)
                   .arg(info.maxDataBytes));
    if ((!p.parallel && !p.serial) || (p.parallel && !info.parallel) || (p.serial && !info.serial))
        c.Fail(QStringLiteral("methods"), CatalogueRule::SizeOutsideAlgorithm,
               QStringLiteral("%1 offers %2")
                   .arg(algorithm, info.parallel && info.serial ? QStringLiteral("parallel, serial")
                                   : info.parallel              ? QStringLiteral("parallel")
                                                                : QStringLiteral("serial")));
    if (p.writeLatchWords != info.writeLatchWords)
        c.Fail(
            QStringLiteral("write_latch_words"), CatalogueRule::SizeOutsideAlgorithm,
            QStringLiteral("%1 writes %2 words a cycle").arg(algorithm).arg(info.writeLatchWords));
}

void CheckDeviceId(PartChecker &c)
{
    const PartDefinition &p = c.Part();
    c.Width(QStringLiteral("revision_mask"), p.revisionMask);
    c.Width(QStringLiteral("id_locations.used_bits"), p.idUsedBits);
    if (!p.deviceId)
        return;
    c.Width(QStringLiteral("device_id"), *p.deviceId);
    if (*p.deviceId & p.revisionMask)
        c.Fail(QStringLiteral("device_id"), CatalogueRule::DeviceIdInRevision,
               QStringLiteral("%1 under revision mask %2")
                   .arg(HexText(*p.deviceId), HexText(p.revisionMask)));
}

void CheckValues(PartChecker &c, const ConfigField &field, const QString &path)
{
    std::set<uint16_t> seen;
    for (const FieldValue &value : field.values) {
        const QString valuePath = path + QStringLiteral(".values.") + value.name;
        if (value.bits & ~field.mask)
            c.Fail(valuePath, CatalogueRule::ValueOutsideField,
                   QStringLiteral("%1 = %2, field mask %3")
                       .arg(value.name, HexText(value.bits), HexText(field.mask)));
        if (!seen.insert(value.bits).second)
            c.Fail(valuePath, CatalogueRule::ValuesNotDistinct,
                   QStringLiteral("%1 = %2 in field %3")
                       .arg(value.name, HexText(value.bits), field.name));
    }
}

void CheckFields(PartChecker &c, const ConfigWordDef &word, const QString &path)
{
    c.Width(path + QStringLiteral(".implemented"), word.implemented);
    c.Width(path + QStringLiteral(".blank"), word.blank);
    if (word.checksumMask)
        c.Width(path + QStringLiteral(".checksum_mask"), *word.checksumMask);
    for (const auto &[choice, bits] : word.protectionWords)
        c.Width(path + QStringLiteral(".protection_words.") + choice, bits);
    uint16_t taken = 0;
    for (size_t i = 0; i < word.fields.size(); ++i) {
        const ConfigField &field = word.fields[i];
        const QString fieldPath = path + QStringLiteral(".fields.") + QString::number(i);
        c.Width(fieldPath + QStringLiteral(".mask"), field.mask);
        if (field.mask & ~word.implemented)
            c.Fail(fieldPath + QStringLiteral(".mask"), CatalogueRule::FieldOutsideImplemented,
                   QStringLiteral("field %1, mask %2, implemented %3")
                       .arg(field.name, HexText(field.mask), HexText(word.implemented)));
        if (field.mask & taken)
            c.Fail(fieldPath + QStringLiteral(".mask"), CatalogueRule::FieldsOverlap,
                   QStringLiteral("field %1 shares bits %2 with an earlier field")
                       .arg(field.name, HexText(field.mask & taken)));
        taken |= field.mask;
        CheckValues(c, field, fieldPath);
    }
}

} // namespace

QString HexText(uint32_t value)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

void PartChecker::Fail(const QString &path, CatalogueRule rule, const QString &detail)
{
    const SourcePos at = m_part.source.Where(path);
    m_problems.push_back({m_part.source.file, at.line, at.column, rule, detail});
}

void PartChecker::Width(const QString &path, uint32_t value)
{
    if (value & ~uint32_t{WordMaskOf(m_part)})
        Fail(path, CatalogueRule::MaskWiderThanWord,
             QStringLiteral("%1 = %2, the word has %3 bits")
                 .arg(path, HexText(value))
                 .arg(InfoOf(m_part.algorithm).wordBits));
}

std::vector<CatalogueProblem> CheckPart(const PartDefinition &part)
{
    PartChecker c(part);
    CheckSizes(c);
    CheckDeviceId(c);
    for (size_t i = 0; i < part.config.size(); ++i)
        CheckFields(c, part.config[i], QStringLiteral("config.") + QString::number(i));
    CheckControls(c);
    CheckVppCondition(c);
    CheckLocations(c);
    CheckPublishedChecksums(c);
    return c.TakeProblems();
}
