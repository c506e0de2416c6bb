// qesrun when the questionnaire, opened fine, cannot be opened again half-way through a request
// (the system out of file descriptors, say): the run fails naming what could not be computed, and
// never exits 0 with fewer tables than the request makes.
#include "ToolsTestSupport.h"
#include "support/FailingOpenVfs.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using qesrun::Command;
using tools_test::TempFolder;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome Qesrun(const std::string& questionnaire, const std::string& request) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.exitCode = Command::Run({questionnaire, request}, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(QesrunReopenFailure, ARequestWhoseFileCannotBeOpenedAgainFails) {
    TempFolder folder;
    qesbuild::DemoSurvey::Write(folder.path());
    const std::string demo = folder.Sub("demo.qes");
    const std::string request = folder.Sub("pairs.req");
    // Six tables, one per pair, each question read when its first table needs it.
    tools_test::WriteText(request, "type profils-croises\n"
                                   "lignes SATISF:1,2,3 TRANCHE:1,2,3 REGION:1,2,3\n"
                                   "colonnes SEXE:1,2 CSP:3,5\n"
                                   "calculs 0\n"
                                   "options par-ligne par-colonne\n");
    const Outcome whole = Qesrun(demo, request);
    ASSERT_EQ(whole.exitCode, Command::kTablesPrinted) << whole.err;
    // Each opening after the first `allowed` fails, for every count until none does: the run
    // prints the whole output and succeeds, or prints nothing and fails with the reason; a table
    // left out is named. Some counts let the survey open and fail a table further on.
    bool failedMidRequest = false;
    for (int allowed = 0;; ++allowed) {
        SCOPED_TRACE(allowed);
        FailingOpenVfs vfs(allowed);
        const Outcome run = Qesrun(demo, request);
        if (FailingOpenVfs::Refused() == 0) {
            EXPECT_EQ(run.exitCode, Command::kTablesPrinted);
            EXPECT_EQ(run.out, whole.out);
            break;
        }
        EXPECT_EQ(run.exitCode, Command::kNoTable) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("le fichier ne peut pas être ouvert"), std::string::npos) << run.err;
        if (run.err.find("Impossible d'ouvrir le questionnaire") == std::string::npos) {
            failedMidRequest = true;
            EXPECT_NE(run.err.find("qesrun: not computed: "), std::string::npos) << run.err;
        }
        ASSERT_LT(allowed, 100) << "every opening is refused";
    }
    EXPECT_TRUE(failedMidRequest);
}

} // namespace
