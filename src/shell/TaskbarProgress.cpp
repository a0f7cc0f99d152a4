#include "shell/TaskbarProgress.h"

#ifdef _WIN32

#include <windows.h>
#include <shobjidl.h>

namespace kenmori {

static ITaskbarList3* taskbarList = nullptr;
static HWND taskbarWindow = nullptr;

// Releases the interface when the program ends.
struct TaskbarListRelease {
    ~TaskbarListRelease()
    {
        if (taskbarList)
            taskbarList->Release();
    }
};
static TaskbarListRelease taskbarListRelease;

bool InitializeTaskbarAPI()
{
    if (taskbarList)
        return true;
    ITaskbarList* basic = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_ITaskbarList, reinterpret_cast<void**>(&basic)))
        || !basic)
        return false;
    ITaskbarList3* list = nullptr;
    if (SUCCEEDED(basic->QueryInterface(IID_ITaskbarList3, reinterpret_cast<void**>(&list))) && list) {
        if (list->HrInit() == S_OK)
            taskbarList = list;
        else
            list->Release();
    }
    basic->Release();
    return taskbarList != nullptr;
}

void SetTaskbarWindow(quintptr windowHandle)
{
    taskbarWindow = reinterpret_cast<HWND>(windowHandle);
}

static TBPFLAG TaskbarFlag(TaskbarProgressState state)
{
    switch (state) {
    case TaskbarProgressState::Indeterminate: return TBPF_INDETERMINATE;
    case TaskbarProgressState::Normal: return TBPF_NORMAL;
    case TaskbarProgressState::Error: return TBPF_ERROR;
    case TaskbarProgressState::Paused: return TBPF_PAUSED;
    default: return TBPF_NOPROGRESS;
    }
}

bool SetTaskbarProgressState(TaskbarProgressState state)
{
    if (!taskbarList)
        return false;
    return taskbarList->SetProgressState(taskbarWindow, TaskbarFlag(state)) == S_OK;
}

bool SetTaskbarProgressValue(std::uint64_t completed, std::uint64_t total)
{
    if (!taskbarList)
        return false;
    return taskbarList->SetProgressValue(taskbarWindow, completed, total) == S_OK;
}

} // namespace kenmori

#else

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace kenmori {

// Launchers that show progress on an application's button listen for this
// signal; the desktop file names the application.
static const QString kConnectionName = QStringLiteral("kenmori-taskbar");
static const QString kEntryPath = QStringLiteral("/com/canonical/unity/launcherentry/kenmori");
static const QString kEntryInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
static const QString kApplicationUri = QStringLiteral("application://kenmori.desktop");

static bool busHeld = false;

bool InitializeTaskbarAPI()
{
    if (busHeld)
        return true;
    // The address named in the environment is read afresh on every try; the
    // system library's own lookup remembers its first answer for the process.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    QDBusConnection bus = address.isEmpty()
        ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)
        : QDBusConnection::connectToBus(address, kConnectionName);
    busHeld = bus.isConnected();
    if (!busHeld)
        QDBusConnection::disconnectFromBus(kConnectionName); // so a later call tries afresh
    return busHeld;
}

void SetTaskbarWindow(quintptr)
{
}

static bool SendUpdate(const QVariantMap& properties)
{
    if (!busHeld)
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(kEntryPath, kEntryInterface, QStringLiteral("Update"));
    signal << kApplicationUri << properties;
    return QDBusConnection(kConnectionName).send(signal);
}

bool SetTaskbarProgressState(TaskbarProgressState state)
{
    // The launcher knows only shown and hidden; every state but none shows.
    return SendUpdate({{QStringLiteral("progress-visible"), state != TaskbarProgressState::None}});
}

bool SetTaskbarProgressValue(std::uint64_t completed, std::uint64_t total)
{
    const double progress = total == 0
        ? 0.0
        : static_cast<double>(completed > total ? total : completed) / static_cast<double>(total);
    return SendUpdate({{QStringLiteral("progress"), progress}, {QStringLiteral("progress-visible"), true}});
}

} // namespace kenmori

#endif
