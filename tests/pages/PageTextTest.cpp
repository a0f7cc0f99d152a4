#include "pages/PageText.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

// Lines are converted as they are asked for, into one buffer: a line read
// early still reads the same once every other line has been converted.
TEST(PageText, LinesConvertOnDemandAndStayPut)
{
    PageLines lines;
    for (int i = 0; i < 200; ++i)
        lines.push_back(" \t<td>" + std::string(static_cast<size_t>(i % 40), 'x') + "日本語</td>  ");
    lines.push_back("bad \xE4\xBB utf-8");
    const PageText page(lines);

    const std::string_view last = page.text(199);
    const std::string_view first = page.text(0);
    for (int k = 1; k < page.size(); ++k)
        page.text(k);
    EXPECT_EQ(first, Utf8ToShiftJis("<td>日本語</td>"));
    EXPECT_EQ(last, Utf8ToShiftJis("<td>" + std::string(39, 'x') + "日本語</td>"));
    EXPECT_EQ(page.text(0).data(), first.data()); // converted once
    EXPECT_EQ(page.trimmed(200), "bad \xE4\xBB utf-8");
    EXPECT_EQ(page.text(200), "");
    EXPECT_EQ(page.text(-1), "");
    EXPECT_EQ(page.text(201), "");
}
