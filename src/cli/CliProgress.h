#pragma once
// What kenmori-cli shows of a run on standard error: the status line, the
// reference database's failure, and messages.

#include <QString>

#include <string_view>

namespace kenmori {

// A message on standard error, CR LF shown as one line break.
void PrintUtf8Message(std::string_view utf8Text);
void PrintMessage(std::string_view sjisText); // code page 932

class CliProgress {
public:
    // redraw: the status line is rewritten in place (standard error is a
    // terminal); otherwise every status goes on a line of its own.
    explicit CliProgress(bool redraw);

    void showStatus(const QString& statusText);
    void showMessage(const QString& message);
    // The run is over: what follows starts on a line of its own.
    void finish();

private:
    void endStatusLine();

    const bool m_redraw;
    bool m_statusShown = false;
};

} // namespace kenmori
