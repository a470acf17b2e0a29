// The option controls a part's fields are bound to: each control gets the values it needs, the
// System page's controls sit on the first configuration word and are used once, and the
// protection choices agree with the words they build from.
#include "PartChecker.h"
#include "PartNames.h"

#include <bit>
#include <set>

namespace {

bool IsSystemPageControl(FieldControl control)
{
    return control != FieldControl::Check && control != FieldControl::List &&
           control != FieldControl::None;
}

bool IsCheckBox(FieldControl control)
{
    return IsSystemPageControl(control) && control != FieldControl::OscBox &&
           control != FieldControl::Protection;
}

void NeedValues(PartChecker &c, const QString &path, const ConfigField &field, const QString &what)
{
    c.Fail(path, CatalogueRule::ControlNeedsValues,
           QStringLiteral("field %1 (%2) needs %3").arg(field.name, NameOf(field.control), what));
}

void CheckProtection(PartChecker &c, const ConfigWordDef &word, const ConfigField &field,
                     const QString &wordPath, const QString &fieldPath)
{
    for (const FieldValue &value : field.values) {
        if (!IsProtectionChoice(value.name))
            NeedValues(c, fieldPath + QStringLiteral(".values.") + value.name, field,
                       QStringLiteral("values named none, upper34, upper12 or all"));
    }
    if (!field.Find(kProtectNone) || !field.Find(kProtectAll))
        NeedValues(c, fieldPath, field, QStringLiteral("the values none and all"));
    if (!word.protection)
        c.Fail(wordPath, CatalogueRule::MissingKey, wordPath + QStringLiteral(".protection"));
    if (!word.allCodeProtect)
        c.Fail(wordPath, CatalogueRule::MissingKey, wordPath + QStringLiteral(".all_code_protect"));
    if (word.protection != ProtectionStyle::Words)
        return;
    for (const FieldValue &value : field.values) {
        const auto it = word.protectionWords.find(value.name);
        if (it == word.protectionWords.end()) {
            c.Fail(wordPath, CatalogueRule::MissingKey,
                   wordPath + QStringLiteral(".protection_words.") + value.name);
        } else if ((it->second & field.mask) != value.bits) {
            c.Fail(wordPath + QStringLiteral(".protection_words.") + value.name,
                   CatalogueRule::ProtectionWordMismatch,
                   QStringLiteral("%1: word %2 under mask %3 is not %4")
                       .arg(value.name, HexText(it->second), HexText(field.mask),
                            HexText(value.bits)));
        }
    }
}

void CheckField(PartChecker &c, const ConfigWordDef &word, const ConfigField &field,
                const QString &wordPath, const QString &fieldPath)
{
    if (field.selected && !field.Find(*field.selected))
        NeedValues(c, fieldPath + QStringLiteral(".selected"), field,
                   QStringLiteral("selected to name one of its values"));
    const bool onOff = field.values.size() == 2 && field.Find(kValueOn) && field.Find(kValueOff);
    if ((IsCheckBox(field.control) || field.control == FieldControl::Check) && !onOff)
        NeedValues(c, fieldPath, field, QStringLiteral("exactly the values on and off"));
    const size_t patterns = size_t{1} << std::popcount(field.mask);
    if (field.control == FieldControl::OscBox && field.values.size() != patterns)
        NeedValues(c, fieldPath, field,
                   QStringLiteral("a value for each of its %1 bit patterns").arg(patterns));
    if (field.control == FieldControl::Protection)
        CheckProtection(c, word, field, wordPath, fieldPath);
}

} // namespace

void CheckControls(PartChecker &c)
{
    const PartDefinition &part = c.Part();
    std::set<FieldControl> used;
    bool parityBox = false;
    for (size_t w = 0; w < part.config.size(); ++w) {
        const QString wordPath = QStringLiteral("config.") + QString::number(w);
        const ConfigWordDef &word = part.config[w];
        for (size_t f = 0; f < word.fields.size(); ++f) {
            const ConfigField &field = word.fields[f];
            const QString fieldPath = wordPath + QStringLiteral(".fields.") + QString::number(f);
            CheckField(c, word, field, wordPath, fieldPath);
            parityBox = parityBox || field.control == FieldControl::MpeenCbx;
            if (!IsSystemPageControl(field.control))
                continue;
            // The option controls stand for the first configuration word only.
            if (w != 0 || !used.insert(field.control).second)
                NeedValues(c, fieldPath + QStringLiteral(".control"), field,
                           QStringLiteral("to be the only field on the first word with it"));
        }
    }
    if (parityBox != part.memoryParity)
        c.Fail(QStringLiteral("memory_parity"), CatalogueRule::ControlNeedsValues,
               QStringLiteral("memory_parity and a field with control MpeenCbx go together"));
}

// The Vpp-before-Vdd condition names fields and values of the part.
void CheckVppCondition(PartChecker &c)
{
    const PartDefinition &part = c.Part();
    for (const auto &[fieldName, valueNames] : part.vppBeforeVdd.when) {
        const ConfigField *found = nullptr;
        for (const ConfigWordDef &word : part.config) {
            for (const ConfigField &field : word.fields) {
                if (field.name == fieldName)
                    found = &field;
            }
        }
        for (const QString &valueName : valueNames) {
            if (!found || !found->Find(valueName))
                c.Fail(QStringLiteral("vpp_before_vdd"), CatalogueRule::UnknownName,
                       QStringLiteral("%1 = \"%2\"").arg(fieldName, valueName));
        }
    }
}
