// Writes the seed corpus of every fuzz target: small valid archives and texts, one file each,
// under OUTDIR/<target>/. Run by `make fuzz-test` before the targets.
//
//     fuzz_seeds OUTDIR

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "export/TableListExports.h"
#include "fuzz/FuzzInvertedFiles.h"
#include "fuzz/FuzzSurvey.h"
#include "fuzz/QuestionnaireMutations.h"
#include "portfolio/ElementDossier.h"
#include "portfolio/PortfolioArchive.h"
#include "presentation/PoliceAna.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationTableau.h"
#include "openanswers/Forme.h"
#include "openanswers/LexicalCacheFiles.h"
#include "openanswers/Segment.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tabulation/TypeFusion.h"
#include "tools/qesbuild/DemoSurvey.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void Write(const std::string& target, const Bytes& bytes) {
        const std::filesystem::path folder = m_folder / target;
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / ("seed-" + std::to_string(++m_count));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteText(const std::string& target, const std::string& text) { Write(target, Bytes(text.begin(), text.end())); }

    // An archive input: the version byte, then the archive.
    template <class T> void WriteArchive(const std::string& target, T& object, int version) {
        Bytes bytes{fuzz::FirstByteOf(version)};
        const Bytes archive = fuzz::Stored(object, version);
        bytes.insert(bytes.end(), archive.begin(), archive.end());
        Write(target, bytes);
    }

private:
    std::filesystem::path m_folder;
    int m_count = 0;
};

CQuestionEtendue* Question(const std::string& name) { return fuzz::Survey().TrouverQuestionParNom(name); }

Modalities Chosen(const std::string& name, const std::vector<int>& indexes) {
    Modalities chosen;
    for (int i : indexes)
        chosen.push_back(std::make_unique<CModaliteEtendue>(*Question(name)->GetModaliteEtendue(i)));
    return chosen;
}

std::vector<std::unique_ptr<CCalcul>> Calculations(std::initializer_list<std::int32_t> codes) {
    std::vector<std::unique_ptr<CCalcul>> calculations;
    for (std::int32_t code : codes)
        calculations.push_back(std::make_unique<CCalcul>(code, "Calcul " + std::to_string(code), true));
    return calculations;
}

CTraitement Closed(std::int16_t type, std::int16_t columnKind) {
    CTraitement request;
    request.type = type;
    Modalities rows = Chosen("Q1", {0, 2});
    rows.push_back(std::make_unique<CModaliteEtendue>(&fuzz::Survey()));
    rows.back()->code = CLigne::kTotalCode;
    rows.back()->SetDefaultShortCaption("Total");
    rows.push_back(std::make_unique<CModaliteEtendue>(&fuzz::Survey()));
    rows.back()->code = 3;
    rows.back()->calculationLine = true;
    request.DefinirModalitesAxe(Question("Q1"), rows, CTraitement::kLignes);
    request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request.SetTypeAxe(CTraitement::kColonnes, columnKind);
    if (columnKind == CTraitement::kAxeFermee)
        request.DefinirModalitesAxe(Question("Q2"), Chosen("Q2", {0, 1}), CTraitement::kColonnes);
    if (columnKind == CTraitement::kAxeNumerique)
        request.SetQuestionAxe(Question("Q30"), CTraitement::kColonnes);
    request.SetCalculsLignes(Calculations({1, 2}));
    request.SetCalculsColonnes(Calculations({4}));
    request.title = "T";
    request.level = 1;
    request.studyFieldName = "Hommes";
    request.weightingName = "Redressement A";
    return request;
}

CTraitement Grouped() {
    CTraitement request;
    request.type = CTraitement::kTriCroiseRegroupement;
    request.DefinirRegroupementAxe(Question("Q12G"), CTraitement::kLignes);
    request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeRegroupement);
    request.DefinirModalitesAxe(Question("Q2"), Chosen("Q2", {1}), CTraitement::kColonnes);
    request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
    return request;
}

