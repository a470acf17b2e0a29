#pragma once

#include <toml++/toml.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolm::sim {

// Reads the values of a part file's tables and keeps the first problem, named by the file, line
// and column of the value (or of the table that lacks a key). Once a problem is found every
// further read gives nothing, so a caller can read on and look at Problem() once.
class PartFileReader
{
public:
    explicit PartFileReader(std::string file) : m_file(std::move(file)) {}

    std::optional<int64_t> Integer(const toml::table &table, std::string_view key, int64_t minimum,
                                   int64_t maximum);
    std::optional<int64_t> OptionalInteger(const toml::table &table, std::string_view key,
                                           int64_t minimum, int64_t maximum);
    std::optional<std::string> String(const toml::table &table, std::string_view key);
    std::optional<bool> OptionalBool(const toml::table &table, std::string_view key);
    // A time in milliseconds (decimals allowed), as whole microseconds.
    std::optional<int> OptionalMicros(const toml::table &table, std::string_view key);
    const toml::table *Table(const toml::table &table, std::string_view key, bool required);
    // An array of tables; empty when the key is absent.
    const toml::array *Tables(const toml::table &table, std::string_view key);

    void Fail(const toml::source_region &where, const std::string &text);
    bool Failed() const { return m_problem.has_value(); }
    const std::string &Problem() const { return *m_problem; }

private:
    const toml::node *Node(const toml::table &table, std::string_view key, bool required);

    std::string m_file;
    std::optional<std::string> m_problem;
};

} // namespace tolm::sim
