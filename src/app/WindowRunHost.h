#pragma once
// The main window as the worker's host: the progress bar, the taskbar button
// and the status line follow the run, the industry lookup runs on the
// window's database, and the end of the run goes to the window. Use it on
// the window's thread; the worker reaches it through a QueuedRunHost.

#include "run/RunHost.h"

#include <functional>

class QLabel;
class QWidget;
class QProgressBar;
class ReferenceDatabase;

class WindowRunHost : public RunHost {
public:
    // taskbarReady is read at every step; runFinished is the window's end of
    // the run.
    // window is the parent of the database failure's notice.
    WindowRunHost(QProgressBar& bar, QLabel& status, const bool& taskbarReady, ReferenceDatabase& database,
                  std::function<void()> runFinished, QWidget* window = nullptr);

    void ResetProgress(int total) override;
    void StepProgress(int position, int total, const std::string& statusText) override;
    std::string LookupIndustryCategory(const std::string& industryName) override;
    void NotifyRunFinished() override;

    // The window is going away: later calls change nothing and find nothing.
    void detach() { m_detached = true; }

    // A new run: its first database failure will be shown again.
    void beginRun() { m_lookupFailureShown = false; }

private:
    QProgressBar& m_bar;
    QLabel& m_status;
    const bool& m_taskbarReady;
    ReferenceDatabase& m_database;
    std::function<void()> m_runFinished;
    QWidget* m_window = nullptr;
    bool m_detached = false;
    bool m_lookupFailureShown = false;
};
