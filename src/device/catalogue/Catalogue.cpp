#include "Catalogue.h"

#include "PartChecks.h"
#include "PartReader.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <map>

namespace {

void Append(std::vector<CatalogueProblem> &to, const std::vector<CatalogueProblem> &from)
{
    to.insert(to.end(), from.begin(), from.end());
}

CatalogueProblem ProblemAt(const PartDefinition &part, const QString &path, CatalogueRule rule,
                           const QString &detail)
{
    const SourcePos at = part.source.Where(path);
    return {part.source.file, at.line, at.column, rule, detail};
}

// Two parts clash when one device ID word could name both: their IDs agree on every bit outside
// both revision masks.
bool IdsClash(const PartDefinition &a, const PartDefinition &b)
{
    if (!a.deviceId || !b.deviceId)
        return false;
    const uint16_t partBits = static_cast<uint16_t>(~(a.revisionMask | b.revisionMask));
    return ((*a.deviceId ^ *b.deviceId) & partBits) == 0;
}

// Parts with a selector_order first, lowest first; then the others by name.
bool SelectorBefore(const PartDefinition &a, const PartDefinition &b)
{
    if (a.selectorOrder.has_value() != b.selectorOrder.has_value())
        return a.selectorOrder.has_value();
    if (a.selectorOrder && *a.selectorOrder != *b.selectorOrder)
        return *a.selectorOrder < *b.selectorOrder;
    return a.name < b.name;
}

} // namespace

const PartDefinition *Catalogue::Find(const QString &name) const
{
    for (const PartDefinition &part : parts) {
        if (part.name == name)
            return &part;
    }
    return nullptr;
}

QStringList Catalogue::Names() const
{
    QStringList names;
    for (const PartDefinition &part : parts)
        names << part.name;
    return names;
}

Catalogue ReadPartSet(const std::vector<PartFileText> &files, bool userFiles)
{
    Catalogue set;
    std::map<QString, QString> fileOfName;
    for (const PartFileText &file : files) {
        PartFileRead read = ReadPartFile(file.file, file.text, userFiles);
        Append(set.problems, read.problems);
        for (PartDefinition &part : read.parts) {
            const std::vector<CatalogueProblem> problems = CheckPart(part);
            Append(set.problems, problems);
            if (!problems.empty())
                continue;
            const auto [it, fresh] = fileOfName.emplace(part.name, part.source.file);
            if (!fresh) {
                set.problems.push_back(
                    ProblemAt(part, QStringLiteral("name"), CatalogueRule::DuplicateName,
                              part.name + QStringLiteral(" also in ") + it->second));
                continue;
            }
            set.parts.push_back(std::move(part));
        }
    }
    return set;
}

Catalogue CombinePartSets(Catalogue shipped, Catalogue user)
{
    Catalogue all;
    all.problems = std::move(shipped.problems);
    Append(all.problems, user.problems);
    for (PartDefinition &part : shipped.parts) {
        const auto replaced =
            std::find_if(user.parts.begin(), user.parts.end(),
                         [&](const PartDefinition &u) { return u.name == part.name; });
        if (replaced == user.parts.end())
            all.parts.push_back(std::move(part));
        else
            replaced->overridesShipped = true;
    }
    // The user's parts come after the shipped ones, so a clash of device IDs leaves the user's
    // part out and keeps what Tolm ships.
    for (PartDefinition &part : user.parts) {
        const auto clash = std::find_if(all.parts.begin(), all.parts.end(),
                                        [&](const PartDefinition &p) { return IdsClash(p, part); });
        if (clash != all.parts.end()) {
            all.problems.push_back(ProblemAt(
                part, QStringLiteral("device_id"), CatalogueRule::DuplicateDeviceId,
                QStringLiteral("%1 and %2 (%3)").arg(part.name, clash->name, clash->source.file)));
            continue;
        }
        all.parts.push_back(std::move(part));
    }
    std::stable_sort(all.parts.begin(), all.parts.end(), SelectorBefore);
    return all;
}

std::vector<PartFileText> PartFilesIn(const QString &folder,
                                      std::vector<CatalogueProblem> &problems)
{
    std::vector<PartFileText> files;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return files;
    const QStringList names = dir.entryList(
        {QStringLiteral("*.toml")}, QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems.push_back({path, 0, 0, CatalogueRule::Unreadable, file.errorString()});
            continue;
        }
        files.push_back({path, file.readAll()});
    }
    return files;
}

QString ShippedPartsFolder()
{
    return QStringLiteral(":/devices");
}

QString UserPartsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tolm/devices");
}

Catalogue LoadCatalogue(const QString &shippedFolder, const QString &userFolder)
{
    std::vector<CatalogueProblem> unreadable;
    const auto shippedFiles = PartFilesIn(shippedFolder, unreadable);
    const auto userFiles = PartFilesIn(userFolder, unreadable);
    Catalogue all = CombinePartSets(ReadPartSet(shippedFiles, false), ReadPartSet(userFiles, true));
    Append(all.problems, unreadable);
    return all;
}

std::vector<CatalogueProblem> CheckPartFiles(const QStringList &paths, const QString &shippedFolder)
{
    std::vector<CatalogueProblem> problems;
    std::vector<PartFileText> files;
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems.push_back({path, 0, 0, CatalogueRule::Unreadable, file.errorString()});
            continue;
        }
        files.push_back({path, file.readAll()});
    }
    std::vector<CatalogueProblem> ignored;
    const Catalogue all = CombinePartSets(ReadPartSet(PartFilesIn(shippedFolder, ignored), false),
                                          ReadPartSet(files, true));
    for (const CatalogueProblem &problem : all.problems) {
        if (paths.contains(problem.file))
            problems.push_back(problem);
    }
    return problems;
}
