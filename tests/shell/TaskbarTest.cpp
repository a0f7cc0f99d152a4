#include "shell/TaskbarProgress.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariantMap>
#include <QtTest>

using namespace kenmori;

class TaskbarTest : public QObject {
    Q_OBJECT

public slots:
    void launcherUpdate(const QString& application, const QVariantMap& properties)
    {
        m_updates << qMakePair(application, properties);
    }

private slots:
    void withoutBusEverythingReturnsFalse();
    void progressGoesToTheLauncherEntry();
    void cleanupTestCase();

private:
    QList<QPair<QString, QVariantMap>> m_updates;
    QTemporaryDir m_busDir;
    QProcess m_bus;
};

void TaskbarTest::withoutBusEverythingReturnsFalse()
{
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("XDG_RUNTIME_DIR"); // where the system library looks for a default bus
    QVERIFY(!InitializeTaskbarAPI());
    QVERIFY(!SetTaskbarProgressValue(1, 2));
    QVERIFY(!SetTaskbarProgressState(TaskbarProgressState::None));
}

void TaskbarTest::progressGoesToTheLauncherEntry()
{
    // A private session bus of this test, on a socket in its own folder.
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_bus.start(daemon,
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                 QStringLiteral("--address=unix:path=") + m_busDir.filePath(QStringLiteral("bus"))});
    QVERIFY(m_bus.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 10000);
    const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    QDBusConnection listener = QDBusConnection::connectToBus(address, QStringLiteral("listener"));
    QVERIFY(listener.isConnected());
    QVERIFY(listener.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                             QStringLiteral("Update"), this, SLOT(launcherUpdate(QString, QVariantMap))));

    // A failed start may be retried; once held, a second call is true at once.
    QVERIFY(InitializeTaskbarAPI());
    QVERIFY(InitializeTaskbarAPI());
    QVERIFY(SetTaskbarProgressValue(3, 4));
    QVERIFY(SetTaskbarProgressValue(5, 0));
    QVERIFY(SetTaskbarProgressState(TaskbarProgressState::None));
    QTRY_COMPARE(m_updates.size(), 3);
    QCOMPARE(m_updates[0].first, QStringLiteral("application://kenmori.desktop"));
    QCOMPARE(m_updates[0].second.value(QStringLiteral("progress")).toDouble(), 0.75);
    QCOMPARE(m_updates[0].second.value(QStringLiteral("progress-visible")).toBool(), true);
    QCOMPARE(m_updates[1].second.value(QStringLiteral("progress")).toDouble(), 0.0);
    QCOMPARE(m_updates[2].second.value(QStringLiteral("progress-visible")).toBool(), false);
    QVERIFY(!m_updates[2].second.contains(QStringLiteral("progress")));
}

void TaskbarTest::cleanupTestCase()
{
    if (m_bus.state() != QProcess::NotRunning) {
        m_bus.kill();
        m_bus.waitForFinished();
    }
}

QTEST_GUILESS_MAIN(TaskbarTest)
#include "TaskbarTest.moc"
