#include "app/SingleInstance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace kenmori;

class WindowInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void lockIsExclusiveAndFreedWithItsHolder();
    void secondProgramExitsWithOne();
    void crashedProgramFreesTheLock();
};

void WindowInstanceTest::lockIsExclusiveAndFreedWithItsHolder()
{
    QTemporaryDir dir;
    std::optional<SingleInstance> first(std::in_place, QStringLiteral("km_csv"), dir.path());
    QVERIFY(first->acquired());
    QVERIFY(!SingleInstance(QStringLiteral("km_csv"), dir.path()).acquired());
    QVERIFY(SingleInstance(QStringLiteral("other"), dir.path()).acquired());
    first.reset();
    QVERIFY(SingleInstance(QStringLiteral("km_csv"), dir.path()).acquired());
    QVERIFY(!SingleInstance(QStringLiteral("km_csv"), dir.path()).creationFailed());
    // A folder where no lock can be made: not taken by another copy, but a
    // failure to tell the user about, with the folder.
    const SingleInstance nowhere(QStringLiteral("km_csv"), dir.filePath("missing"));
    QVERIFY(!nowhere.acquired());
    QVERIFY(nowhere.creationFailed());
    QCOMPARE(nowhere.folder(), dir.filePath("missing"));
}

void WindowInstanceTest::secondProgramExitsWithOne()
{
    // The program looks for its lock in the user's runtime folder, here the
    // test's own folder, where the test already holds it.
    QTemporaryDir dir;
    const SingleInstance first(QStringLiteral("km_csv"), dir.path());
    QVERIFY(first.acquired());

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kenmori"), {});
    QVERIFY(second.waitForStarted());
    if (!second.waitForFinished(20000)) {
        second.kill();
        second.waitForFinished();
        QFAIL("the second copy kept running");
    }
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(second.readAllStandardOutput().isEmpty());
}

void WindowInstanceTest::crashedProgramFreesTheLock()
{
    QTemporaryDir dir;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kenmori"), {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!SingleInstance(QStringLiteral("km_csv"), dir.path()).acquired(), 20000);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    QVERIFY(program.waitForFinished());
    QVERIFY(SingleInstance(QStringLiteral("km_csv"), dir.path()).acquired());
}

QTEST_GUILESS_MAIN(WindowInstanceTest)
#include "WindowInstanceTest.moc"
