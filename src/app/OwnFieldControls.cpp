#include "OwnFieldControls.h"

#include "ControlFactory.h"
#include "HexEditFilter.h"
#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/catalogue/PartDefinition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>

OwnFieldControls::OwnFieldControls(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("OwnFieldControls"));
    FieldsBox = ::Group("FieldsBox", QStringLiteral("Part Settings"));
    m_form = new QFormLayout(FieldsBox);
    // Compact: the five fields of a 16F88X fit where the calibration group of other parts goes.
    m_form->setContentsMargins(6, 0, 6, 2);
    m_form->setVerticalSpacing(1);
    m_form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    FieldsBox->hide();
}

QWidget *OwnFieldControls::Group() const
{
    return FieldsBox;
}

void OwnFieldControls::Clear()
{
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    m_controls.clear();
}

void OwnFieldControls::Rebuild(const DeviceRecord &device)
{
    Clear();
    const std::vector<ConfigWordDef> *words = ConfigWordsOf(device);
    for (const OwnField &own : OwnFieldsOf(device))
        Add(own, (*words)[static_cast<size_t>(own.word)]);
    FieldsBox->setVisible(!m_controls.empty());
    for (const Control &c : m_controls) {
        const ConfigWordDef &word = (*words)[static_cast<size_t>(c.own.word)];
        const ConfigField &field = *c.own.field;
        int index = field.selected ? FieldValueIndex(field, field.Find(*field.selected)->bits)
                                   : FieldValueIndex(field, word.blank);
        if (c.list)
            c.list->setCurrentIndex(index);
        else
            c.check->setChecked(index >= 0 && index == CheckedValueIndex(field, true));
    }
}

void OwnFieldControls::Add(const OwnField &own, const ConfigWordDef &word)
{
    const ConfigField &field = *own.field;
    // The names users know from the data sheet; the word is said where there are two.
    const QString caption =
        own.word == 0 ? field.name
                      : QStringLiteral("%1 (%2)").arg(field.name, FormatHex(word.address, 4));
    const QString hint = QStringLiteral("Configuration word %1, bits %2")
                             .arg(FormatHex(word.address, 4), FormatHex(field.mask, 4));
    const QByteArray name =
        (field.name + (own.word == 0 ? QString() : QStringLiteral("2")) +
         (field.control == FieldControl::Check ? QStringLiteral("Cbx") : QStringLiteral("Box")))
            .toLatin1();
    Control c{own};
    if (field.control == FieldControl::Check) {
        c.check = CheckBox(name.constData(), caption);
        c.check->setToolTip(hint);
        m_form->addRow(c.check);
        connect(c.check, &QCheckBox::toggled, this, &OwnFieldControls::ControlsChanged);
    } else {
        c.list = Named(new QComboBox, name.constData());
        for (const FieldValue &value : field.values)
            c.list->addItem(value.name);
        c.list->setToolTip(hint);
        c.list->setAccessibleName(caption);
        c.list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // Like the oscillator list: picked from, never typed into.
        auto *filter = new HexEditFilter(c.list);
        filter->WatchSelector(c.list);
        auto *label = new QLabel(caption);
        label->setBuddy(c.list);
        m_form->addRow(label, c.list);
        connect(c.list, &QComboBox::currentIndexChanged, this, &OwnFieldControls::ControlsChanged);
    }
    m_controls.push_back(c);
}

bool OwnFieldControls::HasWord(int word) const
{
    for (const Control &c : m_controls) {
        if (c.own.word == word)
            return true;
    }
    return false;
}

std::uint16_t OwnFieldControls::Apply(int word, std::uint16_t value) const
{
    for (const Control &c : m_controls) {
        if (c.own.word != word)
            continue;
        const ConfigField &field = *c.own.field;
        const int index =
            c.list ? c.list->currentIndex() : CheckedValueIndex(field, c.check->isChecked());
        value = WithFieldValue(value, field, index);
    }
    return value;
}

void OwnFieldControls::Show(int word, std::uint16_t value)
{
    for (const Control &c : m_controls) {
        if (c.own.word != word)
            continue;
        const int index = FieldValueIndex(*c.own.field, value);
        if (c.list)
            c.list->setCurrentIndex(index);
        else
            c.check->setChecked(index >= 0 && index == CheckedValueIndex(*c.own.field, true));
    }
}
