#pragma once

#include "device/ConfigFields.h"

#include <QObject>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QWidget;
struct DeviceRecord;

// The controls of a part's own configuration fields (device/ConfigFields.h), built from its
// file when the part is selected: a list of the field's named values, or a check box, each
// named after its field. A field of the second configuration word says so ("WRT (2008)").
// Parts without such fields (the 30 parts Tolm has always offered among them) show nothing
// here, so their pages stay as they were.
class OwnFieldControls : public QObject
{
    Q_OBJECT
public:
    explicit OwnFieldControls(QObject *parent = nullptr);

    // For the Configuration page; hidden while the device has no fields of its own.
    QWidget *Group() const;

    // The controls of the device's own fields, each at the value an erased chip holds (or the
    // one its file selects).
    void Rebuild(const DeviceRecord &device);
    // Whether a control stands for a field of configuration word `word` (0 or 1).
    bool HasWord(int word) const;
    // The word with each of its fields set as the controls say.
    std::uint16_t Apply(int word, std::uint16_t value) const;
    // The controls from the word; a field whose bits name none of its values shows no value.
    void Show(int word, std::uint16_t value);

signals:
    // The user changed a control: the word the controls build may be another one now.
    void ControlsChanged();

private:
    struct Control
    {
        OwnField own;
        QComboBox *list = nullptr;
        QCheckBox *check = nullptr;
    };
    void Clear();
    void Add(const OwnField &own, const ConfigWordDef &word);

    QGroupBox *FieldsBox = nullptr;
    QFormLayout *m_form = nullptr;
    std::vector<Control> m_controls;
};
