#include "DemoText.h"

namespace kenmori {

static constexpr std::string_view kIdeographicSpace = "\u3000";

std::string FullWidth(std::string_view text)
{
    static constexpr std::string_view kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string result;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            result += kDigits[c - '0'];
        else if (c == '-')
            result += "－";
        else
            result += c;
    }
    return result;
}

std::string Narrow(std::string_view text)
{
    static constexpr std::string_view kWide[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string result = ReplaceAll(text, kIdeographicSpace, " ");
    result = ReplaceAll(result, "－", "-");
    result = ReplaceAll(result, "‐", "-");
    for (int digit = 0; digit < 10; ++digit)
        result = ReplaceAll(result, kWide[digit], std::string(1, static_cast<char>('0' + digit)));
    return result;
}

std::string CsvForm(std::string_view text)
{
    const std::string spaced = ReplaceAll(text, kIdeographicSpace, " ");
    std::string result;
    for (const char c : spaced) {
        if (c == ' ' && (result.empty() || result.back() == ' '))
            continue;
        result += c;
    }
    while (!result.empty() && static_cast<unsigned char>(result.back()) <= 0x20)
        result.pop_back();
    size_t start = 0;
    while (start < result.size() && static_cast<unsigned char>(result[start]) <= 0x20)
        ++start;
    return result.substr(start);
}

std::string GroupDigits(long long value)
{
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string grouped = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string result;
    size_t start = 0;
    for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start));
        result.append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::string Join(const std::vector<std::string>& texts, std::string_view separator)
{
    std::string result;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            result.append(separator);
        result.append(texts[i]);
    }
    return result;
}

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : ReplaceAll(text, kIdeographicSpace, " ")) {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

long long DigitsValue(std::string_view text)
{
    // Long enough for any code the site uses; longer texts are not numbers here.
    if (text.empty() || text.size() > 15)
        return -1;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace kenmori
