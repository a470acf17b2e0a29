#include "TomlPrescan.h"

namespace {

enum class Context { Bare, Comment, Basic, Literal, MultiLineBasic, MultiLineLiteral };

bool StartsWith(const QByteArray &text, qsizetype at, const char *what)
{
    return text.mid(at, qsizetype(qstrlen(what))) == what;
}

// A multi-line string ends at the last three quotes of a run of three to five: up to two quotes
// just before the delimiter belong to the string.
qsizetype EndOfDelimiterRun(const QByteArray &text, qsizetype at, char quote)
{
    qsizetype end = at + 3;
    while (end < text.size() && end < at + 5 && text[end] == quote)
        ++end;
    return end;
}

} // namespace

std::optional<SourcePos> FirstNonAsciiOutsideStrings(const QByteArray &text)
{
    Context context = Context::Bare;
    SourcePos pos{1, 1};
    for (qsizetype i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        qsizetype next = i + 1;
        switch (context) {
        case Context::Bare:
            if (byte >= 0x80)
                return pos;
            if (byte == '#')
                context = Context::Comment;
            else if (StartsWith(text, i, "\"\"\""))
                context = Context::MultiLineBasic, next = i + 3;
            else if (StartsWith(text, i, "'''"))
                context = Context::MultiLineLiteral, next = i + 3;
            else if (byte == '"')
                context = Context::Basic;
            else if (byte == '\'')
                context = Context::Literal;
            break;
        case Context::Comment:
            context = byte == '\n' ? Context::Bare : context;
            break;
        case Context::Basic:
        case Context::Literal:
            // A line end ends an unterminated string too; toml++ reports that one itself.
            if (byte == '\n' || byte == (context == Context::Basic ? '"' : '\''))
                context = Context::Bare;
            else if (context == Context::Basic && byte == '\\' && i + 1 < text.size() &&
                     text[i + 1] != '\n')
                next = i + 2;
            break;
        case Context::MultiLineBasic:
            if (StartsWith(text, i, "\"\"\""))
                context = Context::Bare, next = EndOfDelimiterRun(text, i, '"');
            else if (byte == '\\')
                next = i + 2;
            break;
        case Context::MultiLineLiteral:
            if (StartsWith(text, i, "'''"))
                context = Context::Bare, next = EndOfDelimiterRun(text, i, '\'');
            break;
        }
        // Columns count characters: UTF-8 continuation bytes are part of the one before.
        for (qsizetype k = i; k < next && k < text.size(); ++k) {
            const auto b = static_cast<unsigned char>(text[k]);
            if (b == '\n')
                pos = {pos.line + 1, 1};
            else if ((b & 0xC0) != 0x80)
                ++pos.column;
        }
        i = next;
    }
    return std::nullopt;
}
