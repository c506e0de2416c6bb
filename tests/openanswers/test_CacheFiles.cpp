#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OpenAnswersFixture.h"
#include "app/StringTable.h"
#include "openanswers/Forme.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// 16 bytes a line, lower-case hexadecimal, as the golden files are written by hand.
std::string HexDump(const Bytes& bytes) {
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        text += hex;
        text += (i % 16 == 15 || i + 1 == bytes.size()) ? "\n" : " ";
    }
    return text;
}

std::string Golden(const char* name) {
    std::ifstream file(std::string(MORVANE_SOURCE_DIR) + "/tests/golden/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

const std::vector<std::string> kThreeAnswers = {"très bon produit", "bon produit", ""};

class LexicalCacheFilesTest : public OpenAnswersTest {};

TEST_F(LexicalCacheFilesTest, ThreeAnswersByteForByte) {
    OpenAnswers(kThreeAnswers);
    auto corpus = Corpus();
    ASSERT_TRUE(corpus->ChargerSegments());
    int bon = -1;
    int produit = -1;
    ASSERT_TRUE(corpus->ChercherForme("bon", bon));
    ASSERT_TRUE(corpus->ChercherForme("produit", produit));
    corpus->CreerLemme({bon, produit});
    // Checked by hand against the layout: see tests/golden/openanswers-3-answers.md.
    for (const char* prefix : {"Dic", "Crp", "Sgm", "Lem"})
        EXPECT_EQ(HexDump(FileBytes(prefix)), Golden((std::string("openanswers-3-answers.") + prefix + ".hex").c_str()))
            << prefix;
}

TEST_F(LexicalCacheFilesTest, NamesCarryTheQuestionAndItsLoopKeys) {
    CQuestionEtendue question(nullptr);
    question.code = 14;
    EXPECT_EQ(LexicalCacheFiles::Nom("Dic", question), "Dic14");
    question.values = {3, -1};
    EXPECT_EQ(LexicalCacheFiles::Nom("Sgm", question), "Sgm14;3;-1");
}

// The length of a STRING: one byte below 255, else 0xFF and 16 bits.
TEST(LexicalCacheStrings, LengthEncodings) {
    struct Case {
        std::size_t length;
        Bytes head;
    };
    const std::vector<Case> cases = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        CArchiveVersion out;
        const std::string text(c.length, 'a');
        LexicalCacheFiles::EcrireChaine(out, text);
        const Bytes& bytes = out.GetBytes();
        ASSERT_EQ(bytes.size(), c.head.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.head.size())), c.head) << c.length;
        CArchiveVersion in(bytes);
        EXPECT_EQ(in.ReadString(), text) << c.length;
    }
    // A form with an accent is one byte per letter; a label the code page cannot hold takes the
    // archive's Unicode form, which the reader accepts.
    CArchiveVersion accent;
    LexicalCacheFiles::EcrireChaine(accent, "été");
    EXPECT_EQ(accent.GetBytes(), (Bytes{0x03, 0xE9, 0x74, 0xE9}));
    CArchiveVersion greek;
    LexicalCacheFiles::EcrireChaine(greek, "\u0394");
    EXPECT_EQ(greek.GetBytes(), (Bytes{0xFF, 0xFE, 0xFF, 0x01, 0x94, 0x03}));
    CArchiveVersion back(greek.GetBytes());
    EXPECT_EQ(back.ReadString(), "\u0394");
}

