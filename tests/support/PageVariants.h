#pragma once
// The same page laid out or marked up otherwise, as the site might send it:
// what the readers take from a page must not change with any of these.

#include "text/TextUtils.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

#include <regex>
#include <string>

namespace kenmori {

// libxml2's own formatted output of the page. References are kept as written
// (the formatter would otherwise write "&#x2b;" as "+"), so that only the
// layout differs.
inline std::string Libxml2Formatted(const std::string& html)
{
    const std::string escaped = ReplaceAllText(html, "&", "&amp;");
    htmlDocPtr document = htmlReadMemory(escaped.data(), static_cast<int>(escaped.size()), nullptr, "UTF-8",
                                         HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                                             | HTML_PARSE_NONET);
    xmlOutputBufferPtr buffer = xmlAllocOutputBuffer(nullptr);
    htmlDocContentDumpFormatOutput(buffer, document, "UTF-8", 1);
    const std::string formatted(reinterpret_cast<const char*>(xmlOutputBufferGetContent(buffer)),
                                xmlOutputBufferGetSize(buffer));
    xmlOutputBufferClose(buffer);
    xmlFreeDoc(document);
    return ReplaceAllText(formatted, "&amp;", "&");
}

// The whole page on one line.
inline std::string OnOneLine(const std::string& html)
{
    static const std::regex kLineBreak("[ \t]*\r?\n[ \t]*");
    return std::regex_replace(html, kLineBreak, " ");
}

// Every caption's class attribute ("label" or "fs08 m05") replaced by
// classAttribute: " class=\"...\"", or "" for a plain element.
inline std::string WithCaptionClass(const std::string& html, const std::string& classAttribute)
{
    static const std::regex kCaptionClass(" class=\"(label|fs08 m05)\"");
    return std::regex_replace(html, kCaptionClass, classAttribute);
}

} // namespace kenmori
