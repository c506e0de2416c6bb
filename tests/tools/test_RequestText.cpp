#include "tabulation/RequestTestSupport.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"
#include "tools/qesrun/RequestText.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using qesrun::RequestText;

// Requests read against the in-memory survey of RequestFixture: levels "Interviews" (0) and
// "Membres" (7), study field 3 "Hommes", weighting 4 "Redressement A", closed Q1 (1, 2, 3) and
// Q2 (1, 2), Q12 and its grouping Q12G, numeric Q30, open Q31.
class RequestTextTest : public tabulation_test::RequestFixture {
protected:
    RequestText::Result Parse(const std::string& text) { return RequestText::Parse(text, survey); }
};

std::vector<std::int32_t> Codes(const CTraitement::Lignes& lines) {
    std::vector<std::int32_t> codes;
    for (const auto& line : lines)
        codes.push_back(line->code);
    return codes;
}

std::vector<std::int32_t> Codes(const CTraitement::Calculs& calculations) {
    std::vector<std::int32_t> codes;
    for (const auto& calculation : calculations)
        codes.push_back(calculation->code);
    return codes;
}

// What an accepted text must give.
struct Accepted {
    const char* text;
    std::int16_t type;
    std::int16_t rowKind;
    std::int16_t columnKind;
    const char* rowQuestion;
    std::vector<std::int32_t> rowLines;
    const char* columnQuestion; // "" for none
    std::vector<std::int32_t> columnLines;
    std::vector<std::int32_t> calculations;
    const char* title;
};

TEST_F(RequestTextTest, AcceptedTextsGiveTheRequestTheDialogsWouldBuild) {
    const std::vector<Accepted> cases = {
        // Every modality, the calculations the closed-question list selects by default.
        {"type tri-simple\nlignes Q1\n", 1, 0, 4, "Q1", {1, 2, 3}, "", {}, {0, 1}, "Q1"},
        // Type and questions by code; modalities in the order given, the Total line where named.
        {"type 2\nlignes Q1 2 1 total\ncolonnes 2\ncalculs 0 2 4\n",
         2,
         0,
         0,
         "Q1",
         {2, 1, -4},
         "Q2",
         {1, 2},
         {0, 2, 4},
         "Q1 x Q2"},
        // Without a modality named, every modality comes first.
        {"type taux-importance\nlignes Q1 total\ncolonnes Q2\n",
         16,
         0,
         0,
         "Q1",
         {1, 2, 3, -4},
         "Q2",
         {1, 2},
         {0, 1},
         "Q1 x Q2"},
        // Comments, blank lines, blanks around words, CR-LF line ends.
        {"# statistics\r\n\r\n  type   statistiques  \r\nlignes Q30\r\ncalculs 13 2\r\n",
         3,
         5,
         4,
         "Q30",
         {},
         "",
         {},
         {13, 2},
         "Q30"},
        {"type moyenne\nlignes Q1 total\ncolonnes Q30\ntitre Revenu moyen  par groupe\n",
         7,
         0,
         5,
         "Q1",
         {1, 2, 3, -4},
         "Q30",
         {},
         {0, 1},
         "Revenu moyen  par groupe"},
        {"type regroupement\nlignes Q12G\ncalculs 0\n", 9, 1, 4, "Q12G", {}, "", {}, {0}, "Q12G"},
        {"type 12\nlignes Q12G\ncolonnes Q2 total\n",
         12,
         1,
         0,
         "Q12G",
         {},
         "Q2",
         {1, 2, -4},
         {0, 1},
         "Q12G x Q2"},
        {"type classement\nlignes Q1 3\n", 11, 0, 4, "Q1", {3}, "", {}, {}, "Q1"},
        {"type mixte\nlignes Q1 1 stat:0 2 stat:13\n", 15, 0, 4, "Q1", {1, 0, 2, 13}, "", {}, {0, 1}, "Q1"},
    };
    for (const Accepted& expected : cases) {
        SCOPED_TRACE(expected.text);
        const RequestText::Result result = Parse(expected.text);
        ASSERT_NE(result.request, nullptr) << result.line << ": " << result.error;
        const CTraitement& request = *result.request;
        EXPECT_EQ(request.type, expected.type);
        EXPECT_EQ(request.GetTypeAxe(CTraitement::kLignes), expected.rowKind);
        EXPECT_EQ(request.GetTypeAxe(CTraitement::kColonnes), expected.columnKind);
        ASSERT_NE(request.GetQuestionAxe(CTraitement::kLignes), nullptr);
        EXPECT_EQ(request.GetQuestionAxe(CTraitement::kLignes)->name, expected.rowQuestion);
        EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kLignes)), expected.rowLines);
        const CQuestionEtendue* column = request.GetQuestionAxe(CTraitement::kColonnes);
        EXPECT_EQ(column != nullptr ? column->name : std::string(), expected.columnQuestion);
        EXPECT_EQ(Codes(request.GetModalitesAxe(CTraitement::kColonnes)), expected.columnLines);
        EXPECT_EQ(Codes(request.GetCalculsLignes()), expected.calculations);
        EXPECT_EQ(request.title, expected.title);
        EXPECT_EQ(request.mergeOptions.EstVersDossier, 0);
    }
}

