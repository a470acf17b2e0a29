#pragma once

#include <QAbstractTableModel>
#include <functional>

class MemoryImage;

// The 256 data EEPROM bytes of the image as a 16 x 16 table: row r, column c is address
// 16 r + c. Headers read " 0".." F" across and "00".."F0" down. Edits go straight into the
// image through SetDataByteText, so the image always holds what the user sees.
class DataImageModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataImageModel(MemoryImage &image, QObject *parent = nullptr);

    static int AddressOf(const QModelIndex &index) { return index.row() * 16 + index.column(); }
    QModelIndex IndexOf(int address) const { return index(address / 16, address % 16); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Cells refuse edits while not editable (chip work reads the image).
    void SetEditable(bool editable);
    // How an edit reaches the image (the editor makes each one a step that can be undone);
    // by default it is stored as it is.
    void SetStore(std::function<void(int address, const QString &text)> store);

private:
    void CellChanged(int address);
    void ImageFilled();

    MemoryImage &m_image;
    bool m_editable = true;
    std::function<void(int, const QString &)> m_store;
};
