#pragma once
// The lock that lets one copy of the program run at a time. The system frees
// it when the process ends, however it ends, so a crash never blocks the
// next start.

#include <QString>

namespace kenmori {

class SingleInstance {
public:
    // Takes the lock called name: a lock file in folder (the user's runtime
    // folder, or the temporary folder when there is none) on Linux, a named
    // mutex on Windows, where folder is not used.
    explicit SingleInstance(const QString& name, const QString& folder = defaultFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another process holds the lock or it could not be made.
    bool acquired() const { return m_acquired; }
    // The lock could not be made at all (the folder is missing or not
    // writable): not the sign of another copy, and worth a word to the user.
    bool creationFailed() const { return m_creationFailed; }
    const QString& folder() const { return m_folder; }

    static QString defaultFolder();

private:
    bool m_acquired = false;
    bool m_creationFailed = false;
    QString m_folder;
#ifdef _WIN32
    void* m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace kenmori