TEST_F(RequestTextTest, LinesAreModalityTotalOrStatisticLinesWithTheirLabels) {
    const RequestText::Result result = Parse("type mixte\nlignes Q1 2 total stat:1\ncalculs 0 4\n");
    ASSERT_NE(result.request, nullptr) << result.error;
    const CTraitement::Lignes& lines = result.request->GetModalitesAxe(CTraitement::kLignes);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->label, "M2");
    EXPECT_EQ(dynamic_cast<const CCalcul*>(lines[0].get()), nullptr);
    EXPECT_TRUE(lines[1]->EstTotal());
    EXPECT_EQ(lines[1]->label, "Total");
    ASSERT_NE(dynamic_cast<const CCalcul*>(lines[2].get()), nullptr);
    EXPECT_EQ(lines[2]->label, "Ecart-type");
    // Calculations take the labels of the context's list, kept.
    const CTraitement::Calculs& calculations = result.request->GetCalculsLignes();
    ASSERT_EQ(calculations.size(), 2u);
    EXPECT_EQ(calculations[0]->label, "Effectifs");
    EXPECT_EQ(calculations[1]->label, "Taux d'importance");
    EXPECT_EQ(calculations[1]->kept, 1);
}

TEST_F(RequestTextTest, PopulationLevelAndMergeAreFoundByName) {
    const RequestText::Result byName = Parse("type tri-croise\nlignes Q1\ncolonnes Q2\nchamp Hommes\n"
                                             "redressement Redressement A\nniveau Membres\nfusion 0\n");
    ASSERT_NE(byName.request, nullptr) << byName.error;
    EXPECT_EQ(byName.request->studyFieldId, 3);
    EXPECT_EQ(byName.request->studyFieldName, "Hommes");
    EXPECT_EQ(byName.request->weightingId, 4);
    EXPECT_EQ(byName.request->weightingName, "Redressement A");
    EXPECT_EQ(byName.request->level, 1);
    EXPECT_EQ(byName.request->mergeOptions.Type, 0);

    // Without them: every interview, no weighting, the interviews' level, the default layout.
    const RequestText::Result plain = Parse("type tri-croise\nlignes Q1\ncolonnes Q2\nniveau 7\n");
    ASSERT_NE(plain.request, nullptr) << plain.error;
    EXPECT_EQ(plain.request->studyFieldId, -1);
    EXPECT_EQ(plain.request->weightingId, -1);
    EXPECT_EQ(plain.request->level, 1); // the level of code 7
    EXPECT_EQ(plain.request->mergeOptions.Type, CTypeFusion::kBlocksInColumns);
}

// What a refused text must say: the line (0: the text as a whole) and a part of the message.
struct Refused {
    const char* text;
    int line;
    const char* message;
};

