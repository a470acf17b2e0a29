#include "device/ConfigFields.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartDefinition.h"

#include <gtest/gtest.h>

namespace {

const ConfigField &Field(const QString &part, int word, const QString &name)
{
    const PartDefinition *definition = CatalogueInUse().Find(part);
    EXPECT_NE(definition, nullptr);
    for (const ConfigField &field : definition->config.at(static_cast<size_t>(word)).fields) {
        if (field.name == name)
            return field;
    }
    ADD_FAILURE() << "no field " << name.toStdString();
    static const ConfigField none;
    return none;
}

// Which parts have fields of their own, and in which word: the 30 parts Tolm has always offered
// must have none, so their pages stay as they were.
TEST(ConfigFields, OwnFieldsOfEachKindOfPart)
{
    struct Row
    {
        const char *part;
        QStringList fields; // name and word: "WRT@1"
    };
    const Row rows[] = {
        {"16f84", {}},
        {"16f877", {}},
        {"12c508", {}},
        {"12f675", {}}, // the band-gap bits have no control
        {"16f877a", {"WRT@0"}},
        {"12f683", {"BOREN@0", "IESO@0", "FCMEN@0"}},
        {"16f887", {"BOREN@0", "IESO@0", "FCMEN@0", "WRT@1", "BOR4V@1"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.part);
        QStringList found;
        for (const OwnField &own : OwnFieldsOf(*FindDevice(QString::fromLatin1(row.part))))
            found << QStringLiteral("%1@%2").arg(own.field->name).arg(own.word);
        EXPECT_EQ(found, row.fields);
    }
    EXPECT_TRUE(OwnFieldsOf(NoDeviceRecord()).empty());
}

// A word's bits to the value shown, and a value back into the word: only the field's bits
// change, and a pattern the file does not name is neither shown nor cleared.
TEST(ConfigFields, ValuesReadAndWrittenByTheFieldsBitsOnly)
{
    struct Row
    {
        const char *part;
        int word;
        const char *field;
        std::uint16_t wordIn;
        int index;             // the value the word holds
        int setIndex;          // the value then chosen
        std::uint16_t wordOut; // the word with it
    };
    const Row rows[] = {
        // BOREN 0x0300: off, software, on-run, on.
        {"16f887", 0, "BOREN", 0x3FFF, 3, 0, 0x3CFF},
        {"16f887", 0, "BOREN", 0x0100, 1, 2, 0x0200},
        {"16f887", 0, "IESO", 0x0000, 0, 1, 0x0400},
        // The second word: WRT 0x0600 with its ranges, BOR4V 0x0100; other bits stay.
        {"16f887", 1, "WRT", 0x3FFF, 3, 1, 0x3BFF},
        {"16f887", 1, "BOR4V", 0x3EFF, 0, 1, 0x3FFF},
        // An index outside the list leaves the word as it is.
        {"16f877a", 0, "WRT", 0x3FFF, 3, 7, 0x3FFF},
        {"16f877a", 0, "WRT", 0x3DFF, 2, -1, 0x3DFF},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.part) + " " + row.field);
        const ConfigField &field =
            Field(QString::fromLatin1(row.part), row.word, QString::fromLatin1(row.field));
        EXPECT_EQ(FieldValueIndex(field, row.wordIn), row.index);
        EXPECT_EQ(WithFieldValue(row.wordIn, field, row.setIndex), row.wordOut);
    }
}

TEST(ConfigFields, CheckBoxesStandForOnAndOff)
{
    const ConfigField &ieso = Field(QStringLiteral("16f887"), 0, QStringLiteral("IESO"));
    EXPECT_EQ(WithFieldValue(0x3FFF, ieso, CheckedValueIndex(ieso, false)), 0x3BFF);
    EXPECT_EQ(WithFieldValue(0x3BFF, ieso, CheckedValueIndex(ieso, true)), 0x3FFF);
    // A list has no "on": a check box cannot stand for it.
    EXPECT_EQ(CheckedValueIndex(Field(QStringLiteral("16f887"), 1, QStringLiteral("BOR4V")), true),
              -1);
}

} // namespace
