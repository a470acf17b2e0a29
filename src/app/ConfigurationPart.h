#pragma once

#include "device/ConfigControls.h"

#include <QObject>
#include <QString>
#include <cstdint>

class MemoryImage;
class OwnFieldControls;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QWidget;
struct DeviceRecord;

// The configuration word as the user sets it: the oscillator list, the protection choices,
// the option boxes of the System page, the direct-access field with its "Built from controls"
// button, and the calibration field. It carries the image's ConfigWord to the controls and
// back, in the layout of the selected device.
class ConfigurationPart : public QObject
{
    Q_OBJECT
public:
    // The device is the window's current one, read whenever the word is built or shown.
    ConfigurationPart(MemoryImage &image, const DeviceRecord &device, QObject *parent = nullptr);

    // For the Configuration and System pages.
    QWidget *OscillatorGroup() const;
    QWidget *ProtectionGroupBox() const;
    QWidget *SystemGroup() const;
    QWidget *DirectField() const;
    QWidget *BuiltFromControlsButton() const;
    QWidget *CalibrationField() const;
    // The part's own fields (lists and check boxes built from its file); hidden when it has none.
    QWidget *OwnFieldsGroup() const;

    ConfigControls ReadConfigControls() const;
    void WriteConfigControls(const ConfigControls &controls);
    // The image's ConfigWord to the controls.
    void ConfigToControls();
    // The controls to the image's ConfigWord, which is returned (and to the second
    // configuration word, on a part that has one).
    std::uint16_t ControlsToConfig();
    // The second configuration word as the controls build it (16F88X: 2008).
    std::uint16_t SecondWordFromControls() const;
    // The word the controls build, the image left as it is (for the checksum).
    std::uint16_t WordFromControls() const;

    // The direct-access field: its text as shown (a blank position stays "_"), and a value
    // shown there as four upper-case digits.
    QString DirectText() const;
    void ShowDirectText(const QString &text);
    void ShowDirectValue(std::uint16_t word);
    // The calibration field, as shown.
    QString CalibrationText() const;
    void ShowCalibrationText(const QString &text);

    // The oscillator list, the protection choices and the option boxes the device offers
    // (a box that stays offered keeps its tick; one that goes is cleared).
    void AdaptToDevice();

public slots:
    void RefreshBtnClick();

signals:
    // An option control changed: the word the controls build may be another one now.
    void ControlsChanged();

private:
    void BuildOscillatorAndProtection();
    void BuildSystemBoxes();
    void BuildFields();
    void SetOscillatorList();

    MemoryImage &m_image;
    const DeviceRecord &m_device;
    OwnFieldControls *m_ownFields = nullptr;

    QGroupBox *OscillatorBox = nullptr;
    QComboBox *OscBox = nullptr;
    QGroupBox *ProtectionBox = nullptr;
    QButtonGroup *ProtectionGroup = nullptr;
    QRadioButton *ProtNoneBtn = nullptr;
    QRadioButton *ProtUp12Btn = nullptr;
    QRadioButton *ProtUp34Btn = nullptr;
    QRadioButton *ProtAllBtn = nullptr;
    QGroupBox *SystemBx = nullptr;
    QCheckBox *WdtCbx = nullptr;
    QCheckBox *PutCbx = nullptr;
    QCheckBox *LvpCbx = nullptr;
    QCheckBox *BOutCbx = nullptr;
    QCheckBox *MClrCbx = nullptr;
    QCheckBox *DebugCbx = nullptr;
    QCheckBox *CpdCbx = nullptr;
    QCheckBox *WrtCbx = nullptr;
    QCheckBox *MpeenCbx = nullptr;
    QLineEdit *ConfigEdit = nullptr;
    QToolButton *RefreshBtn = nullptr;
    QLineEdit *CalEdit = nullptr;
};
