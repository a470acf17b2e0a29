#pragma once

#include "engine/TargetSequence.h"
#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"

#include <QObject>
#include <QString>

class Messages;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
struct DeviceRecord;

// The user's request beside the device: which targets, by which method, over which address
// ranges. Chip work and file exchange read these at the moment they run, never a copy.
class ChipRequest : public QObject
{
    Q_OBJECT
public:
    explicit ChipRequest(Messages &messages, QObject *parent = nullptr);

    // For the Programming and Addresses pages.
    QWidget *TargetsGroup() const;
    QWidget *MethodGroup() const;
    QWidget *ProgramRangeGroup() const;
    QWidget *DataRangeGroup() const;

    HexTargets CheckedTargets() const;
    bool Ticked(ChipTarget target) const;
    // False when a target is ticked; otherwise warns "No target selected" and gives true.
    bool NoTargetSelected();
    // Every target the device offers (a file given at start loads whole).
    void TickOfferedTargets();

    bool ParallelSelected() const;
    void SetParallelSelected(bool parallel);
    // The four address fields exactly as shown, unfilled positions included.
    HexAddressTexts AddressTexts() const;

    // The method buttons, the ranges and the data memory controls for the device.
    void AdaptToDevice(const DeviceRecord &device);

public slots:
    void MaxProgBtnClick();
    void MaxDataBtnClick();

private:
    void BuildTargets();
    void BuildRanges();
    void SetMethodButtons(const DeviceRecord &device);

    Messages &m_messages;
    QString m_progMaxText = QStringLiteral("0000");
    QString m_dataMaxText = QStringLiteral("00");

    QGroupBox *TargetsBox = nullptr;
    QCheckBox *ProgMemCbx = nullptr;
    QCheckBox *DataMemCbx = nullptr;
    QCheckBox *ConfigCbx = nullptr;
    QCheckBox *IDCodeCbx = nullptr;
    QGroupBox *MethodBox = nullptr;
    QRadioButton *ParallelRBtn = nullptr;
    QRadioButton *SerialRBtn = nullptr;
    QGroupBox *ProgMemBox = nullptr;
    QLineEdit *ProgStartEdit = nullptr;
    QLineEdit *ProgEndEdit = nullptr;
    QPushButton *MaxProgBtn = nullptr;
    QGroupBox *DataMemBox = nullptr;
    QLineEdit *DataStartEdit = nullptr;
    QLineEdit *DataEndEdit = nullptr;
    QPushButton *MaxDataBtn = nullptr;
};
