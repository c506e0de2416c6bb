// A questionnaire whose structure tables (and response tables) come from the input: cells of a
// small questionnaire file are changed as fuzz/QuestionnaireMutations.h says, then the file is
// opened as the program opens it. Opening must refuse it with a message and leave no survey, or
// give a survey whose closed questions make flat tables without a negative count, whose
// one-answer questions have a base equal to the sum of their lines (and, for those of the
// interviews, lines equal to the counts of their codes that SQLite itself finds), and whose other
// questions read without a crash; a table that cannot be made must be said why.
#include <sqlite3.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "fuzz/QuestionnaireMutations.h"
#include "platform/db/Value.h"
#include "recodes/EnregistrerRecodages.h"
#include "tabulation/EnregistrerClassesTabulation.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tests/support/FlatCountTable.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

constexpr const char* kFixture = R"(
questionnaire "Fuzz" language=fr
language 1036 fr "Français"
class 1 "Signalétique"
version 1 "Principal"
interviewer 7 "Durand" "Anne"
chapter 100 SIGNA class=1
  question 1 SEXE closed
    modality 1 fr "Homme"
    modality 2 fr "Femme"
  question 2 AGE numeric
end
question 10 SATISF closed noanswer
  modality 1 fr "Bien"
  modality 2 fr "Mal"
question 11 MARQUES closed answers=2
  modality 1 fr "A"
  modality 2 fr "B"
question 15 CONNU closed
  modality 1 fr "Télévision"
  modality 2 fr "Autre"
  semiopen 101 kind=1 modality=2 fr "Salon"
  semiopen 103 kind=2 fr "Vendeur"
question 14 AVIS open
loop 500 MEMBRES count=2
  question 53 LIEN closed
    modality 1 fr "Conjoint"
    modality 2 fr "Enfant"
end
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 AVISP closed
    modality 1 fr "Bon"
    modality 2 fr "Mauvais"
end
records
Cle1,1;1,2;1,10;1,11;1,11;2,15;1,14;1
1,1,34,1,1,2,1,"Bien"
2,2,51,-1,2,,-101,
3,1,27,2,,,-103,"Bof"
4,2,45,,1,,2,
end
records loop=500
Cle1,Cle2,Ordre,53;1
1,1,1,1
1,2,2,2
3,1,1,2
end
records loop=600
Cle1,Cle2,Ordre,61;1
1,1,1,1
1,2,2,2
2,1,1,2
end
)";

// Questions checked per input: a loop expanded into thousands of iterations is still opened, but
// tabulating every copy would only slow the search down.
constexpr int kQuestionsChecked = 40;
constexpr std::size_t kMutationsRead = 16;

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "fuzz_questionnaire: %s\n", what);
    std::abort();
}

// The user of the run: counts what the core shows.
class CountingUserInterface final : public UserInterface {
public:
    void ShowMessage(const Message& message, Icon) override {
        ++shown;
        if (message.id != StringTable::kReponsesHorsModalites)
            ++explanations;
    }
    bool AskYesNo(const Message&) override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
    void BeginProgress(const Message&, int) override {}
    bool ReportProgress(int) override { return true; }
    void EndProgress() override {}

    int shown = 0;
    int explanations = 0;
};

