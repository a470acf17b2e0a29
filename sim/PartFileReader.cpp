#include "PartFileReader.h"

#include <cmath>

namespace tolm::sim {

void PartFileReader::Fail(const toml::source_region &where, const std::string &text)
{
    if (!m_problem) {
        m_problem = m_file + ':' + std::to_string(where.begin.line) + ':' +
                    std::to_string(where.begin.column) + ": " + text;
    }
}

const toml::node *PartFileReader::Node(const toml::table &table, std::string_view key,
                                       bool required)
{
    if (Failed()) {
        return nullptr;
    }
    const toml::node *node = table.get(key);
    if (node == nullptr && required) {
        Fail(table.source(), "the key \"" + std::string(key) + "\" is missing");
    }
    return node;
}

std::optional<int64_t> PartFileReader::OptionalInteger(const toml::table &table,
                                                       std::string_view key, int64_t minimum,
                                                       int64_t maximum)
{
    const toml::node *node = Node(table, key, false);
    if (node == nullptr) {
        return std::nullopt;
    }
    const std::optional<int64_t> value = node->value_exact<int64_t>();
    if (!value) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be a whole number");
    } else if (*value < minimum || *value > maximum) {
        Fail(node->source(), "\"" + std::string(key) + "\" must lie between " +
                                 std::to_string(minimum) + " and " + std::to_string(maximum));
    } else {
        return value;
    }
    return std::nullopt;
}

std::optional<int64_t> PartFileReader::Integer(const toml::table &table, std::string_view key,
                                               int64_t minimum, int64_t maximum)
{
    return Node(table, key, true) ? OptionalInteger(table, key, minimum, maximum) : std::nullopt;
}

std::optional<std::string> PartFileReader::String(const toml::table &table, std::string_view key)
{
    const toml::node *node = Node(table, key, true);
    if (node == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> value = node->value_exact<std::string>();
    if (!value) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be a text in quotes");
    }
    return value;
}

std::optional<bool> PartFileReader::OptionalBool(const toml::table &table, std::string_view key)
{
    const toml::node *node = Node(table, key, false);
    if (node == nullptr) {
        return std::nullopt;
    }
    const std::optional<bool> value = node->value_exact<bool>();
    if (!value) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be true or false");
    }
    return value;
}

std::optional<int> PartFileReader::OptionalMicros(const toml::table &table, std::string_view key)
{
    const toml::node *node = Node(table, key, false);
    if (node == nullptr) {
        return std::nullopt;
    }
    constexpr double kLongestMs = 1000.0;
    const std::optional<double> ms = node->value<double>(); // integers convert too
    if (!ms || !(*ms > 0.0 && *ms <= kLongestMs)) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be milliseconds above 0, at most " +
                                 std::to_string(static_cast<int>(kLongestMs)));
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*ms * 1000.0));
}

const toml::table *PartFileReader::Table(const toml::table &table, std::string_view key,
                                         bool required)
{
    const toml::node *node = Node(table, key, required);
    if (node == nullptr) {
        return nullptr;
    }
    const toml::table *value = node->as_table();
    if (value == nullptr) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be a table");
    }
    return value;
}

const toml::array *PartFileReader::Tables(const toml::table &table, std::string_view key)
{
    const toml::node *node = Node(table, key, false);
    if (node == nullptr) {
        return nullptr;
    }
    const toml::array *value = node->as_array();
    if (value == nullptr || !value->is_array_of_tables()) {
        Fail(node->source(), "\"" + std::string(key) + "\" must be a list of tables ([[" +
                                 std::string(key) + "]])");
        return nullptr;
    }
    return value;
}

} // namespace tolm::sim
