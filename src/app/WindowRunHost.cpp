#include "app/WindowRunHost.h"

#include "app/DialogService.h"
#include "shell/TaskbarProgress.h"
#include "text/CodePage932.h"
#include "reference/IndustryLookup.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

WindowRunHost::WindowRunHost(QProgressBar& bar, QLabel& status, const bool& taskbarReady,
                             ReferenceDatabase& database, std::function<void()> runFinished, QWidget* window)
    : m_bar(bar)
    , m_status(status)
    , m_taskbarReady(taskbarReady)
    , m_database(database)
    , m_runFinished(std::move(runFinished))
    , m_window(window)
{
}

void WindowRunHost::ResetProgress(int total)
{
    if (m_detached)
        return;
    // A bar of 0..0 would turn into Qt's busy indicator; an empty result
    // shows an empty bar instead.
    m_bar.setRange(0, std::max(total, 1));
    m_bar.setValue(0);
}

void WindowRunHost::StepProgress(int position, int total, const std::string& statusText)
{
    if (m_detached)
        return;
    // The worker's count, so that a run from a later start position shows
    // where it stands in the whole list.
    const int value = std::clamp(position, 0, m_bar.maximum());
    m_bar.setValue(value);
    if (m_taskbarReady)
        SetTaskbarProgressValue(static_cast<std::uint64_t>(value), static_cast<std::uint64_t>(std::max(total, 0)));
    m_status.setText(ShiftJisToQString(statusText));
    m_status.repaint();
}

std::string WindowRunHost::LookupIndustryCategory(const std::string& industryName)
{
    if (m_detached)
        return {};
    // A database failure leaves the three industry fields empty, as no match
    // does; the run goes on, but the user hears of it once.
    std::string errorText;
    std::string answer = ::LookupIndustryCategory(m_database, industryName, errorText);
    if (!errorText.empty() && !m_lookupFailureShown) {
        m_lookupFailureShown = true;
        ShowNotice(m_window, ShiftJisToQString(errorText), QStringLiteral("Error"));
    }
    return answer;
}

void WindowRunHost::NotifyRunFinished()
{
    if (!m_detached && m_runFinished)
        m_runFinished();
}
