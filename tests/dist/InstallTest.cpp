// The installed program: cmake --install into a temporary prefix, the
// desktop entry and metainfo checked by the desktop's own validators, and
// the installed programs run with a temporary home, where they keep their
// files in the per-user folders and read the installed reference database.

#include "DemoSite.h"
#include "app/MainWindow.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace kenmori;

namespace fs = std::filesystem;

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void installedProgramsUsePerUserFolders();

private:
    // Runs program with arguments; its exit code, or -1 when it did not end.
    static int run(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                   QString* output = nullptr);
};

int InstallTest::run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
                     QString* output)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    const QString text = QString::fromUtf8(process.readAll());
    if (output)
        *output = text;
    else if (process.exitCode() != 0)
        qWarning("%s", qPrintable(text));
    return process.exitCode();
}

void InstallTest::installedProgramsUsePerUserFolders()
{
    QTemporaryDir dir;
    const fs::path prefix = dir.filePath("prefix").toStdString();
    const QString prefixText = QString::fromStdString(prefix.string());
    QCOMPARE(run(KENMORI_CMAKE_COMMAND, {"--install", KENMORI_BUILD_DIR, "--prefix", prefixText}), 0);

    const fs::path bin = prefix / "bin";
    const fs::path share = prefix / "share";
    QVERIFY(fs::exists(bin / "kenmori"));
    QVERIFY(fs::exists(bin / "kenmori-cli"));
    QVERIFY(!fs::exists(bin / "db"));
    QVERIFY(fs::exists(share / "kenmori" / "km_data.db"));
    QVERIFY(fs::exists(share / "icons" / "hicolor" / "scalable" / "apps" / "kenmori.svg"));
    QVERIFY(fs::exists(share / "icons" / "hicolor" / "256x256" / "apps" / "kenmori.png"));
    // The name the taskbar progress announces.
    const fs::path desktopEntry = share / "applications" / "kenmori.desktop";
    QVERIFY(fs::exists(desktopEntry));
    const fs::path metainfo = share / "metainfo" / "jp.kenmori.Kenmori.metainfo.xml";
    QVERIFY(fs::exists(metainfo));

    const QString desktopValidator = QStandardPaths::findExecutable("desktop-file-validate");
    if (desktopValidator.isEmpty())
        qInfo("desktop-file-validate is not installed: desktop entry not validated");
    else
        QCOMPARE(run(desktopValidator, {QString::fromStdString(desktopEntry.string())}), 0);
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    if (appstream.isEmpty())
        qInfo("appstreamcli is not installed: metainfo not validated");
    else
        QCOMPARE(run(appstream, {"validate", "--no-net", QString::fromStdString(metainfo.string())}), 0);

    // A temporary home with the desktop's default folders.
    const fs::path home = dir.filePath("home").toStdString();
    fs::create_directories(home);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(home.string()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "http_proxy", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
        environment.remove(name);

    const QString cli = QString::fromStdString((bin / "kenmori-cli").string());
    QString version;
    QCOMPARE(run(cli, {"--version"}, environment, &version), 0);
    QVERIFY2(version.startsWith("kenmori-cli "), qPrintable(version));

    // A whole run from options alone: the installed database resolves the
    // city names, the page file lives in the per-user cache folder.
    DemoSite site{DemoSiteOptions{40, "13010-1234567", {}}};
    QVERIFY(site.start());
    const fs::path csv = home / "out.csv";
    const int cityRun = run(cli,
                            {"--output", QString::fromStdString(csv.string()), "--pacing-ms", "0", "--fields",
                             "求人番号", "--prefecture", "東京都", "--city", "新宿区", "--base-address",
                             QString::fromStdString(site.baseAddress())},
                            environment);
    QVERIFY2(cityRun == 0 || cityRun == 1, qPrintable(QString::number(cityRun))); // lines, or none in that city
    QVERIFY(fs::is_directory(home / ".cache" / "kenmori"));
    QCOMPARE(run(cli,
                 {"--output", QString::fromStdString(csv.string()), "--pacing-ms", "0", "--fields", "求人番号",
                  "--base-address", QString::fromStdString(site.baseAddress())},
                 environment),
             0);
    QVERIFY(fs::file_size(csv) > 0);
    QVERIFY(!fs::exists(bin / "db"));

    // The window of the installed layout: the installed database is found
    // and the settings are kept in the per-user configuration folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QString::fromStdString((home / ".config").string())));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(QString::fromStdString((home / ".cache").string())));
    MainWindow window(bin);
    QVERIFY(window.databaseReady);
    QCOMPARE(window.settingsPath(), home / ".config" / "kenmori" / "km.ini");
    window.saveSettings();
    QVERIFY(fs::exists(home / ".config" / "kenmori" / "km.ini"));
    QVERIFY(!fs::exists(bin / "db"));
}

QTEST_MAIN(InstallTest)
#include "InstallTest.moc"
