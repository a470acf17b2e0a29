#include "CatalogueProblem.h"

QString RuleText(CatalogueRule rule)
{
    switch (rule) {
    case CatalogueRule::Unreadable:
        return QStringLiteral("file cannot be read");
    case CatalogueRule::Syntax:
        return QStringLiteral("TOML syntax");
    case CatalogueRule::NameNotFirst:
        return QStringLiteral("name must be the part's first key");
    case CatalogueRule::MissingKey:
        return QStringLiteral("missing key");
    case CatalogueRule::WrongType:
        return QStringLiteral("wrong type");
    case CatalogueRule::UnknownKey:
        return QStringLiteral("unknown key");
    case CatalogueRule::UnknownName:
        return QStringLiteral("unknown name");
    case CatalogueRule::DuplicateName:
        return QStringLiteral("duplicate part name");
    case CatalogueRule::DuplicateDeviceId:
        return QStringLiteral("duplicate device ID");
    case CatalogueRule::DeviceIdInRevision:
        return QStringLiteral("device ID has bits in its revision mask");
    case CatalogueRule::SizeOutsideAlgorithm:
        return QStringLiteral("outside the algorithm's limits");
    case CatalogueRule::MaskWiderThanWord:
        return QStringLiteral("wider than the word");
    case CatalogueRule::FieldOutsideImplemented:
        return QStringLiteral("field outside the implemented bits");
    case CatalogueRule::FieldsOverlap:
        return QStringLiteral("fields overlap");
    case CatalogueRule::ValueOutsideField:
        return QStringLiteral("value outside its field");
    case CatalogueRule::ValuesNotDistinct:
        return QStringLiteral("values not distinct");
    case CatalogueRule::ControlNeedsValues:
        return QStringLiteral("control does not fit the field");
    case CatalogueRule::ProtectionWordMismatch:
        return QStringLiteral("protection word and field disagree");
    case CatalogueRule::LocationOutsideSpace:
        return QStringLiteral("location outside the configuration space");
    case CatalogueRule::LocationsOverlap:
        return QStringLiteral("locations overlap");
    case CatalogueRule::ChecksumDiffers:
        return QStringLiteral("published checksum differs from the computed one");
    }
    return {};
}

QString CatalogueProblem::Text() const
{
    QString text =
        QStringLiteral("%1:%2:%3: %4").arg(file).arg(line).arg(column).arg(RuleText(rule));
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    return text;
}
