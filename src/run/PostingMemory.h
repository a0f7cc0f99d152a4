#pragma once
// What earlier runs wrote, kept in an SQLite file (history.db) so that a run
// can pass over the postings it already has: one row per search and job
// number with the days it was first and last written and the file it went
// to, and one row per search for its last run. Nothing else is kept: no
// conditions, no job-seeker number. A connection belongs to the thread that
// opened it.

#include "run/RunRecords.h"

#include <QString>
#include <QVariantList>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// A search's identity: a digest of its request body with the job-seeker
// number left out, so the same conditions are the same search.
std::string SearchIdentity(const SearchConditions& conditions);

// The job number a detail link asks for (its kJNo); empty when it names none.
std::string JobNumberOfLink(std::string_view link);

class PostingMemory {
public:
    // Opens the file, creating it when missing. A damaged file is moved
    // aside (never overwritten) and a file of a newer format left alone; in
    // both cases the memory stays closed and problem() says why.
    explicit PostingMemory(std::filesystem::path file);
    ~PostingMemory();
    PostingMemory(const PostingMemory&) = delete;
    PostingMemory& operator=(const PostingMemory&) = delete;

    bool isOpen() const { return m_open; }
    // UTF-8, for the user; empty while all is well.
    const std::string& problem() const { return m_problem; }

    // Job numbers an earlier run of the search wrote, to any file or to this one.
    std::set<std::string> written(const std::string& search) const;
    std::set<std::string> writtenTo(const std::string& search, const std::filesystem::path& file) const;

    // A line of the search's run went to file; day as "YYYY-MM-DD".
    bool remember(const std::string& search, const std::string& jobNumber, const std::filesystem::path& file,
                  const std::string& day);

    // The search's run into file begins, or ended (complete or not).
    bool beginRun(const std::string& search, const std::filesystem::path& file);
    bool endRun(const std::string& search, bool complete);
    // The file of the search's last run when that run did not end complete
    // (stopped, failed, or killed).
    std::optional<std::filesystem::path> interruptedRun(const std::string& search) const;

    // Forgets everything of the search; false on a database error.
    bool forget(const std::string& search);

private:
    bool openFile();
    bool exec(const QString& sql, const QVariantList& values = {});
    std::set<std::string> jobNumbers(const QString& sql, const QVariantList& values) const;

    std::filesystem::path m_file;
    QString m_connectionName;
    bool m_open = false;
    std::string m_problem;
};

// The files of every run that did not end complete, read without changing
// the history (a damaged one included); none when it cannot be read.
std::vector<std::filesystem::path> InterruptedRunFiles(const std::filesystem::path& history);

// Job numbers in the first column of a CSV file this program wrote with the
// job number ticked, its header line left out; empty when the file is
// missing or the job number is not its first field.
std::set<std::string> JobNumbersInCsv(const std::filesystem::path& file, const OutputFieldChecks& fields);

// Cuts a CSV file back to its last whole line (a run killed in the middle of
// writing one leaves a part). False when the file cannot be read or cut.
bool CutToLastWholeLine(const std::filesystem::path& file);

} // namespace kenmori