CTraitement Profiles(std::int16_t rowKind, std::int16_t columnKind) {
    CTraitement request;
    request.type = CTraitement::kProfilsCroises;
    CProfil profile;
    if (rowKind == CTraitement::kAxeProfilFermees) {
        Modalities chosen = Chosen("Q1", {1, 2});
        chosen[0]->displayOptions = {true, false, true, false};
        profile.Add(Question("Q1"), chosen);
        profile.AddSeparator();
        profile.Add(Question("Q20"), Chosen("Q20", {0}));
    } else {
        profile.Add(Question(rowKind == CTraitement::kAxeProfilNumeriques ? "Q30" : "Q31"));
        profile.AddSeparator();
    }
    request.SetProfilAxe(&profile, CTraitement::kLignes);
    request.SetTypeAxe(CTraitement::kLignes, rowKind);
    request.SetTotalAxe(CTraitement::kLignes, 1);
    CProfil numeric;
    numeric.Add(Question("Q30"));
    request.SetProfilAxe(&numeric, CTraitement::kColonnes);
    request.SetTypeAxe(CTraitement::kColonnes, columnKind);
    return request;
}

CTraitement Questions(std::int16_t rowKind, const std::string& row, std::int16_t columnKind, const std::string& column) {
    CTraitement request;
    request.type = CTraitement::kStatistiques;
    request.SetQuestionAxe(Question(row), CTraitement::kLignes);
    request.SetTypeAxe(CTraitement::kLignes, rowKind);
    request.SetQuestionAxe(Question(column), CTraitement::kColonnes);
    request.SetTypeAxe(CTraitement::kColonnes, columnKind);
    return request;
}

std::unique_ptr<CCalculEvolue> StyleCalculation(std::int16_t type, std::int32_t kind, const std::string& label) {
    auto calculation = std::make_unique<CCalculEvolue>();
    calculation->type = type;
    calculation->code = kind;
    calculation->label = label;
    calculation->levelIndex = 1;
    calculation->studyFieldName = "Hommes";
    calculation->testLineText = type == CCalculEvolue::kTestLine ? "Khi" : "";
    return calculation;
}

CStyle RequestStyle() {
    CStyle style;
    style.name = "Style";
    style.Add(StyleCalculation(CCalculEvolue::kCrossing, 1, "Pct"));
    style.Add(StyleCalculation(CCalculEvolue::kTestLine, 0, "Test"));
    return style;
}

std::vector<CTraitement> Requests() {
    std::vector<CTraitement> requests;
    requests.emplace_back();
    requests.push_back(Closed(CTraitement::kTriSimple, CTraitement::kAxeAucun));
    requests.push_back(Closed(CTraitement::kTriCroise, CTraitement::kAxeFermee));
    requests.push_back(Closed(CTraitement::kTableauMoyenne, CTraitement::kAxeNumerique));
    requests.push_back(Grouped());
    requests.push_back(Profiles(CTraitement::kAxeProfilFermees, CTraitement::kAxeProfilNumeriques));
    requests.push_back(Profiles(CTraitement::kAxeProfilNumeriques, CTraitement::kAxeAucun));
    requests.push_back(Profiles(CTraitement::kAxeProfilOuvertes, CTraitement::kAxeProfilOuvertes));
    requests.push_back(Questions(CTraitement::kAxeNumerique, "Q30", CTraitement::kAxeAucun, "Q1"));
    requests.push_back(Questions(CTraitement::kAxeOuverte, "Q31", CTraitement::kAxeOuverte, "Q31"));
    CTraitement styled = Closed(CTraitement::kTriCroise, CTraitement::kAxeFermee);
    styled.SetStyle(std::make_unique<CStyle>(RequestStyle()));
    requests.push_back(std::move(styled));
    CTraitement named = Profiles(CTraitement::kAxeProfilFermees, CTraitement::kAxeAucun);
    CProfil namedProfile = *named.GetProfilAxe(CTraitement::kLignes);
    namedProfile.id = 3;
    namedProfile.label = "Profil";
    named.SetProfilAxe(&namedProfile, CTraitement::kLignes);
    auto namedStyle = std::make_unique<CStyle>();
    namedStyle->id = 2;
    namedStyle->name = "Style enregistré";
    named.SetStyle(std::move(namedStyle));
    requests.push_back(std::move(named));
    return requests;
}

