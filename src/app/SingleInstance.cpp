#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kenmori {

QString SingleInstance::defaultFolder()
{
    // Asked before the application object exists, so read the variable
    // directly rather than through QStandardPaths, which would warn.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

#ifdef _WIN32

SingleInstance::SingleInstance(const QString& name, const QString&)
{
    SetLastError(0);
    m_mutex = CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(name.utf16()));
    m_creationFailed = m_mutex == nullptr;
    // Any error, ERROR_ALREADY_EXISTS above all, means another copy runs.
    m_acquired = m_mutex != nullptr && GetLastError() == 0;
}

SingleInstance::~SingleInstance()
{
    if (m_mutex) {
        if (m_acquired)
            ReleaseMutex(static_cast<HANDLE>(m_mutex));
        CloseHandle(static_cast<HANDLE>(m_mutex));
    }
}

#else

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : m_folder(folder)
{
    // The user's id in the name keeps users of a shared temporary folder apart.
    const QString path = QDir(folder).filePath(
        QStringLiteral("%1-%2.lock").arg(name).arg(static_cast<qulonglong>(getuid())));
    m_fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_creationFailed = true;
        return;
    }
    m_acquired = flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    if (!m_acquired) {
        close(m_fd);
        m_fd = -1;
    }
}

SingleInstance::~SingleInstance()
{
    // Closing the file releases the lock; the file itself stays, since
    // removing it could let a third copy lock a different file.
    if (m_fd >= 0)
        close(m_fd);
}

#endif

} // namespace kenmori
