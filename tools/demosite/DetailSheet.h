#pragma once
// Writes a detail page line by line and, alongside, the value that each row
// must give in the product's CSV.

#include "DemoPosting.h"

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

class DetailSheet {
public:
    // One line of markup.
    void line(std::string_view markup);
    // A table row whose value stands on the label's line:
    // <tr> / <th class="fb">label</th><td><div>cell</div></td></tr>.
    void row(std::string_view label, std::string_view cell);
    // row() for a value that the CSV carries as it stands.
    void plainRow(int slot, std::string_view label, std::string_view value);
    // A row of several items, one <div> a line, then lines that continue the
    // last item ("<br>" lines).
    void listRow(std::string_view label, const std::vector<std::string>& items, std::string_view continued = {});

    // What the CSV must show for slot: value in its CSV form.
    void expect(int slot, std::string_view value);
    // The same for a field that the product width-normalises and whose wave
    // dashes (U+301C, "?" in code page 932) it writes as "～".
    void expectNormalised(int slot, std::string_view pageText);
    // The same for a field whose "，" the product writes "、".
    void expectCommas(int slot, std::string_view pageText);

    const std::string& html() const { return m_html; }
    const DemoFields& fields() const { return m_fields; }

private:
    std::string m_html;
    DemoFields m_fields;
};

} // namespace kenmori