TEST_F(RequestTextTest, RefusedTextsNameTheLineAndWhatIsWrong) {
    const std::vector<Refused> cases = {
        {"lignes Q1\n", 0, "the request has no 'type'"},
        {"type tri-simple\n", 0, "the request has no 'lignes'"},
        {"type tri-simple\nlignes Q1\nfoo bar\n", 3, "unknown key 'foo'"},
        {"type tri-simple\nLignes Q1\n", 2, "unknown key 'Lignes'"},
        {"type 1\n# again\ntype 2\n", 3, "'type' is given twice (first on line 1)"},
        {"type tri-simple\nlignes Q1\ntitre\n", 3, "'titre' needs a value"},
        {"type profils\nlignes Q1\n", 1, "unknown or unsupported type 'profils'"},
        {"type 6\nlignes Q1\n", 1, "unknown or unsupported type '6'"},
        {"type tri-simple croise\nlignes Q1\n", 1, "'type' takes one name or code"},
        {"type tri-simple\nlignes QX\n", 2, "unknown question 'QX'"},
        {"type tri-simple\nlignes 99\n", 2, "unknown question '99'"},
        {"type tri-simple\nlignes Q30\n", 2,
         "question 'Q30' is not closed: 'lignes' of tri-simple needs a closed"},
        {"type tri-simple\nlignes Q31\n", 2, "question 'Q31' is not closed"},
        {"type statistiques\nlignes Q1\n", 2, "question 'Q1' is not numeric"},
        {"type statistiques\nlignes Q30 1\n", 2, "'lignes' of statistiques takes a question alone"},
        {"type regroupement\nlignes Q12\n", 2, "question 'Q12' has no grouping of its modalities"},
        {"type tri-simple\nlignes Q1 1 9\n", 2, "question 'Q1' has no modality 9"},
        {"type tri-simple\nlignes Q1 1 tous\n", 2, "'tous' is not a modality code, 'total' or 'stat:CODE'"},
        {"type tri-simple\nlignes Q1 stat:0\n", 2, "statistics lines 'stat:0' are for the type mixte only"},
        {"type mixte\nlignes Q1 stat:99\n", 2, "unknown statistic 'stat:99'"},
        {"type tri-croise\nlignes Q1\n", 0, "the type tri-croise needs 'colonnes'"},
        {"type tri-simple\nlignes Q1\ncolonnes Q2\n", 3, "the type tri-simple takes no 'colonnes'"},
        {"type moyenne\nlignes Q1\ncolonnes Q2\n", 3, "question 'Q2' is not numeric: 'colonnes' of moyenne"},
        {"type tri-croise\nlignes Q1\ncolonnes Q2 3\n", 3, "question 'Q2' has no modality 3"},
        // The closed-question list of flat tables stops before "Coefficient de pondération".
        {"type tri-simple\nlignes Q1\ncalculs 0 8\n", 3,
         "calculation '8' is not offered for tri-simple (codes: 0 1 2 4 3 5 6 7)"},
        {"type tri-croise\nlignes Q1\ncolonnes Q2\ncalculs 5\n", 4,
         "calculation '5' is not offered for tri-croise"},
        {"type classement\nlignes Q1\ncalculs 0\n", 3, "the type classement takes no calculations"},
        {"type tri-simple\nlignes Q1\nchamp Femmes\n", 3, "unknown study field 'Femmes'"},
        {"type tri-simple\nlignes Q1\nredressement B\n", 3, "unknown weighting 'B'"},
        {"type tri-simple\nlignes Q1\nniveau Foyers\n", 3, "unknown level 'Foyers'"},
        {"type tri-simple\nlignes Q1\nniveau 8\n", 3, "unknown level '8'"},
        {"type tri-simple\nlignes Q1\nfusion 3\n", 3, "'fusion' takes 0"},
        {"type dictionnaire\nlignes Q1\n", 2, "question 'Q1' is not open: 'lignes' of dictionnaire needs an open"},
        {"type reponses-selon\nlignes Q31\ncolonnes Q30\n", 3, "question 'Q30' is not closed"},
        {"type dictionnaire\nlignes Q31\ntri longueur\n", 3, "'tri' takes texte, frequence"},
        {"type dictionnaire\nlignes Q31\nfrequence-minimum -1\n", 3, "'frequence-minimum' takes a whole number"},
        {"type segments\nlignes Q31\nmots-outils 1\n", 3, "the type segments takes no 'mots-outils'"},
        {"type tri-simple\nlignes Q1\ntri texte\n", 3, "the type tri-simple takes no 'tri'"},
        {"type reponses\nlignes Q31\ncalculs 0\n", 3, "the type reponses takes no calculations"},
    };
    for (const Refused& expected : cases) {
        SCOPED_TRACE(expected.text);
        const RequestText::Result result = Parse(expected.text);
        EXPECT_EQ(result.request, nullptr);
        EXPECT_EQ(result.line, expected.line);
        EXPECT_NE(result.error.find(expected.message), std::string::npos) << result.error;
    }
}

