#pragma once
// The hidden browser of the main window, reduced to what a run needs of it:
// open the site's search page so that the site sets its cookie, tell when
// the page has loaded and from where, and hand out the page's cookie as a
// page script reads it. The page loads on a thread of its own through the
// shared libcurl session, so its cookies land in the process's cookie store.

#include <QObject>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "site/CurlSession.h"

struct WarmUpResult;

class SiteBrowser : public QObject {
    Q_OBJECT
public:
    explicit SiteBrowser(QObject* parent = nullptr);
    ~SiteBrowser() override; // abandons every load and waits for its thread

    // Starts loading the site's search page, giving up after timeLimit. The
    // document loaded before is dropped; a load still going is abandoned.
    void navigateToSearchPage(std::chrono::milliseconds timeLimit);

    // Abandons the load in progress: no documentComplete comes for it.
    void stop();

    // Where the loaded document came from; empty while none has loaded.
    const std::string& locationUrl() const { return m_location; }

    // The loaded document's cookie, "name=value; name2=value2" (UTF-8);
    // nothing while no document has loaded.
    std::optional<std::string> documentCookie() const;

    // How the last load of the current navigation went, for the run log;
    // nothing while it is still going.
    const std::optional<FetchResult>& lastTransfer() const { return m_lastTransfer; }

signals:
    // A page has loaded; address is where its redirects ended.
    void documentComplete(const QString& address);

private:
    struct Load {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void loaded(unsigned generation, const WarmUpResult& result);
    void joinFinishedLoads();

    std::vector<Load> m_loads;
    unsigned m_generation = 0; // results of earlier generations are dropped
    std::string m_location;
    std::optional<FetchResult> m_lastTransfer;
};
