#include "DemoLayout.h"

#include <algorithm>
#include <vector>

namespace kenmori {

namespace {

struct Token {
    enum Kind { kText, kStartTag, kEndTag, kOther } kind;
    std::string text; // the whole tag, or the text
    std::string name; // lower-case element name of a tag
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsVoid(std::string_view name)
{
    return name == "br" || name == "input" || name == "img" || name == "meta" || name == "link" || name == "hr";
}

// Tags, comments and text in page order. A ">" inside a quoted attribute
// value does not end its tag.
std::vector<Token> Tokenize(std::string_view html)
{
    std::vector<Token> tokens;
    size_t at = 0;
    while (at < html.size()) {
        if (html[at] != '<') {
            const size_t next = std::min(html.find('<', at), html.size());
            tokens.push_back({Token::kText, std::string(html.substr(at, next - at)), {}});
            at = next;
            continue;
        }
        if (html.substr(at, 4) == "<!--") {
            const size_t end = std::min(html.find("-->", at), html.size() - 3) + 3;
            tokens.push_back({Token::kOther, std::string(html.substr(at, end - at)), {}});
            at = end;
            continue;
        }
        size_t end = at + 1;
        char quote = 0;
        while (end < html.size() && (quote || html[end] != '>')) {
            if (quote && html[end] == quote)
                quote = 0;
            else if (!quote && (html[end] == '"' || html[end] == '\''))
                quote = html[end];
            ++end;
        }
        end = std::min(end + 1, html.size());
        Token token{Token::kStartTag, std::string(html.substr(at, end - at)), {}};
        size_t nameStart = at + 1;
        if (nameStart < end && html[nameStart] == '/') {
            token.kind = Token::kEndTag;
            ++nameStart;
        } else if (nameStart < end && html[nameStart] == '!') {
            token.kind = Token::kOther;
        }
        size_t nameEnd = nameStart;
        while (nameEnd < end && !IsSpace(html[nameEnd]) && html[nameEnd] != '>' && html[nameEnd] != '/')
            ++nameEnd;
        token.name = std::string(html.substr(nameStart, nameEnd - nameStart));
        std::transform(token.name.begin(), token.name.end(), token.name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        tokens.push_back(std::move(token));
        at = end;
    }
    return tokens;
}

// The attributes of a start tag, split at the blanks outside quotes.
std::vector<std::string> TagParts(std::string_view tag)
{
    std::vector<std::string> parts;
    std::string part;
    char quote = 0;
    for (const char c : tag.substr(1, tag.size() - 2)) {
        if (!quote && IsSpace(c)) {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
            continue;
        }
        if (quote && c == quote)
            quote = 0;
        else if (!quote && (c == '"' || c == '\''))
            quote = c;
        part += c;
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

class SpreadWriter {
public:
    void line(int depth, std::string_view text)
    {
        m_out.append(static_cast<size_t>(std::max(depth, 0)) * 4, ' ');
        m_out += text;
        m_out += '\n';
    }
    void blankLine() { m_out += '\n'; }

    // A long start tag wraps its attributes after the first two.
    void startTag(int depth, const std::string& tag, std::string_view rest = {})
    {
        if (tag.size() <= 72) {
            line(depth, tag + std::string(rest));
            return;
        }
        const std::vector<std::string> parts = TagParts(tag);
        std::string first = "<" + parts[0];
        for (size_t i = 1; i < std::min<size_t>(parts.size(), 3); ++i)
            first += " " + parts[i];
        line(depth, first);
        std::string second;
        for (size_t i = 3; i < parts.size(); ++i)
            second += (second.empty() ? "" : " ") + parts[i];
        line(depth + 1, second + ">" + std::string(rest));
    }

    // Text inside an element that holds elements: on lines of its own.
    void text(int depth, std::string_view text)
    {
        text = Trimmed(text);
        while (!text.empty()) {
            const size_t breakAt = text.find('\n');
            line(depth, Trimmed(text.substr(0, breakAt)));
            if (breakAt == std::string_view::npos)
                break;
            text = Trimmed(text.substr(breakAt + 1));
        }
    }

    std::string finish() { return std::move(m_out); }

private:
    std::string m_out;
};

} // namespace

std::optional<DemoLayout> DemoLayoutFromName(std::string_view name)
{
    if (name == "today")
        return DemoLayout::Today;
    if (name == "spread")
        return DemoLayout::Spread;
    return std::nullopt;
}

std::string SpreadLayout(std::string_view html)
{
    const std::vector<Token> tokens = Tokenize(html);
    SpreadWriter out;
    int depth = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        switch (token.kind) {
        case Token::kText: out.text(depth, token.text); break;
        case Token::kOther: out.line(depth, token.text); break;
        case Token::kEndTag:
            depth = std::max(depth - 1, 0);
            out.line(depth, token.text);
            break;
        case Token::kStartTag:
            if (token.name == "tr")
                out.blankLine();
            if (token.name == "br") {
                // <br> and the text after it share a line.
                const bool textFollows = i + 1 < tokens.size() && tokens[i + 1].kind == Token::kText;
                out.line(depth, token.text + std::string(textFollows ? Trimmed(tokens[++i].text) : ""));
            } else if (IsVoid(token.name) || token.text.ends_with("/>")) {
                out.startTag(depth, token.text);
            } else if (i + 2 < tokens.size() && tokens[i + 1].kind == Token::kText
                       && tokens[i + 2].kind == Token::kEndTag && tokens[i + 2].name == token.name) {
                // Holding only text: the element stays on one line.
                out.startTag(depth, token.text, std::string(Trimmed(tokens[i + 1].text)) + tokens[i + 2].text);
                i += 2;
            } else if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::kEndTag
                       && tokens[i + 1].name == token.name) {
                out.startTag(depth, token.text, tokens[++i].text);
            } else {
                out.startTag(depth, token.text);
                ++depth;
            }
            break;
        }
    }
    return out.finish();
}

} // namespace kenmori
