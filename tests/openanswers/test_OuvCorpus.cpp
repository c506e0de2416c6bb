#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OpenAnswersFixture.h"
#include "openanswers/Tokenizer.h"
#include "tabulation/Tableau.h"

namespace {

using Forms = std::vector<std::pair<std::string, int>>;
constexpr std::uint32_t E = COuvCorpus::kFinReponse;

class OuvCorpusTest : public OpenAnswersTest {};

TEST_F(OuvCorpusTest, DictionaryAndCorpus) {
    OpenAnswers({"L'été, c'est l'ÉTÉ!", "Rouge rouge ROUGE", ""});
    auto corpus = Corpus();
    // Forms in the dictionary order; «ÉTÉ» is «été» folded.
    EXPECT_EQ(Entries(*corpus), (Forms{{"c", 1}, {"est", 1}, {"été", 2}, {"l", 2}, {"rouge", 3}}));
    EXPECT_EQ(corpus->GetNbreFormesSimples(), 5);
    // Ids in the order first met: l 0, été 1, c 2, est 3, rouge 4.
    std::vector<std::int32_t> ids;
    for (int i = 0; i < corpus->GetNbreFormes(); ++i)
        ids.push_back(corpus->DonnerForme(i)->id);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{2, 3, 1, 0, 4}));
    // One run of positions per interview, each closed by the end mark.
    const std::span<const std::uint32_t> tokens = corpus->DonnerCorpus();
    EXPECT_EQ(std::vector<std::uint32_t>(tokens.begin(), tokens.end()),
              (std::vector<std::uint32_t>{3, 2, 0, 1, 3, 2, E, 4, 4, 4, E, E}));
    EXPECT_EQ(corpus->GetNombreReponses(), 3);

    // Read back from the files, the same.
    COuvCorpus reader(context, Named("AVIS"));
    ASSERT_TRUE(reader.Charger());
    EXPECT_EQ(Entries(reader), Entries(*corpus));
    EXPECT_EQ(std::vector<std::uint32_t>(reader.DonnerCorpus().begin(), reader.DonnerCorpus().end()),
              std::vector<std::uint32_t>(tokens.begin(), tokens.end()));
}

TEST_F(OuvCorpusTest, AllAnswersEmpty) {
    OpenAnswers({"", "", " ... "});
    auto corpus = Corpus();
    EXPECT_EQ(corpus->GetNbreFormes(), 0);
    EXPECT_EQ(std::vector<std::uint32_t>(corpus->DonnerCorpus().begin(), corpus->DonnerCorpus().end()),
              (std::vector<std::uint32_t>{E, E, E}));
    ASSERT_TRUE(corpus->ChargerSegments());
    EXPECT_EQ(corpus->GetNbreSegments(), 0);
    EXPECT_EQ(corpus->ConstruireTableauDictionnaire(0, true, 0)->RowCount(), 0);
}

// The Part's binary insertion: a new form takes id E and its place in the order.
TEST_F(OuvCorpusTest, AddingFormsOneByOne) {
    OpenAnswers({""});
    COuvCorpus corpus(context, Named("AVIS"));
    std::vector<std::uint32_t> ids;
    corpus.DecouperReponse("Zèbre, abeille; ZÈBRE été Été", ids);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{0, 1, 0, 2, 2}));
    EXPECT_EQ(Entries(corpus), (Forms{{"abeille", 1}, {"été", 2}, {"zèbre", 2}}));
}

TEST_F(OuvCorpusTest, SortKeys) {
    OpenAnswers({"b a c a", "c b a d"});
    auto corpus = Corpus();
    ASSERT_TRUE(corpus->ChargerSegments());
    std::vector<CForme*> items;
    for (int i = 0; i < corpus->GetNbreFormes(); ++i)
        items.push_back(corpus->DonnerForme(i));
    const auto texts = [&] {
        std::string joined;
        for (const CForme* item : items)
            joined += item->text + ",";
        return joined;
    };
    COuvCorpus::Trier(items, COuvCorpus::kTriFrequence);
    EXPECT_EQ(texts(), "a,b,c,d,");
    COuvCorpus::Trier(items, 9); // an unknown key changes nothing
    EXPECT_EQ(texts(), "a,b,c,d,");
    std::swap(items[0], items[3]);
    COuvCorpus::Trier(items, COuvCorpus::kTriTexte);
    EXPECT_EQ(texts(), "a,b,c,d,");
    // Frequencies: a 3, b 2, c 2, d 1.
    items = {corpus->DonnerForme(3), corpus->DonnerForme(2), corpus->DonnerForme(1), corpus->DonnerForme(0)};
    COuvCorpus::Trier(items, COuvCorpus::kTriFrequence);
    EXPECT_EQ(texts(), "a,b,c,d,");
}

TEST_F(OuvCorpusTest, PresenceMatrixOfTheTypology) {
    OpenAnswers({"rouge vert", "bleu", "vert vert"});
    auto corpus = Corpus();
    int bleu = -1, rouge = -1, vert = -1;
    ASSERT_TRUE(corpus->ChercherForme("bleu", bleu));
    ASSERT_TRUE(corpus->ChercherForme("rouge", rouge));
    ASSERT_TRUE(corpus->ChercherForme("vert", vert));
    const int lemma = corpus->CreerLemme({rouge, bleu});
    std::vector<std::uint8_t> matrix;
    ASSERT_TRUE(corpus->MatriceTypologie(matrix, {lemma}, {vert}));
    // A form of a lemma counts for the lemma.
    EXPECT_EQ(matrix, (std::vector<std::uint8_t>{1, 1, 1, 0, 0, 1}));
}

} // namespace

namespace {

// Cut on several threads, the answers keep the ids of a cut in one pass: forms numbered in the
// order the corpus first meets them.
TEST(DecouperReponses, ManyAnswersCutAsInOnePass) {
    std::vector<std::string> answers;
    const std::vector<std::string> words = {"Très", "bon", "produit", "livraison", "rapide", "ÉTÉ", "été", "cœur"};
    for (int i = 0; i < 45000; ++i) {
        std::string answer;
        for (int w = 0; w < i % 5; ++w)
            answer += words[static_cast<std::size_t>((i * 7 + w * 3) % 8)] + " ";
        // Forms first met late, in the last answers.
        answer += std::to_string(i % 997 + (i > 40000 ? 5000 : 0));
        answers.push_back(answer);
    }
    std::map<std::string, std::uint32_t> first;
    std::vector<std::string> texts;
    std::vector<std::int32_t> frequencies;
    std::vector<std::uint32_t> ids;
    for (const std::string& answer : answers) {
        Tokenizer::Decouper(answer, [&](std::string_view token) {
            const auto [it, added] = first.emplace(std::string(token), static_cast<std::uint32_t>(texts.size()));
            if (added) {
                texts.emplace_back(token);
                frequencies.push_back(0);
            }
            ++frequencies[it->second];
            ids.push_back(it->second);
        });
        ids.push_back(E);
    }
    const COuvCorpus::Decoupage cut = COuvCorpus::DecouperReponses(answers);
    EXPECT_EQ(cut.texts, texts);
    EXPECT_EQ(cut.frequencies, frequencies);
    EXPECT_EQ(cut.ids, ids);
}

} // namespace
