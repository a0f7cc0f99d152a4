#include "pages/PageLines.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

TEST(PageLines, LineBreakFormsNulByteAndFiles)
{
    EXPECT_EQ(SplitPageLines("a\r\nb\rc\nd"), (PageLines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitPageLines("a\n\r\n  b \r\r"), (PageLines{"a", "", "  b ", ""}));
    EXPECT_TRUE(SplitPageLines("").empty());
    EXPECT_EQ(SplitPageLines(std::string_view("a\nb\0c\nd", 7)), (PageLines{"a", "b"}));

    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("tmp.dat").toStdString();
    EXPECT_TRUE(LoadPageLines(path).empty());
    // Read in the readers' layout, whatever layout the file has.
    std::ofstream(path, std::ios::binary) << "<table>\r\n<tr><th>\r\n  x</th>\r\n<td>y</td></tr></table>";
    EXPECT_EQ(LoadPageLines(path),
              (PageLines{"<html>", "<body>", "<table>", "<tr>", "<th>x</th><td>y</td></tr>", "</table>", "</body>",
                         "</html>"}));
    EXPECT_TRUE(LoadPageLines(dir.path().toStdString()).empty()); // a folder, not a file
}