// A COUNT of forms below 0xFFFF is a word; from 0xFFFF on, 0xFFFF and a DWORD.
TEST(LexicalCacheStrings, DictionaryOfSixtyFiveThousandForms) {
    for (const std::uint32_t count : {0xFFFEu, 0xFFFFu}) {
        std::vector<std::unique_ptr<CForme>> forms;
        char text[16];
        for (std::uint32_t i = 0; i < count; ++i) {
            std::snprintf(text, sizeof text, "w%05u", i);
            forms.push_back(std::make_unique<CForme>(static_cast<std::int32_t>(i), text));
        }
        CArchiveVersion out;
        LexicalCacheFiles::EcrireDictionnaire(out, 0, forms);
        const Bytes& bytes = out.GetBytes();
        const Bytes head(bytes.begin() + 4, bytes.begin() + 10);
        if (count == 0xFFFE)
            EXPECT_EQ(Bytes(head.begin(), head.begin() + 2), (Bytes{0xFE, 0xFF}));
        else
            EXPECT_EQ(head, (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
        CArchiveVersion in(bytes);
        const LexicalCacheFiles::Dictionnaire read = LexicalCacheFiles::LireDictionnaire(in);
        ASSERT_EQ(read.texts.size(), count);
        EXPECT_EQ(read.texts.back(), forms.back()->text);
        EXPECT_EQ(read.ids.back(), static_cast<std::int32_t>(count - 1));
    }
}

TEST_F(LexicalCacheFilesTest, LemmaCreatedThenDissolved) {
    OpenAnswers({"rouge vert bleu", "Rouge, VERT et bleu", "vert"});
    auto corpus = Corpus();
    int rouge = -1, vert = -1, bleu = -1;
    ASSERT_TRUE(corpus->ChercherForme("rouge", rouge));
    ASSERT_TRUE(corpus->ChercherForme("vert", vert));
    ASSERT_TRUE(corpus->ChercherForme("bleu", bleu));
    const int first = corpus->CreerLemme({rouge, vert});
    EXPECT_EQ(corpus->DonnerForme(first)->frequency, 2 + 3);
    // A lemma made of a lemma and a form groups the forms of both and hides the first lemma.
    const int second = corpus->CreerLemme({first, bleu});
    EXPECT_EQ(corpus->DonnerForme(first)->valid, 0);
    std::vector<std::int32_t> group;
    corpus->DonnerForme(second)->DonnerFormes(group);
    EXPECT_EQ(group, (std::vector<std::int32_t>{rouge, vert, bleu}));
    int found = -1;
    EXPECT_FALSE(corpus->ChercherForme("vert", found));
    // Forms ids: rouge 0, vert 1, bleu 2, et 3; the lemmas take 4 then 5. Only the valid one is
    // in the file: "rouge", id 5, and the texts of its three forms in the lemma's order.
    const Bytes lemmas = {0x01, 0x00, 0x05, 'r', 'o', 'u', 'g', 'e', 0x05, 0x00, 0x00, 0x00, 0x03, 0x00,
                          0x05, 'r',  'o',  'u', 'g', 'e', 0x04, 'v',  'e',  'r',  't',  0x04, 'b',  'l', 'e', 'u'};
    EXPECT_EQ(FileBytes("Lem"), lemmas);

    std::vector<int> freed;
    corpus->DissocierLemme(second, freed);
    EXPECT_EQ(freed, (std::vector<int>{rouge, vert, bleu}));
    EXPECT_EQ(FileBytes("Lem"), (Bytes{0x00, 0x00}));
    EXPECT_EQ(corpus->DonnerForme(vert)->valid, 1);
    EXPECT_EQ(corpus->DonnerForme(vert)->frequency, 3);
    EXPECT_TRUE(corpus->ChercherForme("vert", found));
}

// A file altered in any way is not believed: the engine builds it again from the answers, and
// what it then holds is what a clean build holds.
TEST_F(LexicalCacheFilesTest, DamagedFilesAreRebuilt) {
    OpenAnswers(kThreeAnswers);
    const std::vector<std::pair<std::string, int>> clean = Entries(*Corpus());
    const Bytes dic = FileBytes("Dic");
    const Bytes crp = FileBytes("Crp");
    struct Case {
        const char* name;
        const char* file;
        std::function<void(Bytes&)> damage;
    };
    const std::vector<Case> cases = {
        {"Dic truncated", "Dic", [](Bytes& b) { b.pop_back(); }},
        {"Dic with a byte more", "Dic", [](Bytes& b) { b.push_back(0); }},
        {"Dic total too large", "Dic", [](Bytes& b) { b[0] = 6; }},
        {"Dic forms out of order", "Dic", [](Bytes& b) { b[7] = 'z'; }},
        {"Dic with a repeated id", "Dic", [](Bytes& b) { b[22] = 1; }},
        {"Dic empty", "Dic", [](Bytes& b) { b.clear(); }},
        {"Crp id not in the dictionary", "Crp", [](Bytes& b) { b[4] = 9; }},
        {"Crp counts not adding up", "Crp", [](Bytes& b) { b[16] = 1; }},
        {"Crp stale", "Crp", [](Bytes& b) { b[0] = 2; }},
        {"Crp missing", "Crp", [](Bytes& b) { b.clear(); }},
    };
    for (const Case& c : cases) {
        Bytes damaged = FileBytes(c.file);
        c.damage(damaged);
        WriteBytes(c.file, damaged);
        COuvCorpus probe(context, Named("AVIS"));
        EXPECT_FALSE(probe.Charger()) << c.name;
        EXPECT_EQ(Entries(*Corpus()), clean) << c.name;
        EXPECT_EQ(FileBytes("Dic"), dic) << c.name;
        EXPECT_EQ(FileBytes("Crp"), crp) << c.name;
    }
}

TEST_F(LexicalCacheFilesTest, DamagedSegmentsAreComputedAgain) {
    OpenAnswers(kThreeAnswers);
    auto corpus = Corpus();
    ASSERT_TRUE(corpus->ChargerSegments());
    const Bytes sgm = FileBytes("Sgm");
    struct Case {
        const char* name;
        std::size_t at;
        std::uint8_t value;
    };
    // Offsets in the Sgm file of the golden fixture (tests/golden/openanswers-3-answers.md).
    const std::vector<Case> cases = {
        {"answer index out of the corpus", 22, 3},
        {"form index out of the dictionary", 32, 3},
        {"unknown class", 8, 'X'},
        {"segment of one form", 26, 1},
    };
    for (const Case& c : cases) {
        Bytes damaged = sgm;
        damaged[c.at] = c.value;
        WriteBytes("Sgm", damaged);
        auto reader = Corpus();
        EXPECT_FALSE(reader->ChargerFichierSegments()) << c.name;
        ASSERT_TRUE(reader->ChargerSegments()) << c.name;
        EXPECT_EQ(SegmentTexts(*reader), std::vector<std::string>{"bon produit"}) << c.name;
        EXPECT_EQ(FileBytes("Sgm"), sgm) << c.name;
    }
}

// Interviews added since the files were written: Dic and Crp are built again, the segments go
// and the lemmas come back from the Lem file by their texts.
TEST_F(LexicalCacheFilesTest, ChangedInterviewCountRebuilds) {
    OpenAnswers({"bon produit", "très bon produit", "produit cher"});
    {
        auto corpus = Corpus();
        ASSERT_TRUE(corpus->ChargerSegments());
        int bon = -1, cher = -1;
        ASSERT_TRUE(corpus->ChercherForme("bon", bon));
        ASSERT_TRUE(corpus->ChercherForme("cher", cher));
        corpus->CreerLemme({cher, bon});
    }
    ASSERT_TRUE(std::filesystem::exists(CacheFile("Sgm")));
    // The same questionnaire with a fourth interview, written over the first.
    const std::string path = context.questionnairePath;
    context.FermerEtude();
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
        Description({"Aucun avis", "bon produit", "très bon produit", "produit cher"}, {}), "avis.txt", folder);
    std::filesystem::remove(path);
    qesbuild::WriteFixture(fixture, path);
    context.questionnairePath = path;
    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();

    auto corpus = Corpus();
    EXPECT_FALSE(std::filesystem::exists(CacheFile("Sgm")));
    EXPECT_EQ(FileBytes("Crp")[0], 4);
    int lemma = -1;
    ASSERT_TRUE(corpus->ChercherForme("cher", lemma));
    EXPECT_GE(lemma, corpus->GetNbreFormesSimples());
    EXPECT_EQ(corpus->DonnerForme(lemma)->frequency, 1 + 2);
    EXPECT_EQ(Entries(*corpus), (std::vector<std::pair<std::string, int>>{
                                    {"aucun", 1}, {"avis", 1}, {"produit", 3}, {"très", 1}, {"cher", 3}}));
}

// Only the answers of the interviews count, once per interview: an open question asked in a
// loop is refused with a message naming it.
TEST_F(LexicalCacheFilesTest, RefusesAQuestionBelowTheInterviews) {
    OpenFixture("questionnaire \"Q\" language=fr\n"
                "language 1036 fr \"Français\"\n"
                "loop 500 PERSONNES count=2\n"
                "  caption fr \"Personnes\"\n"
                "  question 51 PRENOM open\n"
                "    caption fr \"Prénom\"\n"
                "end\n"
                "records\nCle1\n1\nend\n"
                "records loop=500\nCle1,Cle2,Ordre,51;1\n1,1,1,\"Anne\"\nend\n",
                "boucle");
    COuvCorpus corpus(context, Named("PRENOM"));
    EXPECT_FALSE(corpus.Ouvrir());
    EXPECT_EQ(corpus.GetErreur().id, StringTable::kOuverteHorsNiveauInterview);
    ASSERT_FALSE(corpus.GetErreur().arguments.empty());
    EXPECT_EQ(corpus.GetErreur().arguments[0], "Prénom");
}

} // namespace
