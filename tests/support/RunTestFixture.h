#pragma once
// What every test of a whole retrieval sets up: a temporary folder holding
// the page and CSV files, conditions asking for the job number only, a host
// that records what the run told it, and a site config without pauses.

#include "pages/OutputSlots.h"
#include "run/CsvOutput.h"
#include "site/SiteConfig.h"
#include "run/RunRecords.h"
#include "support/TestEnvironment.h"
#include "support/RetrievalTestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

namespace kenmori {

class RunTestFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingHost host;
    SearchConditions conditions;
    RunState state;
    CsvOutputFile csv;
    SiteConfig siteConfig = LocalSite({}); // tests point it at their site
    std::filesystem::path pageFile = dir.filePath("tmp.dat").toStdString();
    std::filesystem::path csvPath = dir.filePath("out.csv").toStdString();

    void SetUp() override
    {
        ClearProxyEnvironment();
        conditions.outputFields[kSlotJobNumber] = true;
        state.outputPath = csvPath;
    }
};

} // namespace kenmori
