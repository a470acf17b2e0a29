#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The ID Code dialog: four hexadecimal digits, typed over in place. The main window puts the
// image's ID code in before showing it and takes the field's text back on OK.
class TIDCodeDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TIDCodeDlg(QWidget *parent = nullptr);

    QLabel *IDCodeLbl = nullptr;
    QLineEdit *IDMaskEdit = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    // OK with a position left blank keeps the dialog open on the field, as the field refuses
    // to be left half filled: a blank would make the ID code unwritable.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
};
