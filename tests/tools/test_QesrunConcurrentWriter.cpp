// qesrun while another connection keeps switching the questionnaire between two states, each
// whole and committed: every table printed is the table of one state, never a mix of both (its
// interview keys, its row question and its column question all read from one commit).
#include "ToolsTestSupport.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesrun/Command.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>

namespace {

using qesrun::Command;
using tools_test::TempFolder;

constexpr int kInterviews = 120;
constexpr int kRuns = 300;

// Interviews keyed 1, 1001, 2001...: their keys span more than the threaded key read needs, so
// that it reads them too. State A: every interview answers 1 to both questions. State B: every
// one answers 2 to both, and an interview keyed 5 is added.
std::string Description() {
    std::string text = R"(
questionnaire "Collecte" language=fr
language 1036 fr "Français"
question 1 SATISF closed
  modality 1 fr "Satisfait"
  modality 2 fr "Insatisfait"
question 2 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
records
Cle1,1;1,2;1
)";
    for (int i = 0; i < kInterviews; ++i)
        text += std::to_string(1 + 1000 * i) + ",1,1\n";
    return text + "end\n";
}

constexpr const char* kStateA = "BEGIN IMMEDIATE; UPDATE \"VEL Reponse1\" SET \"1;1\" = 1, \"2;1\" = 1; "
                                "DELETE FROM \"VEL Reponse1\" WHERE Cle1 = 5; COMMIT;";
constexpr const char* kStateB = "BEGIN IMMEDIATE; UPDATE \"VEL Reponse1\" SET \"1;1\" = 2, \"2;1\" = 2; "
                                "INSERT INTO \"VEL Reponse1\" (Cle1, \"1;1\", \"2;1\") VALUES (5, 2, 2); COMMIT;";

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome Qesrun(const std::string& survey, const std::string& request) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.exitCode = Command::Run({survey, request}, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A connection of its own that writes the state given, or fails the test.
class Writer {
public:
    explicit Writer(const std::string& path) {
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &m_connection, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        // Long enough to outwait any run of qesrun, which keeps commits out while it reads.
        sqlite3_busy_timeout(m_connection, 20000);
    }
    ~Writer() { sqlite3_close_v2(m_connection); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool Write(const char* state) {
        char* error = nullptr;
        const int code = sqlite3_exec(m_connection, state, nullptr, nullptr, &error);
        if (code != SQLITE_OK) {
            ADD_FAILURE() << (error != nullptr ? error : "write failed");
            sqlite3_free(error);
            sqlite3_exec(m_connection, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        return code == SQLITE_OK;
    }

private:
    sqlite3* m_connection = nullptr;
};

TEST(QesrunConcurrentWriter, EveryTableIsTheTableOfOneCommittedState) {
    TempFolder folder;
    const std::string survey = folder.Sub("collecte.qes");
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(Description(), "collecte.txt", {});
    qesbuild::WriteFixture(fixture, survey);
    const std::string request = folder.Sub("cross.req");
    tools_test::WriteText(request, "type tri-croise\nlignes SATISF total\ncolonnes REGION total\ncalculs 0\n");

    // The two tables, each from its state left alone. By hand: A has 120 interviews, all
    // "Satisfait" in "Nord"; B has 121, all "Insatisfait" in "Sud".
    Writer writer(survey);
    ASSERT_TRUE(writer.Write(kStateA));
    const Outcome a = Qesrun(survey, request);
    ASSERT_TRUE(writer.Write(kStateB));
    const Outcome b = Qesrun(survey, request);
    ASSERT_EQ(a.exitCode, Command::kTablesPrinted) << a.err;
    ASSERT_EQ(b.exitCode, Command::kTablesPrinted) << b.err;
    EXPECT_NE(a.out.find("Base : 120\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("\nSatisfait\t120\t0\t0\t120\n"), std::string::npos) << a.out;
    EXPECT_NE(b.out.find("Base : 121\n"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("\nInsatisfait\t0\t121\t0\t121\n"), std::string::npos) << b.out;

    std::atomic<bool> stop{false};
    std::atomic<int> commits{0};
    std::thread switching([&] {
        for (int i = 0; !stop; ++i) {
            if (!writer.Write(i % 2 == 0 ? kStateA : kStateB))
                return;
            ++commits;
            // Pauses of changing length, so that the runs meet both states.
            std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 3000));
        }
    });
    int printed = 0;
    int fromA = 0;
    // On a busy machine the writer may have committed little by the last planned run: the runs go
    // on (within a bound) until it has switched often enough to have met them.
    const auto enoughRuns = [&](int run) { return run >= kRuns && (commits.load() > 20 || run >= 10 * kRuns); };
    for (int run = 0; !enoughRuns(run); ++run) {
        // A pause now and then, as between two commands, where the writer gets the file.
        std::this_thread::sleep_for(std::chrono::milliseconds(run % 3));
        const Outcome outcome = Qesrun(survey, request);
        if (outcome.exitCode != Command::kTablesPrinted) {
            // Held by the writer for longer than a person waits: said so, nothing printed.
            EXPECT_NE(outcome.err.find("est utilisé par un autre programme"), std::string::npos) << outcome.err;
            EXPECT_EQ(outcome.out, "");
            continue;
        }
        ++printed;
        fromA += outcome.out == a.out ? 1 : 0;
        EXPECT_TRUE(outcome.out == a.out || outcome.out == b.out) << "run " << run << ":\n" << outcome.out;
    }
    stop = true;
    switching.join();
    // The writer switched all along, and most runs printed their table.
    EXPECT_GT(commits.load(), 20);
    EXPECT_GT(printed, kRuns / 2);
    EXPECT_GT(fromA, 0);
    EXPECT_LT(fromA, printed);
}

} // namespace
