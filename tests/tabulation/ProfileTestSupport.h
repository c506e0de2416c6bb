#pragma once

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Registre.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Profil.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace profile_test {

// Ten interviews. ACHAT takes up to two products; NOTE1 and NOTE2 rate on the same scale (the
// value of a modality is its code); MONTANT and DUREE are free numbers; AVIS and REMARQUE open.
// LIEN and PRENOM are asked per member of the household (a loop): they cannot be read per
// interview.
//
//   intvw  SEXE   AGE     ACHAT        NOTE1  NOTE2  MONTANT  DUREE  AVIS      REMARQUE
//   1      Homme  Jeune   Pain Lait    3      2      10       5      Bien
//   2      Homme  Moyen   Lait         2      2      20       15               Trop cher
//   3      Homme  -       -            1      3      30       -
//   4      Femme  Senior  Pain Oeufs   3      -      40       25     Rapide    Merci
//   5      Femme  Jeune   Lait Oeufs   -      1      50       35
//   6      Femme  Moyen   Pain         2      3      n-r      45     Lent
//   7      -      Jeune   Pain         1      1      70       55
//   8      Femme  Senior  Oeufs        3      2      -        65     Parfait
//   9      Homme  Moyen   -            -      -      -        -
//   10     -      -       Lait         2      -      -        -
//
// "-" is not asked (an empty field), "n-r" the non-response value. Interviews 9 and 10 answered
// only one side of the crosses below (SEXE and AGE against ACHAT and NOTE1): they make no pair.
constexpr const char* kSurvey = R"(
questionnaire "Profils" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE closed
  caption fr "Age"
  modality 1 fr "Jeune"
  modality 2 fr "Moyen"
  modality 3 fr "Senior"
question 3 ACHAT closed answers=2
  caption fr "Achats"
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  modality 3 fr "Oeufs"
question 4 NOTE1 closed
  caption fr "Accueil"
  modality 1 value=1 fr "Mauvais"
  modality 2 value=2 fr "Moyen"
  modality 3 value=3 fr "Bon"
question 5 NOTE2 closed
  caption fr "Service"
  modality 1 value=1 fr "Mauvais"
  modality 2 value=2 fr "Moyen"
  modality 3 value=3 fr "Bon"
question 6 MONTANT numeric
  caption fr "Montant"
question 7 DUREE numeric
  caption fr "Durée"
question 8 AVIS open
  caption fr "Avis"
question 9 REMARQUE open
  caption fr "Remarque"
loop 500 MEMBRES count=2
  caption fr "Membres"
  question 51 LIEN closed
    caption fr "Lien"
    modality 1 fr "Parent"
    modality 2 fr "Enfant"
  question 52 PRENOM open
    caption fr "Prénom"
end
records
Cle1,1;1,2;1,3;1,3;2,4;1,5;1,6;1,7;1,8;1,9;1
1,1,1,1,2,3,2,10,5,Bien,
2,1,2,2,,2,2,20,15,,Trop cher
3,1,,,,1,3,30,,,
4,2,3,1,3,3,,40,25,Rapide,Merci
5,2,1,2,3,,1,50,35,,
6,2,2,1,,2,3,-999999.99,45,Lent,
7,,1,1,,1,1,70,55,,
8,2,3,3,,3,2,,65,Parfait,
9,1,2,,,,,,,,
10,,,2,,2,,,,,
end
records loop=500
Cle1,Cle2,Ordre,51;1,52;1
1,1,1,1,Paul
1,2,2,2,Léa
2,1,1,1,Anne
end
)";

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr double kTolerance = 1e-9;

using Block = std::vector<std::vector<double>>;
using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

// A line of a profile: a question by name with the codes of its chosen modalities; no name makes
// a separator.
struct Line {
    const char* question;
    std::vector<std::int32_t> codes;
};

struct Calc {
    std::int32_t code;
    const char* label;
};

inline void ExpectBlock(const Block& expected, const std::function<double(int, int)>& cell,
                        const std::string& what) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (std::size_t j = 0; j < expected[i].size(); ++j)
            EXPECT_NEAR(cell(static_cast<int>(i), static_cast<int>(j)), expected[i][j], kTolerance)
                << what << ", line " << i << ", column " << j;
}