// ---- Profiles and styles

// The lines of a profile as "NAME:CODE,CODE" ("|" for a separator, "NAME" for a question alone).
std::vector<std::string> Lines(const CProfil* profile) {
    std::vector<std::string> lines;
    for (int i = 0; profile != nullptr && i < profile->GetCount(); ++i) {
        const CSousProfil* line = profile->GetSousProfil(i);
        if (line->IsSeparator()) {
            lines.emplace_back("|");
            continue;
        }
        std::string text = line->GetQuestion()->name;
        for (std::size_t k = 0; k < line->Modalites().size(); ++k)
            text += (k == 0 ? ":" : ",") + std::to_string(line->Modalites()[k]->code);
        lines.push_back(text);
    }
    return lines;
}

TEST_F(RequestTextTest, ProfileSidesListTheirQuestionsModalitiesSeparatorsAndTotal) {
    struct Case {
        const char* text;
        std::int16_t type;
        std::int16_t rowKind;
        std::int16_t columnKind;
        std::vector<std::string> rows;
        std::int32_t rowTotal;
        std::vector<std::string> columns;
        std::int32_t columnTotal;
        std::vector<std::int32_t> calculations;
        const char* title;
    };
    const std::vector<Case> cases = {
        // Every modality without a list; a list in its order, the Total of the axis inside it.
        {"type profils-croises\nlignes Q1 | Q2:2,total total\ncolonnes 2:1\ncalculs 0 2\n", 8, 2, 2,
         {"Q1:1,2,3", "|", "Q2:2,-4"}, 1, {"Q2:1"}, 0, {0, 2}, "Profils croisés"},
        {"type profils-simples\nlignes | Q1:3 |\n", 4, 2, 4, {"|", "Q1:3", "|"}, 0, {}, 0, {0, 1},
         "Profils simples"},
        {"type profils-statistiques\nlignes Q30 Q30\ncalculs 0 2\n", 5, 3, 4, {"Q30", "Q30"}, 0, {}, 0, {0, 2},
         "Profils statistiques"},
        {"type comparaison\nlignes Q1:1,2 Q2:2,1\n", 10, 2, 4, {"Q1:1,2", "Q2:2,1"}, 0, {}, 0, {0, 1},
         "Comparaison de modalités"},
        {"type profils-moyennes\nlignes Q1 total\ncolonnes Q30\ncalculs 0 10\ntitre Moyennes\n", 13, 2, 3,
         {"Q1:1,2,3"}, 1, {"Q30"}, 0, {0, 10}, "Moyennes"},
        {"type profil-ouvertes\nlignes Q31\n", 21, 7, -1, {"Q31"}, 0, {}, 0, {}, "Profil d'ouvertes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RequestText::Result result = Parse(c.text);
        ASSERT_NE(result.request, nullptr) << result.error;
        const CTraitement& request = *result.request;
        EXPECT_EQ(request.type, c.type);
        EXPECT_EQ(request.GetTypeAxe(CTraitement::kLignes), c.rowKind);
        EXPECT_EQ(request.GetTypeAxe(CTraitement::kColonnes), c.columnKind);
        EXPECT_EQ(Lines(request.GetProfilAxe(CTraitement::kLignes)), c.rows);
        EXPECT_EQ(request.GetTotalAxe(CTraitement::kLignes), c.rowTotal);
        EXPECT_EQ(Lines(request.GetProfilAxe(CTraitement::kColonnes)), c.columns);
        EXPECT_EQ(request.GetTotalAxe(CTraitement::kColonnes), c.columnTotal);
        EXPECT_EQ(Codes(request.GetCalculsLignes()), c.calculations);
        EXPECT_TRUE(request.GetCalculsColonnes().empty());
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.GetStyle(), nullptr);
    }
}

