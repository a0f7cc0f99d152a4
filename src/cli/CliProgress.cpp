#include "CliProgress.h"

#include "text/CodePage932.h"

#include <cstdio>
#include <string>

namespace kenmori {

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

CliProgress::CliProgress(bool redraw)
    : m_redraw(redraw)
{
}

void CliProgress::showStatus(const QString& statusText)
{
    const QByteArray text = statusText.toUtf8();
    if (m_redraw)
        std::fprintf(stderr, "\r%s\x1b[K", text.constData());
    else
        std::fprintf(stderr, "%s\n", text.constData());
    std::fflush(stderr);
    m_statusShown = true;
}

void CliProgress::showMessage(const QString& message)
{
    endStatusLine();
    PrintUtf8Message(message.toStdString());
}

void CliProgress::finish()
{
    endStatusLine();
    std::fflush(stderr);
}

void CliProgress::endStatusLine()
{
    if (m_redraw && m_statusShown)
        std::fputc('\n', stderr);
    m_statusShown = false;
}

} // namespace kenmori