// A fixture description with every kind of line and inline records of two levels.
constexpr const char* kFixture = R"(questionnaire "Q" language=fr version=405
language 1036 fr "Français"
class 1 "Signalétique"
interviewer 7 "Durand" "Anne"
chapter 100 SIGNA class=1
  caption fr "Signalétique"
  question 1 SEXE closed noanswer
    caption fr "Sexe" "Vous êtes :"
    modality 1 value=1.5 fr "Homme"
    modality 3 fr "Autre, préciser"
    semiopen 11 kind=1 modality=3 fr "Gamma"
  question 2 AGE numeric min=18 max=99
end
question 4 QUAND date datekind=1
loop 500 PERSONNES count=4
  question 52 AGEP discrete answers=2
    modality 1 fr "Un"
end
records
Cle1,CodeEnqueteur,DebutInterview,Completed,1;1,2;1,4;1
1,7,2024-03-04 10:15,true,1,34,45000
2,7,"2024-03-05",0,-11,,"2024-01-02"
end
records loop=500
Cle1,Cle2,Ordre,52;1
1,1,1,1
end
)";

// A chapter holding a table of each request, as a ".dos" file (first byte 0) and as the
// clipboard stream (first byte 1).
void WritePortfolioSeeds(SeedWriter& seeds) {
    std::vector<std::unique_ptr<CElementDossier>> elements;
    elements.push_back(std::make_unique<CElementDossier>("Chapitre 1"));
    for (CTraitement& request : Requests()) {
        CTableau table(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
        table.SetTraitement(std::make_unique<CTraitement>(request));
        table.title = "Tableau";
        elements.push_back(std::make_unique<CElementDossier>(table));
        elements.back()->depth = 1;
    }
    std::vector<const CElementDossier*> pointers;
    for (const auto& element : elements)
        pointers.push_back(element.get());
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "fuzz_seeds_portfolio.dos";
    Message error;
    if (PortfolioArchive::Enregistrer(file.string(), pointers, error)) {
        std::ifstream in(file, std::ios::binary);
        Bytes bytes{0};
        bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        seeds.Write("fuzz_portfolio", bytes);
        std::filesystem::remove(file);
    }
    Bytes clipboard{1};
    const Bytes stream = PortfolioArchive::EcrirePressePapiers(pointers);
    clipboard.insert(clipboard.end(), stream.begin(), stream.end());
    seeds.Write("fuzz_portfolio", clipboard);
}

// statistics-run's CSV tables, sound and refused, and a workbook whole and cut short.
void WriteTableSeeds(SeedWriter& seeds) {
    const std::string header = "\"\",\"100m\",\"Long.jump\",\"Competition\"\n";
    const std::vector<std::string> tables = {
        header + "\"SEBRLE\",11.04,7.58,\"Decastar\"\n\"CLAY\",10.76,7.4,\"Decastar\"\n",
        header,
        header + "\"SEBRLE\",11.04,\"Decastar\"\n",
        header + "\"SEBRLE\",12abc,7.58,NA\r\n\"CLAY\",,+7.4,\"a,\"\"b\"\n",
        "\xEF\xBB\xBF\"\",a\n\"x\",\"1\n",
        std::string(),
    };
    for (const std::string& text : tables)
        seeds.WriteText("fuzz_csv_table", text);
    const std::filesystem::path workbook = std::filesystem::temp_directory_path() / "morvane-seed.xlsx";
    CTableau table;
    table.RemplirExemple();
    Message error;
    if (!ExporterTableauxClasseur(std::vector<const CTableauBase*>{&table}, workbook.string(), "", error))
        return;
    std::ifstream in(workbook, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(workbook);
    seeds.Write("fuzz_xlsx_package", bytes);
    seeds.Write("fuzz_xlsx_package", Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2)));
}

