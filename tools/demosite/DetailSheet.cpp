#include "DetailSheet.h"

#include "DemoText.h"

namespace kenmori {

void DetailSheet::line(std::string_view markup)
{
    m_html.append(markup);
    m_html += '\n';
}

void DetailSheet::row(std::string_view label, std::string_view cell)
{
    line("<tr>");
    line("<th class=\"fb\">" + std::string(label) + "</th><td><div>" + std::string(cell) + "</div></td></tr>");
}

void DetailSheet::plainRow(int slot, std::string_view label, std::string_view value)
{
    row(label, value);
    expect(slot, value);
}

void DetailSheet::listRow(std::string_view label, const std::vector<std::string>& items,
                          std::string_view continued)
{
    line("<tr>");
    std::string first = "<th class=\"fb\">" + std::string(label) + "</th><td>";
    if (!items.empty())
        first += "<div>" + items.front() + "</div>";
    line(first);
    for (size_t i = 1; i < items.size(); ++i)
        line("<div>" + items[i] + "</div>");
    if (!continued.empty())
        line("<br>" + std::string(continued));
    line("</td></tr>");
}

void DetailSheet::expect(int slot, std::string_view value)
{
    if (slot >= 0 && slot < kOutputFieldCount)
        m_fields[static_cast<size_t>(slot)] = CsvForm(value);
}

void DetailSheet::expectNormalised(int slot, std::string_view pageText)
{
    expect(slot, Narrow(ReplaceAll(pageText, "〜", "～")));
}

void DetailSheet::expectCommas(int slot, std::string_view pageText)
{
    expect(slot, ReplaceAll(pageText, "，", "、"));
}

} // namespace kenmori
