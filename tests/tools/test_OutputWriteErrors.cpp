// The three command-line tools on an output that refuses every byte (/dev/full, as a full disk
// or a closed pipe would): none may report success for tables or results that were not written.
#include "ToolsTestSupport.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesformula/Command.h"
#include "tools/qesrun/Command.h"
#include "tools/statrun/StatisticsCommand.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Tool = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

TEST(OutputWriteErrors, EveryToolFailsWithAMessageWhenItsOutputCannotBeWritten) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    tools_test::TempFolder folder;
    qesbuild::DemoSurvey::Write(folder.path());
    const std::string demo = folder.Sub("demo.qes");
    const std::string source = MORVANE_SOURCE_DIR;
    const struct {
        const char* name;
        Tool run;
        std::vector<std::string> arguments;
    } cases[] = {
        {"qesrun", &qesrun::Command::Run, {demo, source + "/tests/golden/qesrun-cross.req"}},
        {"qesformula", &qesformula::Command::Run, {demo, "??AGE??"}},
        {"statistics-run", &statrun::Run,
         {"pca", source + "/tests/fixtures/decathlon.csv", "--columns", "1-10", "--axes", "2"}},
    };
    for (const auto& c : cases) {
        std::ostringstream written;
        std::ostringstream err;
        ASSERT_EQ(c.run(c.arguments, written, err), 0) << c.name << ": " << err.str();
        ASSERT_FALSE(written.str().empty()) << c.name;

        std::ofstream full("/dev/full");
        std::ostringstream refused;
        EXPECT_EQ(c.run(c.arguments, full, refused), 1) << c.name;
        EXPECT_NE(refused.str().find(std::string(c.name) + ": cannot write the output"), std::string::npos)
            << c.name << ": " << refused.str();
    }
}

} // namespace
