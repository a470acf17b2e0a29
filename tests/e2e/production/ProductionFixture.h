#pragma once

#include "ChipBenchFixture.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "production/LogQuery.h"

// Several simulated modules, each with its own chip, and tolm-cli's production log in the
// test's own data folder.
class ProductionCli : public ChipBenchCli
{
protected:
    // A small firmware: `words` program words from 0000 and a configuration word.
    QString Firmware(const QString &name, int words)
    {
        MemoryImage image;
        MakeBlankImage(image, m_device, 0x3FF1);
        PutProgram(image, m_device, words, 0x2800, 37);
        return Save(name, image);
    }

    // Where tolm-cli keeps its log and serial file by default for these tests.
    QString DefaultLog() const { return Path("config/data/tolm/production.sqlite"); }
    QString DefaultSerialFile() const { return Path("config/data/tolm/next-serial"); }

    std::vector<ProductionRow> LogRows(const QString &path)
    {
        const LogReadResult read = ReadProductionLog(path, {});
        EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        return read.rows;
    }
};
