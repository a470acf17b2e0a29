#pragma once

#include "device/MemoryImage.h"

#include <QString>
#include <QUndoCommand>
#include <array>

// The data editor's changes as steps the user can take back: a byte typed into a cell (the
// keystrokes of one cell make one step) and a fill of all 256 bytes. `applying` is raised
// while a step changes the image, so the editor can tell its own changes from those of a file
// load or a chip read, after which the steps no longer apply.
class DataCellStep : public QUndoCommand
{
public:
    DataCellStep(MemoryImage &image, bool &applying, int address, const QString &before,
                 const QString &after);
    void redo() override;
    void undo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    void Store(const QString &text);

    MemoryImage &m_image;
    bool &m_applying;
    int m_address;
    QString m_before;
    QString m_after;
};

class DataFillStep : public QUndoCommand
{
public:
    DataFillStep(MemoryImage &image, bool &applying, const QString &text);
    void redo() override;
    void undo() override;

private:
    MemoryImage &m_image;
    bool &m_applying;
    QString m_text;
    std::array<QString, MemoryImage::kDataBytes> m_before;
};