// The fixture, written once; its bytes are copied into the work file for every input. Its folder
// goes when the run ends.
struct Fixture {
    Fixture() = default;
    Fixture(Fixture&& other) noexcept
        : folder(std::exchange(other.folder, {})), bytes(std::move(other.bytes)), columns(std::move(other.columns)) {}
    Fixture& operator=(Fixture&&) = delete;
    ~Fixture() {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::string bytes;
    std::map<std::string, std::vector<std::string>> columns; // by table
};

const Fixture& TheFixture() {
    static const Fixture fixture = [] {
        CRegistre::InstallStore(std::make_unique<MemorySettingsStore>());
        EnregistrerRecodages();
        EnregistrerClassesTabulation();
        Fixture made;
        // In memory where the system has it: every input writes the file anew.
        const std::filesystem::path memory = "/dev/shm";
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory(memory, error) ? memory : std::filesystem::temp_directory_path();
        made.folder = base / ("morvane-fuzz-questionnaire-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made.folder);
        const std::string pristine = (made.folder / "pristine.qes").string();
        std::filesystem::remove(pristine);
        qesbuild::FixtureDescription description = qesbuild::DescriptionParser::Parse(kFixture, "fuzz.txt", made.folder);
        qesbuild::WriteFixture(description, pristine);
        std::ifstream in(pristine, std::ios::binary);
        made.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        sqlite3* connection = nullptr;
        if (sqlite3_open_v2(pristine.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            for (const char* table : fuzz::kMutableTables) {
                sqlite3_stmt* statement = nullptr;
                const std::string sql = std::string("PRAGMA table_info(\"") + table + "\")";
                if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
                    while (sqlite3_step(statement) == SQLITE_ROW)
                        made.columns[table].emplace_back(
                            reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
                sqlite3_finalize(statement);
            }
        }
        sqlite3_close(connection);
        return made;
    }();
    return fixture;
}

// Reads the input's changes one by one.
class MutationReader {
public:
    MutationReader(const std::uint8_t* data, std::size_t size) : m_next(data), m_end(data + size) {}

    bool Has(std::size_t count) const { return static_cast<std::size_t>(m_end - m_next) >= count; }
    std::uint8_t Byte() { return *m_next++; }
    std::uint64_t Eight() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<std::uint64_t>(*m_next++) << (8 * i);
        return bits;
    }
    std::string Text(std::size_t length) {
        std::string text(reinterpret_cast<const char*>(m_next), length);
        m_next += length;
        return text;
    }

private:
    const std::uint8_t* m_next;
    const std::uint8_t* m_end;
};

std::int64_t RowId(sqlite3* connection, const std::string& table, std::uint8_t position, bool& found) {
    const std::string sql = "SELECT rowid FROM \"" + table + "\" ORDER BY rowid";
    std::vector<std::int64_t> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    found = !rows.empty();
    return found ? rows[position % rows.size()] : 0;
}

// Applies the input's changes to the file; a change SQLite refuses (a key made twice) is left out.
void ApplyMutations(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const Fixture& fixture = TheFixture();
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(connection);
        Fault("cannot open the work file");
    }
    // The damage need not survive a power cut: no waiting for the disk.
    sqlite3_exec(connection, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY; BEGIN", nullptr, nullptr,
                 nullptr);
    MutationReader input(data, size);
    for (std::size_t n = 0; n < kMutationsRead && input.Has(4); ++n) {
        const std::string table = fuzz::kMutableTables[input.Byte() % std::size(fuzz::kMutableTables)];
        const std::uint8_t rowPosition = input.Byte();
        const std::uint8_t columnPosition = input.Byte();
        const std::uint8_t kind = input.Byte();
        const auto columns = fixture.columns.find(table);
        bool hasRow = false;
        const std::int64_t row = RowId(connection, table, rowPosition, hasRow);
        const std::string sql =
            columns == fixture.columns.end() || columns->second.empty()
                ? std::string()
                : "UPDATE \"" + table + "\" SET \"" + columns->second[columnPosition % columns->second.size()] +
                      "\" = ?1 WHERE rowid = ?2";
        sqlite3_stmt* statement = nullptr;
        const bool ready = hasRow && !sql.empty() &&
                           sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK;
        bool complete = true;
        switch (kind % 5) {
        case fuzz::kSmallInteger:
            complete = input.Has(1);
            if (complete && ready)
                sqlite3_bind_int64(statement, 1, static_cast<std::int8_t>(input.Byte()));
            else if (complete)
                input.Byte();
            break;
        case fuzz::kWholeNumber:
        case fuzz::kReal: {
            complete = input.Has(8);
            if (!complete)
                break;
            const std::uint64_t bits = input.Eight();
            if (ready && kind % 5 == fuzz::kWholeNumber) {
                sqlite3_bind_int64(statement, 1, static_cast<sqlite3_int64>(bits));
            } else if (ready) {
                double number = 0.0;
                std::memcpy(&number, &bits, sizeof number);
                sqlite3_bind_double(statement, 1, number);
            }
            break;
        }
        case fuzz::kText: {
            complete = input.Has(1);
            const std::size_t length = complete ? input.Byte() : 0;
            complete = complete && input.Has(length);
            if (!complete)
                break;
            const std::string text = input.Text(length);
            if (ready)
                sqlite3_bind_text(statement, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            if (ready)
                sqlite3_bind_null(statement, 1);
            break;
        }
        if (ready && complete) {
            sqlite3_bind_int64(statement, 2, row);
            sqlite3_step(statement);
        }
        sqlite3_finalize(statement);
        if (!complete)
            break;
    }
    sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(connection);
}

using test_support::FlatTable;

// Per answer code, the records of the interviews' table holding it in the question's first answer
// field, read by SQLite itself; empty when the question is not read from there.
std::map<long long, double> RawCodes(const std::string& path, const CQuestionEtendue& question) {
    std::map<long long, double> raw;
    if (question.level != 0 || !question.values.empty() || question.generated != 0 || question.recodeId != 0 ||
        question.responseTable != 1 || !question.tablePerOrder.empty())
        return raw;
    sqlite3* connection = nullptr;
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "SELECT \"" + std::to_string(question.code) + ";1\" FROM \"VEL Reponse1\"";
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            long long code = 0;
            bool whole = true;
            switch (sqlite3_column_type(statement, 0)) {
            case SQLITE_INTEGER:
                code = sqlite3_column_int64(statement, 0);
                break;
            case SQLITE_FLOAT:
                whole = db::Value(sqlite3_column_double(statement, 0)).toWholeNumber(code) == db::Value::Whole::Exact;
                break;
            case SQLITE_TEXT:
                whole = db::Value(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))))
                            .toWholeNumber(code) == db::Value::Whole::Exact;
                break;
            default:
                whole = false;
                break;
            }
            if (whole)
                raw[code] += 1;
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return raw;
}

void CheckClosed(CContexteEtude& context, CQuestionEtendue& question, CountingUserInterface& user) {
    const int explained = user.explanations;
    const std::unique_ptr<CTableau> table = FlatTable(context, question);
    if (table == nullptr) {
        if (user.explanations == explained)
            Fault("a flat table was not made and nothing said why");
        return;
    }
    double lines = 0.0;
    for (std::int32_t row = 0; row < table->RowCount(); ++row) {
        const double count = table->GetValeur(row, 0);
        if (count < 0.0)
            Fault("a negative count");
        if (row + 1 < table->RowCount())
            lines += count;
    }
    if (table->base < 0.0)
        Fault("a negative base");
    if (question.answerCount != 1 || table->RowCount() == 0)
        return;
    if (lines != table->base || table->GetValeur(table->RowCount() - 1, 0) != table->base)
        Fault("the base of a one-answer question is not the sum of its lines");
    std::map<long long, double> raw = RawCodes(context.questionnairePath, question);
    if (raw.empty() || table->RowCount() != question.GetNbreModalite() + 1)
        return;
    for (int i = 0; i < question.GetNbreModalite(); ++i) {
        const CModaliteEtendue* modality = question.GetModaliteEtendue(i);
        if (modality == nullptr || modality->code == -2)
            continue;
        double expected = raw[modality->code];
        for (const std::int32_t value : modality->values)
            expected += raw[value];
        if (table->GetValeur(i, 0) != expected)
            Fault("a line does not count the answers of its modality");
    }
}

void CheckOther(CContexteEtude& context, CQuestionEtendue& question) {
    CDataAccess access(context, true);
    if (question.EstNumerique() || question.EstDate()) {
        CVecteurDouble* values = nullptr;
        if (access.LireValeursNumeriques(question, values))
            access.MemoriserValeursNumeriques(question, values);
    } else if (question.EstOuverte()) {
        std::vector<std::string> texts;
        access.LireReponsesOuvertes(question, texts);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Fixture& fixture = TheFixture();
    const std::string path = (fixture.folder / "work.qes").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(fixture.bytes.data(), static_cast<std::streamsize>(fixture.bytes.size()));
    }
    ApplyMutations(path, data, size);

    CContexteEtude context;
    auto user = std::make_unique<CountingUserInterface>();
    CountingUserInterface& shown = *user;
    context.SetUserInterface(std::move(user));
    CContexteEtude::RegisterContext(&context);
    context.questionnairePath = path;
    if (!context.OuvrirEtude()) {
        if (shown.shown != 1 || context.DonnerNbreQuestions() != 0 || context.DonnerNbreNiveaux() != 0)
            Fault("a refused questionnaire without its message, or with a survey left");
        return 0;
    }
    if (shown.shown != 0)
        Fault("a questionnaire opened with a message");
    std::vector<CQuestionEtendue*> questions;
    for (const auto& question : context.questions)
        if (static_cast<int>(questions.size()) < kQuestionsChecked)
            questions.push_back(question.get());
    for (CQuestionEtendue* question : questions) {
        if (question->kind == 1 && question->EstFermee())
            CheckClosed(context, *question, shown);
        else
            CheckOther(context, *question);
    }
    return 0;
}
