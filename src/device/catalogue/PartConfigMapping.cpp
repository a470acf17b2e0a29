#include "PartConfigMapping.h"

#include "PartAlgorithms.h"
#include "PartNames.h"
#include "PartRecord.h"

#include <array>
#include <utility>

namespace {

using C = ConfigControls;

constexpr std::array<std::pair<FieldControl, bool C::*>, 9> kCheckBoxes = {{
    {FieldControl::WdtCbx, &C::WdtCbx},
    {FieldControl::PutCbx, &C::PutCbx},
    {FieldControl::BOutCbx, &C::BOutCbx},
    {FieldControl::MClrCbx, &C::MClrCbx},
    {FieldControl::LvpCbx, &C::LvpCbx},
    {FieldControl::DebugCbx, &C::DebugCbx},
    {FieldControl::WrtCbx, &C::WrtCbx},
    {FieldControl::CpdCbx, &C::CpdCbx},
    {FieldControl::MpeenCbx, &C::MpeenCbx},
}};

// The protection choices in the order a pattern is looked up when a word is read.
struct Choice
{
    const QString *name;
    bool C::*button;
};
const std::array<Choice, 4> kChoices = {{
    {&kProtectNone, &C::ProtNoneBtn},
    {&kProtectUpper34, &C::ProtUp34Btn},
    {&kProtectUpper12, &C::ProtUp12Btn},
    {&kProtectAll, &C::ProtAllBtn},
}};

uint16_t Bits(const ConfigField &field, const QString &valueName)
{
    const FieldValue *value = field.Find(valueName);
    return value ? value->bits : 0;
}

void ReadProtection(uint16_t word, const ConfigWordDef &config, const ConfigField &cp, C &c)
{
    const uint16_t pattern = word & cp.mask;
    if (config.protection == ProtectionStyle::Words) {
        // Each button follows its own comparison, so an unknown pattern shows no choice.
        for (const Choice &choice : kChoices) {
            const FieldValue *value = cp.Find(*choice.name);
            c.*(choice.button) = value && value->bits == pattern;
        }
        return;
    }
    for (const Choice &choice : kChoices) {
        const FieldValue *value = cp.Find(*choice.name);
        if (value && value->bits == pattern) {
            c.ProtNoneBtn = c.ProtUp34Btn = c.ProtUp12Btn = c.ProtAllBtn = false;
            c.*(choice.button) = true;
            break;
        }
    }
    for (const Choice &choice : kChoices) {
        if (!cp.Find(*choice.name))
            c.*(choice.button) = false;
    }
}

// The word building starts from when a protection choice is checked. The record-built words go
// None, All, Upper 3/4, Upper 1/2 and the patterns None, Upper 3/4, Upper 1/2, All: with more
// than one button checked the last one in that order wins, as it always has. A pattern brings
// the unimplemented bits at their blank value (most read as 1), and keeps the fields the System
// page does not show (lists, own check boxes, band-gap bits) as the current word has them, so a
// word loaded from a file comes back whole.
uint16_t ProtectionBase(const C &c, const ConfigWordDef &config, const ConfigField &cp,
                        uint16_t boundBits, uint16_t word)
{
    const bool words = config.protection == ProtectionStyle::Words;
    const std::array<Choice, 4> order =
        words ? std::array<Choice, 4>{kChoices[0], kChoices[3], kChoices[1], kChoices[2]}
              : kChoices;
    const auto unbound = static_cast<uint16_t>(~boundBits);
    const auto unimplemented = static_cast<uint16_t>(~config.implemented);
    const uint16_t kept =
        (config.blank & unbound & unimplemented) | (word & unbound & config.implemented);
    for (const Choice &choice : order) {
        const FieldValue *value = cp.Find(*choice.name);
        if (!value || !(c.*(choice.button)))
            continue;
        word = words ? config.protectionWords.at(*choice.name) : value->bits | kept;
    }
    return word;
}

int OscillatorIndex(const ConfigField &osc, uint16_t word)
{
    for (size_t i = 0; i < osc.values.size(); ++i) {
        if (osc.values[i].bits == (word & osc.mask))
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace

ConfigControls PartConfigToControls(uint16_t word, const PartDefinition &part,
                                    const ConfigControls &current)
{
    C c = current;
    if (part.config.empty())
        return c;
    if (const ConfigField *osc = FieldFor(part, FieldControl::OscBox))
        c.OscBox = OscillatorIndex(*osc, word);
    for (const auto &[control, box] : kCheckBoxes) {
        if (const ConfigField *field = FieldFor(part, control))
            c.*box = (word & field->mask) == Bits(*field, kValueOn);
    }
    if (const ConfigField *cp = FieldFor(part, FieldControl::Protection))
        ReadProtection(word, part.config.front(), *cp, c);
    return c;
}

uint16_t PartControlsToConfig(const ConfigControls &controls, const PartDefinition &part,
                              uint16_t currentWord)
{
    if (part.config.empty())
        return currentWord;
    uint16_t word = currentWord;
    if (const ConfigField *cp = FieldFor(part, FieldControl::Protection))
        word = ProtectionBase(controls, part.config.front(), *cp, PartConfigBitsUsed(part), word);
    for (const auto &[control, box] : kCheckBoxes) {
        if (const ConfigField *field = FieldFor(part, control))
            word |= Bits(*field, controls.*box ? kValueOn : kValueOff);
    }
    const ConfigField *osc = FieldFor(part, FieldControl::OscBox);
    if (osc && controls.OscBox >= 0 && controls.OscBox < static_cast<int>(osc->values.size()))
        word |= osc->values[static_cast<size_t>(controls.OscBox)].bits;
    return word;
}

uint16_t PartConfigBitsUsed(const PartDefinition &part)
{
    uint16_t used = 0;
    for (FieldControl control : {FieldControl::OscBox, FieldControl::Protection}) {
        if (const ConfigField *field = FieldFor(part, control))
            used |= field->mask;
    }
    for (const auto &[control, box] : kCheckBoxes) {
        if (const ConfigField *field = FieldFor(part, control))
            used |= field->mask;
    }
    return used;
}

uint16_t PartAllCodeProtectWord(const PartDefinition &part, uint16_t chipWord,
                                const ConfigControls &controls)
{
    const ConfigField *cp = FieldFor(part, FieldControl::Protection);
    if (!cp)
        return chipWord;
    const ConfigWordDef &config = part.config.front();
    switch (config.allCodeProtect.value_or(AllCodeProtect::Unchanged)) {
    case AllCodeProtect::FromControls: {
        // Built as a write would be, from "All" unless a partial choice is checked.
        C c = controls;
        const bool up34 = c.ProtUp34Btn && cp->Find(kProtectUpper34);
        const bool up12 = !up34 && c.ProtUp12Btn && cp->Find(kProtectUpper12);
        c.ProtNoneBtn = false;
        c.ProtAllBtn = !up34 && !up12;
        c.ProtUp34Btn = up34;
        c.ProtUp12Btn = up12;
        return PartControlsToConfig(c, part, 0);
    }
    case AllCodeProtect::ClearProtectionBits:
        return static_cast<uint16_t>(chipWord & WordMaskOf(part) & ~cp->mask);
    case AllCodeProtect::Unchanged:
        break;
    }
    return chipWord;
}

ConfigControls PartControlsAfterSelection(const PartDefinition &part,
                                          const ConfigControls &previous)
{
    C c = previous;
    if (FieldFor(part, FieldControl::OscBox))
        c.OscBox = SelectedOscillatorItem(part);
    for (const auto &[control, box] : kCheckBoxes)
        c.*box = c.*box && FieldFor(part, control);
    c.ProtNoneBtn = true;
    c.ProtUp12Btn = c.ProtUp34Btn = c.ProtAllBtn = false;
    return c;
}