// The dictionary and the segments carry their parameters as row calculation codes: minimum
// frequency, stop words (dictionary only), sort key.
TEST_F(RequestTextTest, OpenAnswerTablesCarryTheirParametersAsCalculations) {
    struct Case {
        const char* text;
        std::int16_t type;
        std::int16_t columnKind;
        std::vector<std::int32_t> calculations;
    };
    const std::vector<Case> cases = {
        {"type dictionnaire\nlignes Q31\nfrequence-minimum 5\nmots-outils 0\ntri frequence\n", 19, 4, {5, 0, 1}},
        {"type dictionnaire\nlignes Q31\n", 19, 4, {0, 1, 0}},
        {"type segments\nlignes Q31\ntri longueur\n", 20, 4, {0, 2}},
        {"type reponses\nlignes Q31\n", 17, -1, {}},
        {"type reponses-selon\nlignes Q31\ncolonnes Q1\n", 18, 6, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RequestText::Result result = Parse(c.text);
        ASSERT_NE(result.request, nullptr) << result.error;
        EXPECT_EQ(result.request->type, c.type);
        EXPECT_EQ(result.request->GetTypeAxe(CTraitement::kLignes), CTraitement::kAxeOuverte);
        EXPECT_EQ(result.request->GetTypeAxe(CTraitement::kColonnes), c.columnKind);
        EXPECT_EQ(Codes(result.request->GetCalculsLignes()), c.calculations);
    }
}

TEST_F(RequestTextTest, ComparisonsTakeStatisticsInColumnsAndOptionsSetTheMergeOptions) {
    const RequestText::Result result =
        Parse("type comparaison\nlignes Q1:1 Q2:1\ncalculs 1\ncalculs-colonnes 0 1\n"
              "options par-ligne ligne-vide sans-libelle\nfusion 2\n");
    ASSERT_NE(result.request, nullptr) << result.error;
    EXPECT_EQ(Codes(result.request->GetCalculsColonnes()), (std::vector<std::int32_t>{0, 1}));
    const CTypeFusion& options = result.request->mergeOptions;
    EXPECT_EQ(options.EstTableauParLigne, 1);
    EXPECT_EQ(options.EstTableauParColonne, 0);
    EXPECT_EQ(options.IsEmptyLinePerQuestion, 1);
    EXPECT_EQ(options.EstLibelleTraitement, 0);
    EXPECT_EQ(options.Type, 2);
}

TEST_F(RequestTextTest, StyleLinesMakeTheStyleInTheirOrder) {
    const RequestText::Result result = Parse("type tableau-evolue\nlignes Q1\ncolonnes Q2\n"
                                             "style marge 0 colonne\n"
                                             "style cellule 2\n"
                                             "style marge 11\n"
                                             "style statistique 10 deux\n"
                                             "style test  khi2=??K?? ddl=??D?? \n"
                                             "style marge 1 ligne\n");
    ASSERT_NE(result.request, nullptr) << result.error;
    const CStyle* style = result.request->GetStyle();
    ASSERT_NE(style, nullptr);
    struct Line {
        std::int16_t type;
        std::int32_t kind;
        std::int16_t position;
        const char* label;
        const char* text;
    };
    const std::vector<Line> expected = {
        {1, 0, 0, "Effectifs", ""},   {0, 2, 2, "Profils colonnes", ""},
        {1, 11, 2, "Ecart-type", ""}, {2, 10, 2, "Significativité", ""},
        {3, 0, 2, "Test khi2", "khi2=??K?? ddl=??D??"}, {1, 1, 1, "Pourcentage", ""},
    };
    ASSERT_EQ(style->GetCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < style->GetCount(); ++i) {
        SCOPED_TRACE(i);
        const CCalculEvolue& line = *style->GetAt(i);
        const Line& want = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(line.type, want.type);
        EXPECT_EQ(line.code, want.kind);
        EXPECT_EQ(line.position, want.position);
        EXPECT_EQ(line.label, want.label);
        EXPECT_EQ(line.testLineText, want.text);
        EXPECT_EQ(line.studyFieldId, -1);
        EXPECT_EQ(line.weightingId, -1);
    }
    EXPECT_EQ(result.request->title, "Tableaux évolués");
}

TEST_F(RequestTextTest, FaultyProfilesAndStylesAreRefusedWithTheirLine) {
    const std::vector<Refused> cases = {
        {"type profils-croises\nlignes Q1\n", 0, "the type profils-croises needs 'colonnes'"},
        {"type profils-simples\nlignes QX\n", 2, "unknown question 'QX'"},
        {"type profils-simples\nlignes Q1:1,9\n", 2, "question 'Q1' has no modality 9"},
        {"type profils-simples\nlignes Q1:1,,2\n", 2, "'' in the modalities of 'Q1' is not a modality code or 'total'"},
        {"type profils-simples\nlignes Q1:\n", 2, "'Q1:' lists no modality"},
        {"type profils-simples\nlignes Q30\n", 2, "question 'Q30' is not closed"},
        {"type profils-simples\nlignes | |\n", 2, "'lignes' names no question"},
        {"type profils-statistiques\nlignes Q1\n", 2, "question 'Q1' is not numeric"},
        {"type profils-statistiques\nlignes Q30:1\n", 2, "'lignes' lists questions alone"},
        {"type profils-statistiques\nlignes Q30 total\n", 2, "'total' is for profiles of closed questions only"},
        {"type profils-moyennes\nlignes Q1\ncolonnes Q2\n", 3, "question 'Q2' is not numeric"},
        {"type profil-ouvertes\nlignes Q1\n", 2, "question 'Q1' is not open"},
        {"type profil-ouvertes\nlignes Q31\ncolonnes Q31\n", 3, "the type profil-ouvertes takes no 'colonnes'"},
        {"type profil-ouvertes\nlignes Q31\ncalculs 0\n", 3, "the type profil-ouvertes takes no calculations"},
        {"type profils-simples\nlignes Q1\ncalculs-colonnes 0\n", 3,
         "the type profils-simples takes no column calculations"},
        {"type comparaison\nlignes Q1\ncalculs-colonnes 99\n", 3, "calculation '99' is not offered for comparaison"},
        {"type profils-simples\nlignes Q1\noptions tout\n", 3, "unknown option 'tout'"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\n", 0, "the type tableau-evolue needs at least one 'style' line"},
        {"type profils-croises\nlignes Q1\ncolonnes Q2\nstyle cellule 0\n", 4,
         "the type profils-croises takes no 'style'"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle cellule 0\nstyle somme 0\n", 5,
         "unknown style line 'somme'"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle cellule 5\n", 4, "unknown kind '5' for a line cellule"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle marge 2\n", 4, "unknown kind '2' for a line marge"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle cellule\n", 4, "'style cellule' takes a kind code"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle cellule 0 ligne\n", 4,
         "'ligne' is no place of a line cellule"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle statistique 0 colonne\n", 4,
         "'colonne' is no place of a line statistique"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle test\n", 4, "a test line needs its text"},
        {"type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle test a;b\n", 4,
         "the text of a test line may hold neither ';' nor '|'"},
    };
    for (const Refused& expected : cases) {
        SCOPED_TRACE(expected.text);
        const RequestText::Result result = Parse(expected.text);
        EXPECT_EQ(result.request, nullptr);
        EXPECT_EQ(result.line, expected.line);
        EXPECT_NE(result.error.find(expected.message), std::string::npos) << result.error;
    }
}

} // namespace
