#include "CliHost.h"

#include "text/CodePage932.h"
#include "reference/IndustryLookup.h"

#include <string>

void PrintUtf8Message(std::string_view utf8Text)
{
    std::string text(utf8Text);
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void PrintMessage(std::string_view sjisText)
{
    PrintUtf8Message(ShiftJisToUtf8(sjisText));
}

CliHost::CliHost(ReferenceDatabase& database, bool redraw)
    : m_database(database)
    , m_redraw(redraw)
{
}

void CliHost::ResetProgress(int)
{
    // The status text carries the counts; there is no bar to reset.
}

void CliHost::StepProgress(int, int, const std::string& statusText)
{
    const std::string text = ShiftJisToUtf8(statusText);
    if (m_redraw)
        std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
    else
        std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    m_statusShown = true;
}

std::string CliHost::LookupIndustryCategory(const std::string& industryName)
{
    std::string errorText;
    std::string answer = ::LookupIndustryCategory(m_database, industryName, errorText);
    if (!errorText.empty() && !m_lookupFailureShown) {
        m_lookupFailureShown = true;
        if (m_redraw && m_statusShown)
            std::fputc('\n', stderr);
        PrintMessage(errorText);
    }
    return answer;
}

void CliHost::NotifyRunFinished()
{
    // Messages that follow start on a line of their own.
    if (m_redraw && m_statusShown)
        std::fputc('\n', stderr);
    std::fflush(stderr);
    m_finished = true;
}
