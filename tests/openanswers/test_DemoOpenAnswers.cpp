// The open-answer tables of the dispatcher on the demo's open question SERVICE ("Avis sur le
// service"), checked against the answers read straight from the demo file and counted here with
// a tokenizer of the test's own, written from the rule: digits and the letters of Windows-1252
// are word characters, everything else separates, capitals are lowered.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/TableauxReponses.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/qesbuild/DemoSurvey.h"

namespace {

constexpr int kInterviews = 400;

// The letters of Windows-1252 beyond ASCII, capitals first then small letters, as listed in the
// code page (0x8A Š, 0x8C Œ, 0x8E Ž, 0x9F Ÿ, 0xC0 .. 0xDE but ×; 0x9A š, 0x9C œ, 0x9E ž, 0x83 ƒ,
// 0xAA ª, 0xB5 µ, 0xBA º, 0xDF .. 0xFF but ÷).
const std::u32string kCapitals = U"ŠŒŽŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ";
const std::u32string kSmall = U"šœžÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ";
const std::u32string kOthers = U"ƒªµºß";

std::u32string Decode(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t value = length == 1 ? c : c & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            value = (value << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(value);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string Encode(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::vector<std::string> OwnTokens(const std::string& answer) {
    std::vector<std::string> tokens;
    std::u32string token;
    for (char32_t c : Decode(answer) + U" ") {
        if (c >= U'A' && c <= U'Z')
            c = c - U'A' + U'a';
        if (const std::size_t capital = kCapitals.find(c); capital != std::u32string::npos)
            c = kSmall[capital];
        const bool letter = (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') ||
                            kSmall.find(c) != std::u32string::npos || kOthers.find(c) != std::u32string::npos;
        if (letter) {
            token.push_back(c);
        } else if (!token.empty()) {
            tokens.push_back(Encode(token));
            token.clear();
        }
    }
    return tokens;
}

class DemoOpenAnswersTest : public SettingsFixture {
protected:
    static void SetUpTestSuite() {
        // One folder per process: ctest runs the tests of the suite in several at once.
        folder = new std::filesystem::path(std::filesystem::path(::testing::TempDir()) /
                                           ("demo_open_answers_" + std::to_string(getpid())));
        std::filesystem::remove_all(*folder);
        qesbuild::DemoSurvey::Write(*folder, qesbuild::DemoSurvey::kSeed, kInterviews);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*folder);
        delete folder;
        folder = nullptr;
    }

    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerOuvertes();
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        context.questionnairePath = (*folder / "demo.qes").string();
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        service = context.TrouverQuestionParNom("SERVICE");
        satisfaction = context.TrouverQuestionParNom("SATISF");
        ASSERT_NE(service, nullptr);
        ASSERT_NE(satisfaction, nullptr);
        ReadRaw();
    }

    // The opinions and the satisfaction codes, straight from the response table in key order.
    void ReadRaw() {
        db::Database database(context.questionnairePath, db::Database::Access::ReadOnly);
        db::Recordset records(database, "VEL Reponse1");
        records.setCurrentIndex("PrimaryKey");
        for (; !records.isEOF(); records.moveNext()) {
            const db::Value opinion = records.value("14;1");
            opinions.push_back(opinion.isNull() ? std::string() : opinion.toText());
            const db::Value code = records.value("10;1");
            satisfactions.push_back(code.isNull() ? 0 : code.toInteger());
        }
        ASSERT_EQ(opinions.size(), static_cast<std::size_t>(kInterviews));
    }

    std::vector<std::unique_ptr<CTableau>> Run(std::unique_ptr<CTraitement> request) {
        CExecuteurTraitement runner(context);
        EXPECT_EQ(runner.Executer(std::move(request)), 1);
        return runner.TakeTableaux();
    }

    std::unique_ptr<CTraitement> Request(std::int16_t type, std::vector<std::int32_t> parameters) {
        auto request = std::make_unique<CTraitement>();
        request->type = type;
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeOuverte);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        request->SetQuestionAxe(service, CTraitement::kLignes);
        std::vector<std::unique_ptr<CCalcul>> calculations;
        for (const std::int32_t code : parameters)
            calculations.push_back(std::make_unique<CCalcul>(code, "", true));
        request->SetCalculsLignes(calculations);
        request->title = "Titre de la demande";
        return request;
    }

    static inline std::filesystem::path* folder = nullptr;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
    CQuestionEtendue* service = nullptr;
    CQuestionEtendue* satisfaction = nullptr;
    std::vector<std::string> opinions;
    std::vector<long long> satisfactions;
};

TEST_F(DemoOpenAnswersTest, ListedAnswers) {
    const auto tables = Run(TableauxReponses::TraitementReponses(*service));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.title, "Avis sur le service");
    EXPECT_EQ(table.base, kInterviews);
    EXPECT_EQ(table.GetLibelleColonne(0, 0), "Numéro d'interview");
    ASSERT_NE(table.GetTraitement(), nullptr);
    EXPECT_EQ(table.GetTraitement()->type, CTraitement::kOuvertesListees);
    std::int32_t row = 0;
    for (std::size_t i = 0; i < opinions.size(); ++i) {
        if (opinions[i].empty())
            continue;
        ASSERT_LT(row, table.RowCount());
        EXPECT_EQ(table.GetLibelleLigne(0, row), opinions[i]);
        EXPECT_EQ(table.GetValeur(row, 0), static_cast<double>(i + 1));
        ++row;
    }
    EXPECT_EQ(row, table.RowCount());
}

TEST_F(DemoOpenAnswersTest, AnswersBySatisfaction) {
    const auto tables = Run(TableauxReponses::TraitementReponsesSelon(*service, *satisfaction));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.title, "Avis sur le service x Satisfaction globale");
    // Modalities 1 .. 5, then the non-response (-1) the question offers.
    std::int32_t row = 0;
    for (const long long code : {1LL, 2LL, 3LL, 4LL, 5LL, -1LL}) {
        const int index = satisfaction->TrouverModalite(static_cast<std::int32_t>(code));
        ASSERT_GE(index, 0) << code;
        for (std::size_t i = 0; i < opinions.size(); ++i) {
            if (opinions[i].empty() || satisfactions[i] != code)
                continue;
            ASSERT_LT(row, table.RowCount());
            EXPECT_EQ(table.GetLibelleLigne(0, row), CLigne(*satisfaction->GetModaliteEtendue(index)).label);
            EXPECT_EQ(table.GetLibelleLigne(1, row), opinions[i]);
            EXPECT_EQ(table.GetValeur(row, 0), static_cast<double>(i + 1));
            ++row;
        }
    }
    EXPECT_EQ(row, table.RowCount());
}