inline void ExpectTable(const CTableau& table, const Block& expected, const std::string& what) {
    ASSERT_EQ(table.RowCount(), static_cast<std::int32_t>(expected.size())) << what;
    ASSERT_EQ(table.ColumnCount(), static_cast<std::int32_t>(expected.front().size())) << what;
    ExpectBlock(
        expected, [&](int i, int j) { return table.GetValeur(i, j); }, what);
}

class ProfileTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kSurvey, "profils");
        if (HasFatalFailure())
            return;
        // Tests by line, every cell marked whatever its expected count.
        context.SignificanceType = 2;
        context.EffectifSignificativite = 1;
        context.TotalType = 0;
        CRegistre::SetIsTotalBefore(false);
        CRegistre::SetIsBreakColumnsFirst(false);
        ui->shown.clear();
    }

    // Copies of the question's modalities of these codes, in this order.
    Modalities Pick(const std::string& question, const std::vector<std::int32_t>& codes) {
        Modalities chosen;
        CQuestionEtendue& q = Named(question);
        for (std::int32_t code : codes) {
            const int index = q.TrouverModalite(code);
            EXPECT_GE(index, 0) << question << " " << code;
            if (index >= 0)
                chosen.push_back(std::make_unique<CModaliteEtendue>(*q.GetModaliteEtendue(index)));
        }
        return chosen;
    }

    // Lines without codes are question-only lines (numeric and open profiles).
    CProfil Profile(const std::vector<Line>& lines) {
        CProfil profile;
        for (const Line& line : lines) {
            if (line.question == nullptr)
                profile.AddSeparator();
            else if (line.codes.empty())
                profile.Add(&Named(line.question));
            else
                profile.Add(&Named(line.question), Pick(line.question, line.codes));
        }
        return profile;
    }

    static std::vector<std::unique_ptr<CCalcul>> Calculations(const std::vector<Calc>& calcs) {
        std::vector<std::unique_ptr<CCalcul>> calculations;
        for (const Calc& c : calcs)
            calculations.push_back(std::make_unique<CCalcul>(c.code, c.label, true));
        return calculations;
    }

    // A request of two axes; a side of kind 4 (none) takes no profile.
    static std::unique_ptr<CTraitement> Request(std::int16_t type, std::int16_t rowKind, const CProfil& rows,
                                                std::int16_t columnKind, const CProfil* columns,
                                                const std::vector<Calc>& calcs, std::int16_t layout) {
        auto request = std::make_unique<CTraitement>();
        request->type = type;
        request->title = "Profils";
        request->SetTypeAxe(CTraitement::kLignes, rowKind);
        request->SetTypeAxe(CTraitement::kColonnes, columnKind);
        request->SetProfilAxe(&rows, CTraitement::kLignes);
        if (columns != nullptr)
            request->SetProfilAxe(columns, CTraitement::kColonnes);
        request->SetCalculsLignes(Calculations(calcs));
        request->mergeOptions.Type = layout;
        request->mergeOptions.EstTableauParLigne = 0;
        request->mergeOptions.EstTableauParColonne = 0;
        request->mergeOptions.EstLibelleTraitement = 1;
        request->mergeOptions.IsEmptyLinePerQuestion = 0;
        return request;
    }

    // Runs the request in a new runner; answers the tables it made, in order. Messages stay in ui.
    std::vector<CTableau*> Run(std::unique_ptr<CTraitement> request) {
        runners.push_back(std::make_unique<CExecuteurTraitement>(context));
        CExecuteurTraitement& runner = *runners.back();
        EXPECT_EQ(runner.Calculer(std::move(request)), 1);
        std::vector<CTableau*> tables;
        for (int i = 0; i < runner.GetNbTableaux(); ++i)
            tables.push_back(runner.GetTableau(i));
        return tables;
    }

    // Runs it and expects no message.
    std::vector<CTableau*> RunQuietly(std::unique_ptr<CTraitement> request) {
        std::vector<CTableau*> tables = Run(std::move(request));
        EXPECT_TRUE(ui->shown.empty()) << (ui->shown.empty() ? "" : ui->ShownTexts().front());
        return tables;
    }

    std::string Caption(const std::string& question) { return Named(question).GetCaption(); }
    std::string Total(int side) { return context.DonnerModaliteTotal(side)->GetShortCaption(); }

    std::vector<std::unique_ptr<CExecuteurTraitement>> runners;
};

} // namespace profile_test
