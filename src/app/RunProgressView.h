#pragma once

class QLabel;
class QProgressBar;
class QString;

namespace kenmori {

// Where the window shows a run's progress: the bar, the taskbar button and
// the status line.

class RunProgressView {
public:
    // taskbarReady: the taskbar button can show progress.
    RunProgressView(QProgressBar& bar, QLabel& status, bool taskbarReady);

    // The bar to 0..total.
    void reset(int total);
    void step(int position, int total, const QString& statusText);

private:
    QProgressBar& m_bar;
    QLabel& m_status;
    const bool m_taskbarReady;
};

} // namespace kenmori
