#include "app/RunProgressView.h"

#include "shell/TaskbarProgress.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <cstdint>

namespace kenmori {

RunProgressView::RunProgressView(QProgressBar& bar, QLabel& status, bool taskbarReady)
    : m_bar(bar)
    , m_status(status)
    , m_taskbarReady(taskbarReady)
{
}

void RunProgressView::reset(int total)
{
    // A bar of 0..0 would turn into Qt's busy indicator; an empty result
    // shows an empty bar instead.
    m_bar.setRange(0, std::max(total, 1));
    m_bar.setValue(0);
}

void RunProgressView::step(int position, int total, const QString& statusText)
{
    // The run's count, so that a run from a later start position shows
    // where it stands in the whole list.
    const int value = std::clamp(position, 0, m_bar.maximum());
    m_bar.setValue(value);
    if (m_taskbarReady)
        SetTaskbarProgressValue(static_cast<std::uint64_t>(value), static_cast<std::uint64_t>(std::max(total, 0)));
    m_status.setText(statusText);
    m_status.repaint();
}

} // namespace kenmori
