#pragma once
// Progress on the program's taskbar button. On Windows through the shell's
// taskbar list; on Linux through the desktop launcher entry on the session
// bus. Every function returns false instead of acting where neither exists.

#include <QtGlobal>

#include <cstdint>

namespace kenmori {

enum class TaskbarProgressState {
    None,
    Indeterminate,
    Normal,
    Error,
    Paused,
};

// True when the facility is held after the call; once held, never re-made.
bool InitializeTaskbarAPI();

// The top-level window that owns the taskbar button (used on Windows only).
void SetTaskbarWindow(quintptr windowHandle);

bool SetTaskbarProgressState(TaskbarProgressState state);
bool SetTaskbarProgressValue(std::uint64_t completed, std::uint64_t total);

} // namespace kenmori
