#pragma once

#include <cstdint>
#include <vector>

struct ConfigField;
struct ConfigWordDef;
struct DeviceRecord;

// The configuration fields that have controls of their own: a list of the field's named values
// or a check box, built from the part's file beside the option controls every part shares
// (oscillator, protection, the System page's boxes). The 30 parts Tolm has always offered have
// none; newer ones (brown-out modes, the write protection ranges, a second configuration word)
// do. A field's setting is the index of its value in the field's list.

// One such field and the configuration word it sits in (0: the first word, 1: the second).
struct OwnField
{
    int word = 0;
    const ConfigField *field = nullptr;
};

// The device's own fields, word by word in file order; none for the no-device record.
std::vector<OwnField> OwnFieldsOf(const DeviceRecord &device);

// The configuration words of the device (one, two, or none for the no-device record).
const std::vector<ConfigWordDef> *ConfigWordsOf(const DeviceRecord &device);

// The value a word holds in the field: the index of the value whose bits the word carries, or
// -1 when the bits are none of the field's values.
int FieldValueIndex(const ConfigField &field, std::uint16_t word);

// The word with the field set to the value at `index`; an index outside the list leaves the
// word as it is (a pattern the file does not name is kept, not cleared).
std::uint16_t WithFieldValue(std::uint16_t word, const ConfigField &field, int index);

// A check box stands for a field of two values named "off" and "on": ticked is "on". The index
// of each, or -1 when the field has no such value.
int CheckedValueIndex(const ConfigField &field, bool checked);
