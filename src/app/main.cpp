#include "app/DialogService.h"
#include "app/QtJapanese.h"
#include "app/SingleInstance.h"
#include "app/MainWindow.h"

#include "text/UserTexts.h"
#include <QApplication>

#include <exception>

using namespace kenmori;

// Reports an exception that escapes an event handler and lets the program go
// on, rather than letting it end the process.
class KenmoriApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ShowFailure(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            ShowFailure(QString());
        }
        return false;
    }
};

int main(int argc, char** argv)
{
    // Taken before anything else: a second copy leaves without a trace.
    const SingleInstance instance(QStringLiteral("km_csv"));
    if (!instance.acquired() && !instance.creationFailed())
        return 1;

    KenmoriApplication application(argc, argv);
    if (instance.creationFailed()) {
        // Not another copy: the user must learn why nothing opens.
        ShowNotice(nullptr,
                   QStringLiteral("ロックファイルを作成できませんでした。\n次のフォルダを確認してください。\n%1")
                       .arg(instance.folder()),
                   Utf8Text(kTitleError));
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("Kenmori"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kenmori"));
    QApplication::setFont(MainWindowFont());
    InstallQtJapanese(application);

    MainWindow window;
    window.show();
    QApplication::exec();
    return 0;
}
