#pragma once

#include <QGroupBox>
#include <QString>
#include <optional>

class PrivateProfile;
class QCheckBox;
class QLineEdit;

// The Options dialog's "Production log" group: whether the desktop program adds a row for each
// Write, Verify, Read and Blank Check, and where the log lives (the same place tolm-cli uses:
// a file, or a postgresql:// URI; empty for the default file). Kept in section [Production] of
// the settings file.
class ProductionLogBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit ProductionLogBox(QWidget *parent = nullptr);

    QCheckBox *ProductionLogCbx = nullptr;
    QLineEdit *ProductionLogEdit = nullptr;

    void Load(const PrivateProfile &settings);
    // Writes both keys in one replacement of the file; the reason when the place cannot be
    // used (a URI with a password in it) or the file cannot be written.
    std::optional<QString> Save(PrivateProfile &settings) const;
};