// The cache files of the answers «très bon produit», «bon produit» and an empty one (the files of
// tests/golden/openanswers-3-answers.md), each behind its reader's byte and what the other files
// say: 3 answers, 5 tokens, 3 forms.
void WriteLexicalCacheSeeds(SeedWriter& seeds) {
    const auto seed = [&](Bytes head, const CArchiveVersion& file) {
        head.insert(head.end(), file.GetBytes().begin(), file.GetBytes().end());
        seeds.Write("fuzz_lexical_caches", head);
    };
    std::vector<std::unique_ptr<CForme>> forms;
    forms.push_back(std::make_unique<CForme>(1, "bon"));
    forms.push_back(std::make_unique<CForme>(2, "produit"));
    forms.push_back(std::make_unique<CForme>(0, "très"));
    CArchiveVersion dictionary;
    LexicalCacheFiles::EcrireDictionnaire(dictionary, 5, forms);
    seed({0}, dictionary);
    CArchiveVersion corpus;
    corpus.WriteCount(3);
    const std::vector<std::uint32_t> first = {0, 1, 2}, second = {1, 2};
    LexicalCacheFiles::EcrireReponse(corpus, first);
    LexicalCacheFiles::EcrireReponse(corpus, second);
    LexicalCacheFiles::EcrireReponse(corpus, {});
    seed({1, 3, 0, 5, 0}, corpus);
    CArchiveVersion lemmas;
    LexicalCacheFiles::EcrireLemmes(lemmas, {{"bon", 3, {"bon", "produit"}}, {"\u0394", 4, {"très"}}});
    seed({2}, lemmas);
    std::vector<std::unique_ptr<CSegment>> segments;
    segments.push_back(std::make_unique<CSegment>(std::vector<std::int32_t>{0, 1}));
    segments.back()->AjouterOccurrence(0);
    segments.back()->AjouterOccurrence(1);
    segments.push_back(std::make_unique<CSegment>(std::vector<std::int32_t>{2, 0, 1}));
    segments.back()->AjouterOccurrence(0);
    CArchiveVersion segmentFile;
    LexicalCacheFiles::EcrireSegments(segmentFile, segments);
    seed({3, 3, 0, 3, 0}, segmentFile);
}

