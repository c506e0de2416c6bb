#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Calcul.h"
#include "app/Ligne.h"
#include "presentation/PoliceAna.h"
#include "tabulation/CalculEvolue.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

class LigneTest : public TabulationFixture {};

CCalcul FlaggedCalculation() {
    CCalcul calculation(3, "Pourcentages", true);
    calculation.bold = 1;
    calculation.underline = 1;
    calculation.heading = 1;
    calculation.fromModality = 1;
    return calculation;
}

TEST_F(LigneTest, ACalculationLineStoresCodeLabelAndFiveFlags) {
    CCalcul calculation = FlaggedCalculation();
    Bytes expected;
    Put32(expected, 3);
    PutString(expected, "Pourcentages");
    for (std::uint32_t flag : {1u, 1u, 0u, 1u, 0u})
        Put32(expected, flag);
    EXPECT_EQ(Stored(calculation, 404), expected);

    CCalcul loaded;
    Load(loaded, expected, 404);
    EXPECT_EQ(loaded.code, 3);
    EXPECT_EQ(loaded.label, "Pourcentages");
    EXPECT_EQ(loaded.kept, 1);
    EXPECT_EQ(loaded.bold, 1);
    EXPECT_EQ(loaded.underline, 1);
    EXPECT_EQ(loaded.heading, 0); // the option bytes are not stored
    EXPECT_EQ(loaded.fromModality, 0);
    EXPECT_EQ(Stored(loaded, 404), expected);
}

TEST_F(LigneTest, CalculationLinesGoThroughObjectArraysWithTheirClass) {
    std::vector<std::unique_ptr<CCalcul>> calculations;
    calculations.push_back(std::make_unique<CCalcul>(FlaggedCalculation()));
    calculations.push_back(std::make_unique<CCalcul>(9, "Total", false));
    CArchiveVersion out(404);
    out.SerializeArray(calculations);
    const Bytes stored = out.TakeBytes();

    std::vector<std::unique_ptr<CCalcul>> loaded;
    CArchiveVersion in(stored, 404);
    in.SerializeArray(loaded);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1]->code, 9);
    EXPECT_EQ(loaded[1]->kept, 0);
    CArchiveVersion again(404);
    again.SerializeArray(loaded);
    EXPECT_EQ(again.GetBytes(), stored);
}

TEST_F(LigneTest, EveryTruncationOfACalculationLineFails) {
    CCalcul calculation = FlaggedCalculation();
    ExpectEveryCutFails<CCalcul>(Stored(calculation, 404), 404, [] { return CCalcul(1, "Effectifs", true); });
}

TEST_F(LigneTest, CopiesKeepCalculationLinesCalculationLines) {
    std::vector<std::unique_ptr<CLigne>> source;
    source.push_back(std::make_unique<CLigne>("Modalité"));
    source.push_back(std::make_unique<CCalcul>(FlaggedCalculation()));
    source.push_back(std::make_unique<CCalculEvolue>());
    source.push_back(nullptr);

    std::vector<std::unique_ptr<CLigne>> lines;
    lines.push_back(std::make_unique<CLigne>("old"));
    CLigne::CopierLignes(lines, source);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->GetRuntimeClass(), &CLigne::kRuntimeClass);
    EXPECT_EQ(lines[1]->GetRuntimeClass(), &CCalcul::kRuntimeClass);
    EXPECT_EQ(lines[1]->heading, 1); // every field copied, option bytes included
    EXPECT_EQ(lines[2]->GetRuntimeClass(), &CCalculEvolue::kRuntimeClass);
    EXPECT_EQ(lines[3], nullptr);

    std::vector<std::unique_ptr<CCalcul>> calculations;
    CCalcul::CopierTableau(calculations, source);
    ASSERT_EQ(calculations.size(), 3u);
    for (const auto& calculation : calculations)
        EXPECT_EQ(calculation->GetRuntimeClass(), &CCalcul::kRuntimeClass);
    EXPECT_EQ(calculations[0]->label, "Modalité");
    EXPECT_EQ(calculations[1]->fromModality, 1);
}

TEST_F(LigneTest, LinesOfModalities) {
    CQuestionEtendue& question = AddClosedQuestion(12, {1, 3});
    question.GetModaliteEtendue(1)->selected = false;
    question.GetModaliteEtendue(1)->displayOptions = {true, false, false, true};
    std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
    question.DonnerModalites(modalities, false);
    std::vector<std::unique_ptr<CLigne>> lines;
    lines.push_back(std::make_unique<CLigne>("old"));
    CLigne::CreerLignesModalites(lines, modalities);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]->code, 3);
    EXPECT_EQ(lines[1]->label, "M3");
    EXPECT_EQ(lines[1]->kept, 0);
    EXPECT_EQ(lines[1]->bold, 1);
    EXPECT_EQ(lines[1]->shadow, 1);
    EXPECT_EQ(lines[1]->fromModality, 1);
}

CPoliceAna Font(const std::string& face, bool bold, bool italic, bool underline, bool shadow) {
    CPoliceAna font;
    font.SetNom(face);
    font.SetTaille(face == "Arial" ? 12.0 : 9.0);
    font.SetGras(bold);
    font.SetItalique(italic);
    font.SetSouligne(underline);
    font.SetOmbre(shadow);
    return font;
}

TEST_F(LigneTest, StylesAppliedToAFont) {
    struct Case {
        const char* what;
        std::uint8_t heading;
        std::int32_t bold, italic, underline, shadow;
        CPoliceAna font;
        CPoliceAna expected;
    };
    const CPoliceAna question = Font("Arial", false, false, false, false);
    const std::vector<Case> cases{
        {"a heading asking for bold on an italic font", 1, 1, 0, 0, 0, Font("Times", false, true, false, false),
         Font("Arial", true, true, false, false)},
        {"a heading keeps the attributes the font had", 1, 0, 0, 0, 0, Font("Times", true, false, true, true),
         Font("Arial", true, false, true, true)},
        {"flags set attributes", 0, 0, 1, 1, 1, Font("Times", false, false, false, false),
         Font("Times", false, true, true, true)},
        {"a clear flag never clears an attribute", 0, 0, 0, 0, 0, Font("Times", true, true, true, true),
         Font("Times", true, true, true, true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLigne line("x");
        line.heading = c.heading;
        line.bold = c.bold;
        line.italic = c.italic;
        line.underline = c.underline;
        line.shadow = c.shadow;
        CPoliceAna font = c.font;
        line.AppliquerStyle(font, question);
        EXPECT_EQ(font, c.expected);
    }
}

} // namespace
