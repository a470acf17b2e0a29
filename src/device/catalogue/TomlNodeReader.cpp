#include "TomlNodeReader.h"

#include <cmath>

void PartReading::Fail(SourcePos at, CatalogueRule rule, const QString &detail)
{
    failed = true;
    problems->push_back({source->file, at.line, at.column, rule, detail});
}

SourcePos PosOf(const toml::source_region &region)
{
    return {static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}

TomlNodeReader::TomlNodeReader(const toml::table &table, QString path, PartReading &reading)
    : m_table(table), m_path(std::move(path)), m_reading(reading)
{
    if (!m_path.isEmpty())
        m_reading.source->keys[m_path] = PosOf(table.source());
}

QString TomlNodeReader::PathOf(const char *key) const
{
    return m_path.isEmpty() ? QString::fromUtf8(key)
                            : m_path + QLatin1Char('.') + QLatin1String(key);
}

const toml::node *TomlNodeReader::Take(const char *key, bool required)
{
    m_known.insert(key);
    const toml::node *node = m_table.get(key);
    if (!node) {
        if (required) {
            m_reading.Fail(Where(), CatalogueRule::MissingKey, PathOf(key));
        }
        return nullptr;
    }
    m_reading.source->keys[PathOf(key)] = PosOf(node->source());
    return node;
}

void TomlNodeReader::WrongType(const char *key, const toml::node &node, const char *expected)
{
    m_reading.Fail(PosOf(node.source()), CatalogueRule::WrongType,
                   QStringLiteral("%1 must be %2").arg(PathOf(key), QLatin1String(expected)));
}

std::optional<int64_t> TomlNodeReader::Integer(const char *key, bool required, int64_t max)
{
    const toml::node *node = Take(key, required);
    if (!node)
        return std::nullopt;
    const std::optional<int64_t> value = node->value_exact<int64_t>();
    if (!value || *value < 0 || *value > max) {
        WrongType(key, *node, max == 0xFFFF ? "a number from 0 to 0xFFFF" : "a whole number");
        return std::nullopt;
    }
    return value;
}

std::optional<QString> TomlNodeReader::String(const char *key, bool required)
{
    const toml::node *node = Take(key, required);
    if (!node)
        return std::nullopt;
    const auto *text = node->as_string();
    if (!text) {
        WrongType(key, *node, "a string");
        return std::nullopt;
    }
    return QString::fromStdString(text->get());
}

std::optional<bool> TomlNodeReader::Boolean(const char *key)
{
    const toml::node *node = Take(key, false);
    if (!node)
        return std::nullopt;
    const auto *flag = node->as_boolean();
    if (!flag) {
        WrongType(key, *node, "true or false");
        return std::nullopt;
    }
    return flag->get();
}

std::optional<int> TomlNodeReader::Microseconds(const char *key)
{
    constexpr double kMaxMs = 10000.0; // no programming cycle takes ten seconds
    const toml::node *node = Take(key, false);
    if (!node)
        return std::nullopt;
    const std::optional<double> ms = node->value<double>();
    if (!ms || !std::isfinite(*ms) || *ms < 0 || *ms > kMaxMs) {
        WrongType(key, *node, "milliseconds from 0 to 10000");
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*ms * 1000.0));
}

const toml::table *TomlNodeReader::Table(const char *key, bool required)
{
    const toml::node *node = Take(key, required);
    if (!node)
        return nullptr;
    if (!node->is_table()) {
        WrongType(key, *node, "a table");
        return nullptr;
    }
    return node->as_table();
}

const toml::array *TomlNodeReader::Array(const char *key, bool required)
{
    const toml::node *node = Take(key, required);
    if (!node)
        return nullptr;
    if (!node->is_array()) {
        WrongType(key, *node, "an array");
        return nullptr;
    }
    return node->as_array();
}

const toml::node *TomlNodeReader::Node(const char *key)
{
    return Take(key, false);
}

void TomlNodeReader::RejectUnknownKeys()
{
    for (auto &&[key, node] : m_table) {
        if (!m_known.count(std::string(key.str()))) {
            m_reading.Fail(PosOf(key.source()), CatalogueRule::UnknownKey,
                           PathOf(std::string(key.str()).c_str()));
        }
    }
}