void WriteSeeds(SeedWriter& seeds) {
    WriteLexicalCacheSeeds(seeds);
    for (CTraitement& request : Requests()) {
        seeds.WriteArchive("fuzz_request", request, 405);
        CTableau table(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
        table.SetTraitement(std::make_unique<CTraitement>(request));
        seeds.WriteArchive("fuzz_table", table, 405);
    }
    CTraitement older = Closed(CTraitement::kTriCroise, CTraitement::kAxeFermee);
    older.SetStyle(std::make_unique<CStyle>(RequestStyle()));
    seeds.WriteArchive("fuzz_request", older, 403);
    seeds.WriteArchive("fuzz_request", older, 404);
    CTableau empty;
    seeds.WriteArchive("fuzz_table", empty, 405);
    WritePortfolioSeeds(seeds);

    CCalcul line(3, "Pourcentage", true);
    line.bold = 1;
    seeds.WriteArchive("fuzz_calculation_line", line, 405);
    for (int version : {403, 404})
        seeds.WriteArchive("fuzz_style_calculation", *StyleCalculation(CCalculEvolue::kTestLine, 0, "Test"), version);
    CStyle style = RequestStyle();
    seeds.WriteArchive("fuzz_style", style, 404);
    style.id = 2;
    seeds.WriteArchive("fuzz_style", style, 404);
    CTypeFusion merge;
    merge.Type = 2;
    merge.IsEmptyLinePerQuestion = 1;
    seeds.WriteArchive("fuzz_merge_options", merge, 405);
    CPresentationTableau table;
    table.SetOrientation(1);
    for (int version : {404, 405})
        seeds.WriteArchive("fuzz_table_presentation", table, version);
    CPresentationGraphique chart;
    chart.SetType(3);
    seeds.WriteArchive("fuzz_chart_presentation", chart, 405);
    CPoliceAna font;
    font.SetNom("DejaVu Sans é");
    font.SetGras(true);
    seeds.WriteArchive("fuzz_font", font, 405);

    // Objects as a portfolio holds them: an array of tables, requests and small types.
    {
        std::vector<std::unique_ptr<CObjet>> objects;
        auto tableWithRequest = std::make_unique<CTableau>();
        tableWithRequest->SetTraitement(std::make_unique<CTraitement>(Grouped()));
        objects.push_back(std::move(tableWithRequest));
        objects.push_back(std::make_unique<CTraitement>(Profiles(CTraitement::kAxeProfilFermees, CTraitement::kAxeAucun)));
        objects.push_back(std::make_unique<CCalcul>(1, "Effectifs", true));
        objects.push_back(std::make_unique<CCalcul>(2, "Pourcentage", false));
        objects.push_back(std::make_unique<CStyle>(RequestStyle()));
        objects.push_back(nullptr);
        objects.push_back(std::make_unique<CTypeFusion>());
        CArchiveVersion out(405);
        out.SerializeArray(objects);
        Bytes bytes{fuzz::FirstByteOf(405)};
        bytes.insert(bytes.end(), out.GetBytes().begin(), out.GetBytes().end());
        seeds.Write("fuzz_objects", bytes);
    }

    for (const char* text : {"12@@0@1:0:0:0:0;3:1:0:0:0;|0|", "1@@0@1:0:0:0:0;2:0:1:0:1;|0|2@@0@1:1:1:1:1;|",
                             "20@3;@0@1:0:0:0:0;2:0:0:1:0;|", "12@0@1;2;|0|", "12@5@0@10:0:0:0:0;|", "30@@0@|0|0|"})
        seeds.WriteText("fuzz_profile_text", text);
    for (const char* text : {"-1;-1;0;0;2;1;Pct;", "3;4;7;1;2;9;Total;", "-1;-1;0;3;2;0;Test;Khi",
                             "-1;-1;0;0;2;1;Pct;|3;-1;7;2;0;10;Moyenne;|", "-1;-1;0;1;2;9"})
        seeds.WriteText("fuzz_calculation_text", text);

    for (const char* text :
         {"type tri-simple\nlignes Q1 total\ncalculs 0 1 2\n",
          "type tri-croise\nlignes Q1 1 3 total 1\ncolonnes Q2 total\ncalculs 0 2 4\nfusion 2\n",
          "type statistiques\nlignes Q30\nniveau Membres\n",
          "type moyenne\nlignes 1\ncolonnes Q30\ncalculs 0 10\nchamp Hommes\nredressement Redressement A\n",
          "type croise-regroupement\nlignes Q12G\ncolonnes Q2\n",
          "# m\ntype 15\nlignes Q1 stat:0 total\ntitre T\n"})
        seeds.WriteText("fuzz_request_text", text);
    seeds.WriteText("fuzz_fixture_description", qesbuild::DemoSurvey::DescriptionText());
    seeds.WriteText("fuzz_fixture_description", kFixture);
    for (const Bytes& mutations : fuzz::QuestionnaireMutationSeeds())
        seeds.Write("fuzz_questionnaire", mutations);
    for (const char* text : {"??Q1?? >= 2 ET ??Q2:1?? OU NOT ??Q30?? IN {1;3 TO 5}", "(2+3)*4 MOD 3 - -1",
                             "FORMAT(SUM({1;2} + ??Q12?? ) / 3, 2) + \"a\"", "ON(2, #2024-03-05#, &10:30&) - 1",
                             "YEAR(#5/3/24 10:15#) = 2024 OU LEN(\"été\") <> 3", "{4;5;6}[2] | {1 TO 9}",
                             "GETPARAMETER(\"10,20\", 2) + VAL(\"3,5\") + INT(-2.7)", "ISEMAIL(??Q31?? ) ET ((1)"})
        seeds.WriteText("fuzz_formula", text);
    for (const char* text : {"SI ??Q30?? >= 18 ALORS 1 SINONSI ??Q1?? = 2 ALORS 2 SINON NR FINSI",
                             "TAILLE(??Q12?? + 3) * LOG(CVNRNI(??Q30??)) ET (1 + 2) * 3", "3 <= ??Q12?? OU ??Q2?? <> AUTRE",
                             "si (1,5-2) alors sqr(-4) finsi + ??Q31??", "((SI 1 ALORS 2 FINSI)"})
        seeds.WriteText("fuzz_script", text);
    for (const Bytes& file : fuzz::InvertedFileSeeds())
        seeds.Write("fuzz_inverted_files", file);
    // A test line whose p-value is far below 1e-16.
    seeds.WriteText("fuzz_request_text",
                    "type tableau-evolue\nlignes Q1\ncolonnes Q2\nstyle cellule 0\nstyle test p=??P?? pe=??PE?? k=??K??\n");
    WriteTableSeeds(seeds);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds OUTDIR\n";
        return 2;
    }
    SeedWriter seeds{std::filesystem::path(argv[1])};
    WriteSeeds(seeds);
    return 0;
}
