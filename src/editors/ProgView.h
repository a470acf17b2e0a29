#pragma once

#include <QString>
#include <QWidget>

class MemoryImage;
class ProgramImageModel;
class QAction;
class QMenu;
class QTableView;

// The program memory viewer: all 8192 words of the image, read-only. The popup menu fills
// the whole image with one of the three blank patterns. Closing only hides the window.
class TProgViewForm : public QWidget
{
    Q_OBJECT
public:
    TProgViewForm(MemoryImage &image, const QString &blankWordText, QWidget *parent = nullptr);

    void Clear0000Click();
    void Set0FFFClick();
    void Set3FFFClick();
    // The selected device's highest program address; the words past it are greyed.
    void SetLastProgramAddress(int address);
    // While chip work reads or fills the image, the fills are refused.
    void SetEditable(bool editable);

    QTableView *PMemViewSG = nullptr;
    QMenu *ProgPopupMenu = nullptr;
    QAction *Clear0000 = nullptr;
    QAction *Set0FFF = nullptr;
    QAction *Set3FFF = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateGrid();
    void CreatePopupMenu();

    MemoryImage &m_image;
    ProgramImageModel *m_model = nullptr;
    bool m_placed = false;
    bool m_editable = true;
};
