// The part files Tolm ships, as the programs load them, and a user's folder on top of them.
#include "device/catalogue/Catalogue.h"
#include "device/catalogue/PartWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ProblemsText(const Catalogue &catalogue)
{
    QString text;
    for (const CatalogueProblem &p : catalogue.problems)
        text += p.Text() + QLatin1Char('\n');
    return text;
}

void WriteFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ShippedText(const QString &name)
{
    QFile file(ShippedPartsFolder() + QLatin1Char('/') + name + QStringLiteral(".toml"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    return file.readAll();
}

TEST(ShippedParts, EveryFileLoadsClean)
{
    const Catalogue catalogue = LoadCatalogue(ShippedPartsFolder(), QString());
    EXPECT_TRUE(catalogue.problems.empty()) << qPrintable(ProblemsText(catalogue));
    EXPECT_EQ(catalogue.parts.size(), 53u);
    // Each erase and write of these two must be ended by a command the module cannot send.
    EXPECT_EQ(catalogue.Find(QStringLiteral("16f87")), nullptr);
    EXPECT_EQ(catalogue.Find(QStringLiteral("16f88")), nullptr);
    for (const PartDefinition &part : catalogue.parts)
        EXPECT_EQ(part.source.file,
                  ShippedPartsFolder() + QLatin1Char('/') + part.name + QStringLiteral(".toml"));
}

// What `devices --check` says of every shipped file: nothing. A user who copies one as the
// start of a part of their own begins from a clean file.
TEST(ShippedParts, EveryShippedFilePassesTheCheck)
{
    QStringList paths;
    for (const PartDefinition &part : LoadCatalogue(ShippedPartsFolder(), QString()).parts)
        paths << part.source.file;
    ASSERT_EQ(paths.size(), 53);
    for (const CatalogueProblem &problem : CheckPartFiles(paths))
        ADD_FAILURE() << problem.Text().toStdString();
}

TEST(ShippedParts, AUserFileOverridesAndABrokenOneLeavesTheShippedPart)
{
    QTemporaryDir user;
    ASSERT_TRUE(user.isValid());
    WriteFile(user.filePath(QStringLiteral("16f84a.toml")),
              ShippedText(QStringLiteral("16f84a"))
                  .replace("confirmed_on_hardware = false", "confirmed_on_hardware = true"));
    WriteFile(user.filePath(QStringLiteral("16f877a.toml")),
              ShippedText(QStringLiteral("16f877a")).replace("write_latch_words = 8", ""));
    const Catalogue catalogue = LoadCatalogue(ShippedPartsFolder(), user.path());
    EXPECT_EQ(catalogue.parts.size(), 53u);
    const PartDefinition *overridden = catalogue.Find(QStringLiteral("16f84a"));
    ASSERT_NE(overridden, nullptr);
    EXPECT_TRUE(overridden->overridesShipped);
    EXPECT_TRUE(overridden->confirmedOnHardware);
    const PartDefinition *kept = catalogue.Find(QStringLiteral("16f877a"));
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->overridesShipped);
    ASSERT_EQ(catalogue.problems.size(), 1u);
    EXPECT_EQ(catalogue.problems[0].rule, CatalogueRule::SizeOutsideAlgorithm);
}

TEST(ShippedParts, CheckingFilesReportsOnlyThoseFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString clean = dir.filePath(QStringLiteral("my16f84a.toml"));
    WriteFile(clean, ShippedText(QStringLiteral("16f84a")));
    EXPECT_TRUE(CheckPartFiles({clean}).empty());
    // Another name with the 16f877a's device ID: a chip could be either part.
    const QString clash = dir.filePath(QStringLiteral("clash.toml"));
    WriteFile(clash, ShippedText(QStringLiteral("16f877a")).replace("\"16f877a\"", "\"mine\""));
    const QString missing = dir.filePath(QStringLiteral("missing.toml"));
    const std::vector<CatalogueProblem> problems = CheckPartFiles({clash, missing});
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].rule, CatalogueRule::Unreadable);
    EXPECT_EQ(problems[0].file, missing);
    EXPECT_EQ(problems[1].rule, CatalogueRule::DuplicateDeviceId);
    EXPECT_EQ(problems[1].file, clash);
}

TEST(ShippedParts, WrittenBackReadTheSame)
{
    for (const PartDefinition &shipped : LoadCatalogue(ShippedPartsFolder(), QString()).parts) {
        const QString text = PartDefinitionText(shipped);
        const Catalogue again = ReadPartSet({{QStringLiteral("shown.toml"), text.toUtf8()}}, true);
        ASSERT_EQ(again.parts.size(), 1u) << qPrintable(text + ProblemsText(again));
        PartDefinition original = shipped;
        PartDefinition copy = again.parts[0];
        original.source = copy.source = PartSource{};
        EXPECT_TRUE(copy == original) << qPrintable(text);
    }
}

} // namespace
