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

} // namespace
