#pragma once

#include <QString>

// The rules a part definition can break. Each problem names the rule, so tests and front ends
// can tell them apart without reading the sentence.
enum class CatalogueRule {
    Unreadable,           // the file cannot be read
    Syntax,               // TOML syntax, as toml++ reports it
    NameNotFirst,         // a part's first key is not `name`
    MissingKey,           // a required key is left out
    WrongType,            // a string where a number belongs, and the like
    UnknownKey,           // a key Tolm does not know (a misspelling)
    UnknownName,          // an algorithm, method, control or calibration kind Tolm lacks
    DuplicateName,        // two parts of one name in one set of files
    DuplicateDeviceId,    // two parts a device ID word could both match
    DeviceIdInRevision,   // a device ID with bits under its own revision mask
    SizeOutsideAlgorithm, // program words, data bytes, methods, write latch
    MaskWiderThanWord,    // a mask, value or blank word beyond the core's bits
    FieldOutsideImplemented,
    FieldsOverlap,
    ValueOutsideField,
    ValuesNotDistinct,
    ControlNeedsValues, // a control without the values it needs, or used twice
    ProtectionWordMismatch,
    LocationOutsideSpace, // a configuration, ID or calibration location the driver cannot reach
    LocationsOverlap,
    ChecksumDiffers,
};

// One sentence per rule: what the definition does wrong, without the particulars.
QString RuleText(CatalogueRule rule);

// A broken definition: where, which rule, and the particulars ("field CP, mask 0x3FF0").
struct CatalogueProblem
{
    QString file;
    int line = 0;
    int column = 0;
    CatalogueRule rule = CatalogueRule::Syntax;
    QString detail;

    // "file:line:column: rule text: detail", the form compilers use, so editors can jump there.
    QString Text() const;
};
