#include "app/SiteBrowser.h"

#include "site/CurlSession.h"
#include "site/WarmUp.h"

#include <QMetaObject>

SiteBrowser::SiteBrowser(QObject* parent)
    : QObject(parent)
{
}

SiteBrowser::~SiteBrowser()
{
    stop();
    for (Load& load : m_loads)
        load.thread.join();
}

void SiteBrowser::navigateToSearchPage(std::chrono::milliseconds timeLimit)
{
    stop();
    joinFinishedLoads();
    m_location.clear();
    m_lastTransfer.reset();

    const unsigned generation = m_generation;
    Load load{{}, std::make_shared<std::atomic<bool>>(false), std::make_shared<std::atomic<bool>>(false)};
    load.thread = std::thread([this, generation, timeLimit, stop = load.stop, done = load.done] {
        const WarmUpResult result = FetchSearchPage(timeLimit, [&stop] { return stop->load(); });
        // The destructor joins this thread, so the browser is still alive here.
        QMetaObject::invokeMethod(
            this, [this, generation, result] { loaded(generation, result); }, Qt::QueuedConnection);
        done->store(true);
    });
    m_loads.push_back(std::move(load));
}

void SiteBrowser::stop()
{
    ++m_generation;
    for (Load& load : m_loads)
        load.stop->store(true);
}

std::optional<std::string> SiteBrowser::documentCookie() const
{
    if (m_location.empty())
        return std::nullopt;
    // Read afresh, as a page script would: the store may have changed since.
    return StoredCookiesForHost(HostOfUrl(m_location), false);
}

void SiteBrowser::loaded(unsigned generation, const WarmUpResult& result)
{
    if (generation != m_generation)
        return;
    m_lastTransfer = result.transfer;
    if (!result.pageArrived || result.finalAddress.empty())
        return;
    m_location = result.finalAddress;
    emit documentComplete(QString::fromStdString(m_location));
}

void SiteBrowser::joinFinishedLoads()
{
    std::erase_if(m_loads, [](Load& load) {
        if (!load.done->load())
            return false;
        load.thread.join();
        return true;
    });
}
