#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A settings file of its own in a temporary folder, with its bytes stored and read back raw.
class SettingsFileFixture : public testing::Test
{
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("VIRIVI.INI")); }

    void Store(const QByteArray &bytes) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Stored() const
    {
        QFile file(Path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir m_dir;
};
