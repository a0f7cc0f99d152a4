#include "run/RunLog.h"

#include "run/ConditionTable.h"
#include "text/CodePage932.h"
#include "site/CurlSession.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <system_error>
#include <vector>

namespace kenmori {

static constexpr std::string_view kRunMark = "=== run ";

RunLog::RunLog(std::filesystem::path logFile, std::filesystem::path unreadPageFile)
    : m_file(std::move(logFile))
    , m_unreadPageFile(std::move(unreadPageFile))
{
}

// The earlier runs' sections, oldest first.
static std::vector<std::string> EarlierRuns(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> runs;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(kRunMark) || runs.empty())
            runs.emplace_back();
        runs.back() += line + "\n";
    }
    return runs;
}

static std::string LocalTimeText(std::chrono::system_clock::time_point time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool RunLog::begin(std::chrono::system_clock::time_point startTime, const SearchConditions& conditions)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> runs = EarlierRuns(m_file);
    const std::size_t kept = kRunLogKeptRuns - 1;
    if (runs.size() > kept)
        runs.erase(runs.begin(), runs.end() - static_cast<std::ptrdiff_t>(kept));
    m_out.close();
    m_out.open(m_file, std::ios::binary | std::ios::trunc);
    if (!m_out)
        return false;
    for (const std::string& run : runs)
        m_out << run;
    m_out << kRunMark << LocalTimeText(startTime) << "\n"
          << "conditions: " << ConditionsLogText(conditions) << "\n";
    m_out.flush();
    return static_cast<bool>(m_out);
}

void RunLog::line(std::string_view text)
{
    std::lock_guard lock(m_mutex);
    if (!m_out.is_open())
        return;
    m_out << text << "\n";
    m_out.flush();
}

void RunLog::request(std::string_view method, std::string_view url, const FetchResult& result)
{
    std::string text = std::string(method) + " " + PathWithoutQuery(url) + " ";
    text += result.responded ? std::to_string(result.statusCode) : std::string("no-answer");
    text += " " + std::to_string(result.bytes) + " bytes " + std::to_string(result.elapsedMs) + " ms";
    if (result.tooLarge)
        text += " too-large";
    else if (result.stopped)
        text += " stopped";
    else if (result.responded && !result.complete)
        text += " cut-off";
    line(text);
}

void RunLog::keepListPage(const std::filesystem::path& pageFile, std::string_view what)
{
    std::error_code error;
    std::filesystem::copy_file(pageFile, m_unreadPageFile, std::filesystem::copy_options::overwrite_existing,
                               error);
    line(std::string(what) + (error ? std::string(", not kept") : ", kept as " + m_unreadPageFile.string()));
}

std::string ConditionsLogText(const SearchConditions& conditions)
{
    std::vector<const ConditionRow*> listed;
    for (const ConditionRow& row : ConditionRows()) {
        if (row.logPosition >= 0)
            listed.push_back(&row);
    }
    std::ranges::sort(listed, {}, &ConditionRow::logPosition);

    // The rows name the settings record's texts; the run carries the same
    // ones, but the start position as the number that the checks made of it.
    SettingsValues texts;
    static_cast<ConditionValues&>(texts) = conditions;
    const auto text = [](std::string_view name, const std::string& value) {
        return std::string(name) + "=\"" + ShiftJisToUtf8(value) + "\"";
    };
    std::string joined;
    for (const ConditionRow* row : listed) {
        std::string part = std::string(row->key) + "=";
        switch (row->kind) {
        case ConditionKind::DropDown:
        case ConditionKind::WordsMode: part += std::to_string(conditions.*row->number); break;
        case ConditionKind::Check: part += conditions.*row->ticked ? "1" : "0"; break;
        case ConditionKind::Text:
        case ConditionKind::Digits:
            if (row->text == &SettingsValues::startPositionText)
                part += std::to_string(conditions.startPosition);
            else
                part = text(row->key, texts.*row->text);
            break;
        case ConditionKind::FieldTicks:
            for (const bool ticked : conditions.*row->fields)
                part += ticked ? '1' : '0';
            break;
        }
        joined += (joined.empty() ? "" : " ") + part;
        if (row->text == &SettingsValues::cityNames)
            joined += " " + text("cityCodes", conditions.cityCodes);
    }
    return joined;
}

std::string PathWithoutQuery(std::string_view url)
{
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) {
        url.remove_prefix(scheme + 3);
        const std::size_t slash = url.find('/');
        url = slash == std::string_view::npos ? std::string_view("/") : url.substr(slash);
    }
    return std::string(url.substr(0, url.find_first_of("?#")));
}

} // namespace kenmori
