#pragma once

// Reading the keys of one TOML table into a part definition: every key read is remembered with
// its position, a missing or ill-typed key becomes a problem, and the keys nobody read are
// reported as unknown. Only PartReader.cpp and TomlNodeReader.cpp see toml++.
#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include "CatalogueProblem.h"
#include "PartDefinition.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The state one part's reading shares: where problems go, and whether the part is broken.
struct PartReading
{
    PartSource *source = nullptr;
    std::vector<CatalogueProblem> *problems = nullptr;
    bool failed = false;

    void Fail(SourcePos at, CatalogueRule rule, const QString &detail);
};

SourcePos PosOf(const toml::source_region &region);

class TomlNodeReader
{
public:
    TomlNodeReader(const toml::table &table, QString path, PartReading &reading);

    const QString &Path() const { return m_path; }
    QString PathOf(const char *key) const;
    SourcePos Where() const { return PosOf(m_table.source()); }

    // Each getter marks the key as known and remembers where it stood. A required key that is
    // missing, or a key of the wrong type, fails the part and gives nothing.
    std::optional<int64_t> Integer(const char *key, bool required, int64_t max = 0xFFFF);
    std::optional<QString> String(const char *key, bool required);
    std::optional<bool> Boolean(const char *key);
    std::optional<int> Microseconds(const char *key); // a number of milliseconds
    const toml::table *Table(const char *key, bool required);
    const toml::array *Array(const char *key, bool required);
    const toml::node *Node(const char *key);

    // Reports every key of the table no getter asked for.
    void RejectUnknownKeys();

private:
    const toml::node *Take(const char *key, bool required);
    void WrongType(const char *key, const toml::node &node, const char *expected);

    const toml::table &m_table;
    QString m_path;
    PartReading &m_reading;
    std::set<std::string> m_known;
};
