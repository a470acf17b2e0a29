#pragma once

#include <QAbstractTableModel>

class MemoryImage;

// The 8192 program words of the image as 512 rows of 16, read-only. Headers read "  0".."  F"
// across and "0000".."1FF0" down. A changed word repaints one cell, a fill repaints the
// table once, so a chip read of thousands of words stays cheap while the viewer is open.
class ProgramImageModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kRows = 512;
    static constexpr int kColumns = 16;

    explicit ProgramImageModel(const MemoryImage &image, QObject *parent = nullptr);

    static int AddressOf(const QModelIndex &index) { return index.row() * 16 + index.column(); }
    QModelIndex IndexOf(int address) const { return index(address / 16, address % 16); }

    // Words past the selected device's highest program address are shown greyed: they are
    // in the image (and in a hex file) but the chip has no such locations.
    void SetLastProgramAddress(int address);
    int LastProgramAddress() const { return m_lastProgramAddress; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void CellChanged(int address);
    void ImageFilled();

    const MemoryImage &m_image;
    int m_lastProgramAddress = kRows * kColumns - 1;
};