// The dictionary equals the count of the test's own tokenizer, form by form.
TEST_F(DemoOpenAnswersTest, DictionaryEqualsAnIndependentCount) {
    std::map<std::string, int> counts;
    for (const std::string& opinion : opinions)
        for (const std::string& token : OwnTokens(opinion))
            ++counts[token];
    // Minimum frequency 0, stop words listed, sorted by text.
    const auto tables = Run(Request(CTraitement::kOuvertesDictionnaire, {0, 1, 0}));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.title, "Titre de la demande");
    EXPECT_EQ(table.base, kInterviews);
    std::map<std::string, int> printed;
    for (std::int32_t r = 0; r < table.RowCount(); ++r)
        printed[table.GetLibelleLigne(0, r)] = static_cast<int>(table.GetValeur(r, 0));
    EXPECT_EQ(printed, counts);
    // With a minimum of 100, the forms met 100 times or more.
    const auto frequent = Run(Request(CTraitement::kOuvertesDictionnaire, {100, 1, 1}));
    ASSERT_EQ(frequent.size(), 1u);
    const long expected = std::count_if(counts.begin(), counts.end(), [](const auto& c) { return c.second >= 100; });
    EXPECT_EQ(frequent[0]->RowCount(), expected);
    for (std::int32_t r = 1; r < frequent[0]->RowCount(); ++r)
        EXPECT_GE(frequent[0]->GetValeur(r - 1, 0), frequent[0]->GetValeur(r, 0));
}

// Each segment's frequency is its number of places inside answers, counted here.
TEST_F(DemoOpenAnswersTest, SegmentsAreCountedWhereTheyLie) {
    std::vector<std::vector<std::string>> answers;
    for (const std::string& opinion : opinions)
        answers.push_back(OwnTokens(opinion));
    const auto tables = Run(Request(CTraitement::kOuvertesSegments, {10, 2}));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    ASSERT_GT(table.RowCount(), 5);
    for (std::int32_t r = 0; r < table.RowCount(); ++r) {
        std::vector<std::string> run;
        std::string text = table.GetLibelleLigne(0, r) + " ";
        for (std::size_t start = 0, blank; (blank = text.find(' ', start)) != std::string::npos; start = blank + 1)
            run.push_back(text.substr(start, blank - start));
        int places = 0;
        for (const auto& answer : answers)
            for (std::size_t i = 0; i + run.size() <= answer.size(); ++i)
                places += std::equal(run.begin(), run.end(), answer.begin() + static_cast<std::ptrdiff_t>(i));
        EXPECT_GE(run.size(), 2u) << text;
        EXPECT_EQ(table.GetValeur(r, 0), places) << text;
        EXPECT_GE(places, 10) << text;
        if (r > 0) {
            EXPECT_GE(std::count(table.GetLibelleLigne(0, r - 1).begin(), table.GetLibelleLigne(0, r - 1).end(), ' '),
                      std::count(text.begin(), text.end(), ' ') - 1);
        }
    }
}

// Fewer row calculations than the table reads: nothing is computed, nothing is said.
TEST_F(DemoOpenAnswersTest, TooFewParametersComputeNothing) {
    EXPECT_TRUE(Run(Request(CTraitement::kOuvertesDictionnaire, {0, 1})).empty());
    EXPECT_TRUE(Run(Request(CTraitement::kOuvertesSegments, {0})).empty());
    EXPECT_TRUE(ui->shown.empty());
}

} // namespace
