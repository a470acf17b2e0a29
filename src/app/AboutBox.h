#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the product line and its version, who made it, the licence, the Qt it runs
// with and where the user guide is.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    void SetProductName(const QString &text);
    void SetVersionName(const QString &text);

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *AuthorLabel = nullptr;
    QLabel *MakerLabel = nullptr;
    QLabel *Comments = nullptr;
    QLabel *EMailLabel = nullptr;
    QLabel *WebLabel = nullptr;
    QPushButton *OKButton = nullptr;

private:
    void FormCreate();
    void LayOutControls();
};
