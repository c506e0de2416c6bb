// A questionnaire the user cannot write (a write-protected file, a read-only folder): it opens and
// tabulates, in the program and in qesrun; every command that must write it (a study field saved,
// a variable's fields, an inversion) is refused in the program's words and changes nothing.
//
// The mode of a file stops nothing for root: run as root, the test runs its checks again in a
// process of the unprivileged user "nobody" (setpriv), so that the system itself refuses the
// writes, as it does on a read-only medium.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "ContextTestSupport.h"
#include "app/ChampEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/Inversion.h"
#include "app/StringTable.h"
#include "tools/qesrun/Command.h"

using namespace context_test;

namespace {

constexpr const char* kQuestionnaireVariable = "MORVANE_READONLY_QUESTIONNAIRE";

std::string ReadOnlyText(const std::string& path) {
    return StringTable::Format(Message(StringTable::kQuestionnaireLectureSeule, {path}));
}

std::string RunShell(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    status = ::pclose(pipe);
    return output;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

// The checks, in a process of a user who cannot write the questionnaire named by the variable;
// skipped when it is not set.
TEST(ReadOnlyQuestionnaire, ChecksOfAUserWhoCannotWriteIt) {
    const char* named = std::getenv(kQuestionnaireVariable);
    if (named == nullptr)
        GTEST_SKIP() << "run by ReadOnlyQuestionnaire.OpensTabulatesAndRefusesEveryWrite";
    const std::string path = named;
    ASSERT_NE(::access(path.c_str(), R_OK), -1);

    SettingsInMemory settings;
    EXPECT_TRUE(CDBQuestionnaire::VerifierIsLevelLink(path));
    TestContext test;
    ASSERT_TRUE(test.Open(path, 3)) << test.context.GetLastError();
    EXPECT_TRUE(test.ui->shown.empty());

    // A study field saved.
    CDBQuestionnaire definitions(test.context);
    CChampEtude field;
    field.name = "Hommes";
    EXPECT_FALSE(definitions.SaveSubPopulation(field));
    EXPECT_NE(definitions.GetLastError().find(ReadOnlyText(path)), std::string::npos) << definitions.GetLastError();

    // A variable's answer fields.
    CDataAccess access(test.context, false);
    short table = 0;
    EXPECT_FALSE(access.CreerChampsQuestion(900, 1, 1, table));
    EXPECT_EQ(access.GetErrorText(), ReadOnlyText(path));

    // The inversion, which would write the files beside it.
    EXPECT_EQ(CInversion(test.context).InverserBase(), CInversion::Issue::Failed);
    EXPECT_EQ(test.context.GetLastError(), ReadOnlyText(path));
    EXPECT_FALSE(std::filesystem::exists(test.context.DonnerRepertoireInversion()));

    // qesrun tabulates it; by hand from kClients: 2 "Homme", 1 "Femme" of 3.
    const std::string request = std::filesystem::temp_directory_path() / ("morvane-readonly-" + std::to_string(::getpid()) + ".req");
    std::ofstream(request) << "type tri-simple\nlignes SEXE total\ncalculs 0\n";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(qesrun::Command::Run({path, request}, out, err), qesrun::Command::kTablesPrinted) << err.str();
    std::filesystem::remove(request);
    EXPECT_EQ(out.str(), "Sexe\nBase : 3\nBase : 3\tEffectifs\nHomme\t2\nFemme\t1\nNon interrogé\t0\nTotal\t3\n");
}

TEST(ReadOnlyQuestionnaire, OpensTabulatesAndRefusesEveryWrite) {
    if (std::getenv(kQuestionnaireVariable) != nullptr)
        GTEST_SKIP();
    const bool root = ::geteuid() == 0;
    if (root && ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "setpriv is needed to check as an unprivileged user";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    // The file's mode and its folder's: write-protected in a folder anyone may write, then in one
    // that nobody may write, then a writable file in that folder (no journal could be made).
    const struct {
        mode_t file;
        mode_t folder;
    } cases[] = {{0444, 01777}, {0444, 0555}, {0666, 0555}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.file << " in " << c.folder);
        survey_test::TemporaryFolder folder;
        const std::string path = folder.Sub("lecture.qes");
        WriteQuestionnaire(kClients, path);
        const std::string before = FileBytes(path);
        ASSERT_EQ(::chmod(path.c_str(), c.file), 0);
        ASSERT_EQ(::chmod(folder.Path().c_str(), c.folder), 0);

        const std::string checks = self + " --gtest_filter=ReadOnlyQuestionnaire.ChecksOfAUserWhoCannotWriteIt";
        const std::string as = root ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
        int status = 0;
        const std::string output =
            RunShell("env " + std::string(kQuestionnaireVariable) + "=" + Quoted(path) + " " + as + checks, status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;

        ::chmod(folder.Path().c_str(), 0755);
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
        ::chmod(path.c_str(), 0644);
    }
}
