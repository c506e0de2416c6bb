#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <stdlib.h>

#include "app/DBQuestionnaire.h"
#include "support/RecordingUserInterface.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "RequestTestSupport.h"

namespace {

using namespace tabulation_test;

constexpr int kVersion = 405;

class TraitementTest : public RequestFixture {
protected:
    // ---- One builder per table type and axis kind

    CTraitement FlatSort() {
        CTraitement request;
        request.type = CTraitement::kTriSimple;
        Modalities selection = Chosen(*q1, {0, 2});
        selection.push_back(std::make_unique<CModaliteEtendue>(&survey));
        selection.back()->code = CLigne::kTotalCode;
        selection.back()->SetDefaultShortCaption("Ensemble");
        selection.push_back(CalculationEntry(3, "Pct"));
        request.DefinirModalitesAxe(q1, selection, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request.GetModalitesAxe(CTraitement::kLignes)[1]->label = "Trois";
        request.GetModalitesAxe(CTraitement::kLignes)[1]->bold = 1;
        request.GetModalitesAxe(CTraitement::kLignes)[1]->shadow = 1;
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        request.SetCalculsLignes(Calculations({1, 2}));
        request.title = "Tri de Q1";
        request.level = 1;
        request.studyFieldName = "Hommes";
        request.weightingName = "Redressement A";
        request.openAsChart = 1;
        request.mergeOptions.Type = 2;
        request.presentation.SetReel(3);
        request.chartPresentation.SetType(4);
        return request;
    }

    CTraitement Cross() {
        CTraitement request;
        request.type = CTraitement::kTriCroise;
        request.DefinirModalitesAxe(q1, Chosen(*q1, {0, 1, 2}), CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request.DefinirModalitesAxe(q2, Chosen(*q2, {1}), CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        request.SetCalculsLignes(Calculations({0}));
        request.SetCalculsColonnes(Calculations({4, 5}));
        request.studyFieldName = "Toutes les interviews";
        request.weightingName = "Aucun redressement";
        return request;
    }

    CTraitement GroupedCross() {
        CTraitement request;
        request.type = CTraitement::kTriCroiseRegroupement;
        request.DefinirRegroupementAxe(q12g, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeRegroupement);
        request.DefinirModalitesAxe(q2, Chosen(*q2, {0, 1}), CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        return request;
    }

    CProfil ClosedProfile() {
        CProfil profile;
        Modalities chosen = Chosen(*q1, {1, 2});
        chosen[0]->displayOptions = {false, false, true, false};
        chosen[1]->displayOptions = {true, true, false, true};
        profile.Add(q1, chosen);
        profile.AddSeparator();
        profile.Add(q2, Chosen(*q2, {0}));
        return profile;
    }

    CTraitement SimpleProfiles() {
        CTraitement request;
        request.type = CTraitement::kProfilsSimples;
        const CProfil profile = ClosedProfile();
        request.SetProfilAxe(&profile, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilFermees);
        request.SetTotalAxe(CTraitement::kLignes, 1);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        return request;
    }

    CTraitement CrossedMeanProfiles() {
        CTraitement request;
        request.type = CTraitement::kProfilsCroisesMoyenne;
        const CProfil rows = ClosedProfile();
        request.SetProfilAxe(&rows, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilFermees);
        CProfil numeric;
        numeric.Add(q30);
        numeric.AddSeparator();
        numeric.Add(q30);
        request.SetProfilAxe(&numeric, CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeProfilNumeriques);
        request.SetTotalAxe(CTraitement::kColonnes, 7);
        return request;
    }

    CTraitement OpenProfiles() {
        CTraitement request;
        request.type = CTraitement::kOuvertesProfils;
        CProfil open;
        open.Add(q31);
        request.SetProfilAxe(&open, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilOuvertes);
        return request;
    }

    CTraitement Statistics() {
        CTraitement request;
        request.type = CTraitement::kStatistiques;
        request.SetQuestionAxe(q30, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeNumerique);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        request.SetCalculsLignes(Calculations({2, 3, 4}));
        return request;
    }

    CTraitement MeanTable() {
        CTraitement request;
        request.type = CTraitement::kTableauMoyenne;
        request.DefinirModalitesAxe(q1, Chosen(*q1, {0}), CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request.SetQuestionAxe(q30, CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeNumerique);
        return request;
    }

    CTraitement OpenBySelf() {
        CTraitement request;
        request.type = CTraitement::kOuvertesSelonModalite;
        request.SetQuestionAxe(q31, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeOuverte);
        request.SetQuestionAxe(q31, CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeOuverte);
        return request;
    }

    CTraitement WithStyle() {
        CTraitement request = Cross();
        auto style = std::make_unique<CStyle>();
        style->name = "Dans la demande";
        auto calculation = std::make_unique<CCalculEvolue>();
        calculation->code = 1;
        calculation->label = "Pct";
        calculation->levelIndex = 1;
        style->Add(std::move(calculation));
        style->Add(std::make_unique<CCalculEvolue>());
        request.SetStyle(std::move(style));
        return request;
    }

    struct Case {
        const char* what;
        std::function<CTraitement()> build;
    };

    std::vector<Case> EveryKind() {
        return {
            {"no kind", [] { return CTraitement(); }},
            {"flat sort, closed rows with Total and calculation lines", [this] { return FlatSort(); }},
            {"cross table", [this] { return Cross(); }},
            {"cross table with a grouping", [this] { return GroupedCross(); }},
            {"simple profiles", [this] { return SimpleProfiles(); }},
            {"crossed profiles of means", [this] { return CrossedMeanProfiles(); }},
            {"open-question profiles", [this] { return OpenProfiles(); }},
            {"statistics of a numeric question", [this] { return Statistics(); }},
            {"mean table", [this] { return MeanTable(); }},
            {"open answers by an open question", [this] { return OpenBySelf(); }},
            {"with a style", [this] { return WithStyle(); }},
        };
    }

    static CTraitement Loaded(const Bytes& bytes) {
        CTraitement loaded;
        Load(loaded, bytes, kVersion);
        return loaded;
    }
};

TEST_F(TraitementTest, EveryKindRoundTripsByteForByte) {
    for (const Case& c : EveryKind()) {
        SCOPED_TRACE(c.what);
        CTraitement request = c.build();
        const Bytes first = Stored(request, kVersion);
        CTraitement loaded = Loaded(first);
        EXPECT_FALSE(loaded.EstInvalide());
        EXPECT_TRUE(loaded.GetMessagesInvalidite().empty());
        EXPECT_EQ(Stored(loaded, kVersion), first);
        // A copy stores the same bytes too.
        CTraitement copy(request);
        EXPECT_EQ(Stored(copy, kVersion), first);
    }
}

TEST_F(TraitementTest, KindsMinusOneStoreTwoKindWordsAndNoPayload) {
    CTraitement request;
    const Bytes bytes = Stored(request, kVersion);
    const Bytes start{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    ASSERT_GE(bytes.size(), start.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(start.size())), start);
}

TEST_F(TraitementTest, LoadedFlatSortHasItsLinesAndNamesResolved) {
    CTraitement request = FlatSort();
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_FALSE(loaded.EstInvalide());
    EXPECT_EQ(loaded.type, CTraitement::kTriSimple);
    EXPECT_EQ(loaded.GetQuestionAxe(CTraitement::kLignes), q1);
    const auto& lines = loaded.GetModalitesAxe(CTraitement::kLignes);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->code, 1);
    EXPECT_EQ(lines[0]->label, "M1");
    EXPECT_EQ(lines[1]->code, 3);
    EXPECT_EQ(lines[1]->label, "Trois");
    EXPECT_EQ(lines[1]->bold, 1);
    EXPECT_EQ(lines[1]->italic, 0);
    EXPECT_EQ(lines[1]->shadow, 1);
    EXPECT_TRUE(lines[2]->EstTotal());
    EXPECT_EQ(lines[2]->label, "Ensemble");
    EXPECT_EQ(lines[2]->fromModality, 1);
    ASSERT_NE(dynamic_cast<const CCalcul*>(lines[3].get()), nullptr);
    EXPECT_EQ(lines[3]->code, 3);
    EXPECT_EQ(lines[3]->label, "Pct");
    ASSERT_EQ(loaded.GetCalculsLignes().size(), 2u);
    EXPECT_EQ(loaded.GetCalculsLignes()[1]->code, 2);
    EXPECT_EQ(loaded.title, "Tri de Q1");
    EXPECT_EQ(loaded.level, 1);
    EXPECT_EQ(loaded.studyFieldId, 3);
    EXPECT_EQ(loaded.weightingId, 4);
    EXPECT_EQ(loaded.openAsChart, 1);
    EXPECT_EQ(loaded.mergeOptions.Type, 2);
    EXPECT_EQ(loaded.presentation.GetReel(), 3);
    EXPECT_EQ(loaded.chartPresentation.GetType(), 4);
}

TEST_F(TraitementTest, LabelsEqualToTheCaptionFollowTheQuestion) {
    CTraitement request = FlatSort();
    const Bytes bytes = Stored(request, kVersion);
    q1->GetModaliteEtendue(0)->SetDefaultShortCaption("Un");
    q1->GetModaliteEtendue(0)->SetLocalisedShortCaption(kFrench, "Un");
    q1->GetModaliteEtendue(2)->SetLocalisedShortCaption(kFrench, "Tres");
    const CTraitement loaded = Loaded(bytes);
    EXPECT_EQ(loaded.GetModalitesAxe(CTraitement::kLignes)[0]->label, "Un");
    EXPECT_EQ(loaded.GetModalitesAxe(CTraitement::kLignes)[1]->label, "Trois");
}

TEST_F(TraitementTest, ModalitiesNoLongerInTheQuestionAreDropped) {
    // On storing: the line of a modality the question no longer has is not stored.
    CTraitement request = Cross();
    q1->GetModaliteEtendue(2)->code = 9;
    CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_FALSE(loaded.EstInvalide());
    EXPECT_EQ(loaded.GetModalitesAxe(CTraitement::kLignes).size(), 2u);
    q1->GetModaliteEtendue(2)->code = 3;

    // On loading: an index past the question's modalities is skipped, and the request is invalid
    // with a message naming the missing modality (Q1 now names a question of two modalities):
    // it is never computed on fewer lines under its old caption. The columns' Q2 is gone too.
    const Bytes bytes = Stored(request, kVersion);
    q1->name = "Q1 ancien";
    q2->name = "Q1";
    const CTraitement renamed = Loaded(bytes);
    EXPECT_TRUE(renamed.EstInvalide());
    EXPECT_EQ(renamed.GetMessagesInvalidite(),
              (std::vector<Message>{Message::Text("La question 'Q1' n'a plus de modalité n°3"),
                                    Message::Text("La question 'Q2' n'existe plus dans le questionnaire")}));
    const auto& lines = renamed.GetModalitesAxe(CTraitement::kLignes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]->code, 2);
}

TEST_F(TraitementTest, GroupingIsRebuiltOverTheParentQuestion) {
    CTraitement request = GroupedCross();
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_FALSE(loaded.EstInvalide());
    const CRecodageModalite* grouping = loaded.GetRegroupementAxe(CTraitement::kLignes);
    ASSERT_NE(grouping, nullptr);
    EXPECT_EQ(grouping->label, "Q12G");
    EXPECT_TRUE(grouping->GetEstCumule());
    ASSERT_EQ(grouping->NodeCount(), 4);
    const std::vector<std::int32_t> codes{0, 1, 2, 3};
    const std::vector<std::int16_t> levels{0, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grouping->Node(i)->code, codes[static_cast<std::size_t>(i)]);
        EXPECT_EQ(grouping->Node(i)->level, levels[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(grouping->Node(0)->GetShortCaption(), "Groupe A");
    EXPECT_EQ(grouping->Node(3)->displayOptions, (std::array<bool, 4>{true, false, true, false}));
}

TEST_F(TraitementTest, ProfilesKeepTheirSeparatorsAndOptions) {
    CTraitement request = CrossedMeanProfiles();
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_FALSE(loaded.EstInvalide());
    const CProfil* rows = loaded.GetProfilAxe(CTraitement::kLignes);
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->GetCount(), 3);
    EXPECT_TRUE(rows->IsSeparator(1));
    EXPECT_EQ(rows->GetQuestion(2), q2);
    const auto& modalities = rows->GetSousProfil(0)->Modalites();
    ASSERT_EQ(modalities.size(), 2u);
    EXPECT_EQ(modalities[0]->code, 2);
    EXPECT_EQ(modalities[0]->displayOptions, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(modalities[1]->displayOptions, (std::array<bool, 4>{true, true, false, true}));
    const CProfil* columns = loaded.GetProfilAxe(CTraitement::kColonnes);
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->GetCount(), 3);
    EXPECT_EQ(loaded.GetTotalAxe(CTraitement::kColonnes), 7);
}

// Kind 7 has no Total option on the row side and no payload on the column side.
TEST_F(TraitementTest, KindSevenPayloads) {
    CTraitement rows = OpenProfiles();
    rows.SetTotalAxe(CTraitement::kLignes, 5);
    CTraitement same = OpenProfiles();
    EXPECT_EQ(Stored(rows, kVersion), Stored(same, kVersion));

    CTraitement columnSeven = OpenProfiles();
    CProfil open;
    open.Add(q31);
    columnSeven.SetProfilAxe(&open, CTraitement::kColonnes);
    columnSeven.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeProfilOuvertes);
    CTraitement columnNone = OpenProfiles();
    columnNone.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    Bytes seven = Stored(columnSeven, kVersion);
    const Bytes none = Stored(columnNone, kVersion);
    ASSERT_EQ(seven.size(), none.size());
    const auto differences = [&] {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < seven.size(); ++i)
            if (seven[i] != none[i])
                at.push_back(i);
        return at;
    }();
    ASSERT_EQ(differences.size(), 1u) << "only the column kind word differs";
    EXPECT_EQ(seven[differences[0]], 7);
    EXPECT_EQ(Loaded(seven).GetProfilAxe(CTraitement::kColonnes), nullptr);
}

TEST_F(TraitementTest, TruncatedArchivesFailAtEveryCut) {
    for (const Case& c : EveryKind()) {
        SCOPED_TRACE(c.what);
        CTraitement request = c.build();
        const Bytes whole = Stored(request, kVersion);
        ExpectEveryCutFails<CTraitement>(whole, kVersion, [] { return CTraitement(); });
    }
}

// Older files hold profiles as plain lists of modality indexes (form 0); a form word of no known
// form holds nothing more.
TEST_F(TraitementTest, OlderProfileFormsAreRead) {
    CTraitement bare;
    bare.type = CTraitement::kProfilsSimples;
    bare.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeAucun);
    bare.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    const Bytes stored = Stored(bare, kVersion);
    const Bytes tail(stored.begin() + 6, stored.end()); // after the type and the two kind words

    const auto withRowPayload = [&](std::int16_t kind, const Bytes& payload) {
        Bytes bytes;
        Put16(bytes, static_cast<std::uint16_t>(CTraitement::kProfilsSimples));
        Put16(bytes, static_cast<std::uint16_t>(kind));
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        Put16(bytes, static_cast<std::uint16_t>(CTraitement::kAxeAucun));
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };

    // Kind 2: Q1 at indexes 0, 2 and 7 (7 is past its modalities), a separator, Q2 at index 9
    // alone (dropped: nothing kept); then the Total option 1. Each missing modality is named and
    // makes the request invalid.
    q1->GetModaliteEtendue(2)->displayOptions = {false, true, false, false};
    Bytes closed;
    Put32(closed, 0);
    Put16(closed, 3);
    PutString(closed, "Q1");
    Put16(closed, 3);
    for (std::uint32_t index : {0u, 2u, 7u})
        Put32(closed, index);
    PutString(closed, "");
    Put16(closed, 0);
    PutString(closed, "Q2");
    Put16(closed, 1);
    Put32(closed, 9);
    Put32(closed, 1);
    CTraitement loaded = Loaded(withRowPayload(CTraitement::kAxeProfilFermees, closed));
    EXPECT_TRUE(loaded.EstInvalide());
    EXPECT_EQ(loaded.GetMessagesInvalidite(),
              (std::vector<Message>{Message::Text("La question 'Q1' n'a plus de modalité n°8"),
                                    Message::Text("La question 'Q2' n'a plus de modalité n°10")}));
    const CProfil* profile = loaded.GetProfilAxe(CTraitement::kLignes);
    ASSERT_NE(profile, nullptr);
    ASSERT_EQ(profile->GetCount(), 2);
    const auto& modalities = profile->GetSousProfil(0)->Modalites();
    ASSERT_EQ(modalities.size(), 2u);
    EXPECT_EQ(modalities[0]->code, 1);
    EXPECT_EQ(modalities[1]->code, 3);
    EXPECT_EQ(modalities[1]->displayOptions, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(profile->IsSeparator(1));
    EXPECT_EQ(loaded.GetTotalAxe(CTraitement::kLignes), 1);

    // Kind 3: a numeric question gives a line without modalities.
    Bytes numeric;
    Put32(numeric, 0);
    Put16(numeric, 1);
    PutString(numeric, "Q30");
    Put16(numeric, 1);
    Put32(numeric, 4);
    Put32(numeric, 2);
    const CTraitement statistical = Loaded(withRowPayload(CTraitement::kAxeProfilNumeriques, numeric));
    ASSERT_NE(statistical.GetProfilAxe(CTraitement::kLignes), nullptr);
    EXPECT_EQ(statistical.GetProfilAxe(CTraitement::kLignes)->GetQuestion(0), q30);
    EXPECT_EQ(statistical.GetProfilAxe(CTraitement::kLignes)->GetNbreModalites(0), 0);
    EXPECT_EQ(statistical.GetTotalAxe(CTraitement::kLignes), 2);

    // An unknown form: no profile, and the Total option follows at once.
    Bytes unknown;
    Put32(unknown, 9);
    Put32(unknown, 1);
    const CTraitement none = Loaded(withRowPayload(CTraitement::kAxeProfilFermees, unknown));
    EXPECT_EQ(none.GetProfilAxe(CTraitement::kLignes), nullptr);
    EXPECT_EQ(none.GetTotalAxe(CTraitement::kLignes), 1);
}

// ---- What no longer resolves

TEST_F(TraitementTest, ARequestNamingAMissingQuestionLoadsInvalidWithItsMessage) {
    CTraitement request = Cross();
    request.title = "Croisement";
    const Bytes bytes = Stored(request, kVersion);
    q2->name = "Q2bis";
    const CTraitement loaded = Loaded(bytes);
    EXPECT_TRUE(loaded.EstInvalide());
    ASSERT_EQ(loaded.GetMessagesInvalidite().size(), 1u);
    EXPECT_EQ(loaded.GetMessagesInvalidite()[0], Message::Text("La question 'Q2' n'existe plus dans le questionnaire"));
    EXPECT_EQ(loaded.GetQuestionAxe(CTraitement::kColonnes), nullptr);
    EXPECT_TRUE(loaded.GetModalitesAxe(CTraitement::kColonnes).empty());
    // What follows the missing question is read as it stands.
    EXPECT_EQ(loaded.GetQuestionAxe(CTraitement::kLignes), q1);
    EXPECT_EQ(loaded.title, "Croisement");
    EXPECT_EQ(loaded.GetCalculsColonnes().size(), 2u);
    // A copy of an invalid request is valid: whoever copies has checked it.
    const CTraitement copy(loaded);
    EXPECT_FALSE(copy.EstInvalide());
    EXPECT_TRUE(copy.GetMessagesInvalidite().empty());
}

TEST_F(TraitementTest, EachPartThatNoLongerResolvesIsNamed) {
    using Undo = std::function<void()>;
    struct Missing {
        const char* what;
        std::function<CTraitement()> build;
        std::function<Undo()> change; // applied to the survey between storing and loading
        const char* message;
        std::size_t times = 1; // the part is named once per place it stands
    };
    const std::vector<Missing> cases{
        {"numeric question now closed", [this] { return Statistics(); },
         [this] { q30->type = 1; return Undo([this] { q30->type = 5; }); },
         "La question 'Q30' n'est pas une question numérique"},
        {"closed question now open", [this] { return Cross(); },
         [this] { q2->type = 4; return Undo([this] { q2->type = 1; }); },
         "La question 'Q2' n'est pas une question fermée"},
        {"open question now numeric", [this] { return OpenBySelf(); },
         [this] { q31->type = 5; return Undo([this] { q31->type = 4; }); },
         "La question 'Q31' n'est pas une question ouverte", 2},
        {"grouping without its parent question", [this] { return GroupedCross(); },
         [this] { q12->code = 13; return Undo([this] { q12->code = 12; }); },
         "Le regroupement de la question 'Q12G' ne peut plus être construit"},
        {"group of a modality the parent question no longer has", [this] { return GroupedCross(); },
         [this] {
             auto removed = std::make_shared<std::unique_ptr<CModalite>>(std::move(q12->modalities.back()));
             q12->modalities.pop_back();
             return Undo([this, removed] { q12->modalities.push_back(std::move(*removed)); });
         },
         "La question 'Q12' n'a plus de modalité n°3"},
        {"question of a profile", [this] { return SimpleProfiles(); },
         [this] { q2->name = "Autre"; return Undo([this] { q2->name = "Q2"; }); },
         "La question 'Q2' n'existe plus dans le questionnaire"},
        {"numeric profile question now open", [this] { return CrossedMeanProfiles(); },
         [this] { q30->type = 4; return Undo([this] { q30->type = 5; }); },
         "La question 'Q30' n'est pas une question numérique", 2},
        {"study field", [this] { return FlatSort(); },
         [this] { survey.SupprimerChampEtude(3); return Undo([this] { AddStudyField(3, "Hommes"); }); },
         "Champ d'étude 'Hommes' pas trouvé"},
        {"weighting", [this] { return FlatSort(); },
         [this] { survey.SupprimerRedressement(4); return Undo([this] { AddWeighting(4, "Redressement A"); }); },
         "Redressement 'Redressement A' pas trouvé"},
        {"level", [this] { return FlatSort(); },
         [this] { survey.levels[1]->code = 8; return Undo([this] { survey.levels[1]->code = 7; }); },
         "Niveau 7 pas trouvé"},
    };
    for (const Missing& c : cases) {
        SCOPED_TRACE(c.what);
        CTraitement request = c.build();
        const Bytes bytes = Stored(request, kVersion);
        const Undo undo = c.change();
        const CTraitement loaded = Loaded(bytes);
        undo();
        EXPECT_TRUE(loaded.EstInvalide());
        EXPECT_EQ(loaded.GetMessagesInvalidite(), std::vector<Message>(c.times, Message::Text(c.message)));
        EXPECT_FALSE(Loaded(bytes).EstInvalide()) << "valid again once the survey has it back";
    }
}

TEST_F(TraitementTest, UnknownStudyFieldKeepsItsNameWithIdMinusOne) {
    CTraitement request = FlatSort();
    request.studyFieldName = "Femmes";
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_EQ(loaded.studyFieldId, -1);
    EXPECT_EQ(loaded.studyFieldName, "Femmes");
    EXPECT_TRUE(loaded.EstInvalide());
}

TEST_F(TraitementTest, AStyleThatLoadsEmptyMakesTheRequestInvalid) {
    CTraitement request = Cross();
    auto style = std::make_unique<CStyle>();
    style->name = "Vide";
    request.SetStyle(std::move(style));
    CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_TRUE(loaded.EstInvalide());
    EXPECT_EQ(loaded.GetMessagesInvalidite(),
              (std::vector<Message>{Message::Text("Le style de la demande ne contient aucun calcul")}));

    // A style of the questionnaire that is no longer there.
    style = std::make_unique<CStyle>();
    style->id = 5;
    style->name = "Disparu";
    request.SetStyle(std::move(style));
    const CTraitement stored = Loaded(Stored(request, kVersion));
    EXPECT_TRUE(stored.EstInvalide());
    EXPECT_EQ(stored.GetMessagesInvalidite(), (std::vector<Message>{Message::Text("Style 'Disparu' pas trouvé")}));
}

TEST_F(TraitementTest, ANamedProfileThatIsNotInTheQuestionnaireIsNamed) {
    CTraitement request = SimpleProfiles();
    CProfil named = ClosedProfile();
    named.id = 12;
    named.label = "Profil connu";
    request.SetProfilAxe(&named, CTraitement::kLignes);
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    EXPECT_TRUE(loaded.EstInvalide());
    EXPECT_EQ(loaded.GetProfilAxe(CTraitement::kLignes), nullptr);
    EXPECT_EQ(loaded.GetMessagesInvalidite(), (std::vector<Message>{Message::Text("Profil 'Profil connu' pas trouvé")}));
}

// ---- The request's own operations

TEST_F(TraitementTest, CopiesAreDeepAndKeepCalculationLines) {
    auto request = std::make_unique<CTraitement>(FlatSort());
    request->SetQuestionAxe(q2, CTraitement::kTroisieme);
    request->SetQuestionAxe(q31, CTraitement::kQuatrieme);
    const CTraitement copy(*request);
    EXPECT_EQ(copy.GetQuestionAxe(CTraitement::kTroisieme), nullptr);
    EXPECT_EQ(copy.GetQuestionAxe(CTraitement::kQuatrieme), nullptr);
    const auto& lines = copy.GetModalitesAxe(CTraitement::kLignes);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].get(), request->GetModalitesAxe(CTraitement::kLignes)[0].get());
    EXPECT_NE(dynamic_cast<const CCalcul*>(lines[3].get()), nullptr);
    EXPECT_EQ(dynamic_cast<const CCalcul*>(lines[0].get()), nullptr);
    request.reset();
    EXPECT_EQ(lines[1]->label, "Trois");
    EXPECT_EQ(copy.GetCalculsLignes().size(), 2u);
    EXPECT_EQ(copy.studyFieldName, "Hommes");
}

TEST_F(TraitementTest, AxisOperations) {
    CTraitement request = SimpleProfiles();
    request.DefinirModalitesAxe(q1, Chosen(*q1, {0}), CTraitement::kLignes);
    EXPECT_EQ(request.GetProfilAxe(CTraitement::kLignes), nullptr) << "defining modalities drops the profile";
    EXPECT_EQ(request.GetModalitesAxe(CTraitement::kLignes).size(), 1u);
    EXPECT_EQ(&request.GetModalitesAxe(7), &request.GetModalitesAxe(CTraitement::kLignes));

    request.SetQuestionAxe(q2, CTraitement::kLignes);
    EXPECT_TRUE(request.GetModalitesAxe(CTraitement::kLignes).empty());
    EXPECT_EQ(request.GetQuestionAxe(CTraitement::kLignes), q2);
    request.SetQuestionAxe(q1, 9);
    EXPECT_EQ(request.GetQuestionAxe(9), nullptr);

    request.SetTotalAxe(CTraitement::kColonnes, 3);
    request.SetTotalAxe(2, 4);
    EXPECT_EQ(request.GetTotalAxe(CTraitement::kColonnes), 3);
    EXPECT_EQ(request.GetTotalAxe(2), 0);

    request.SetCalculsLignes(Calculations({1, 2, 2}));
    request.GarderCalculLigne(2);
    ASSERT_EQ(request.GetCalculsLignes().size(), 1u);
    EXPECT_EQ(request.GetCalculsLignes()[0]->code, 2);
    request.GarderCalculLigne(5);
    EXPECT_TRUE(request.GetCalculsLignes().empty());

    CTraitement flat = FlatSort();
    auto& columns = flat.GetModalitesAxe(CTraitement::kColonnes);
    columns.push_back(std::make_unique<CLigne>("Total"));
    columns.back()->code = CLigne::kTotalCode;
    columns.push_back(std::make_unique<CLigne>("Total bis"));
    columns.back()->code = CLigne::kTotalCode;
    flat.SupprimerTotal();
    EXPECT_EQ(flat.GetModalitesAxe(CTraitement::kLignes).size(), 3u);
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0]->label, "Total bis");

    flat.SetVersDossier(true);
    EXPECT_EQ(flat.mergeOptions.EstVersDossier, 1);
}

TEST_F(TraitementTest, GroupingAxisCopiesTheQuestionsSubTotals) {
    CTraitement request = SimpleProfiles();
    request.DefinirRegroupementAxe(q12g, CTraitement::kLignes);
    EXPECT_EQ(request.GetProfilAxe(CTraitement::kLignes), nullptr);
    const CRecodageModalite* grouping = request.GetRegroupementAxe(CTraitement::kLignes);
    ASSERT_NE(grouping, nullptr);
    EXPECT_EQ(grouping->NodeCount(), 4);
    EXPECT_TRUE(grouping->GetEstCumule());
    EXPECT_NE(grouping, q12g->GetRecodage());
    request.DefinirRegroupementAxe(q1, CTraitement::kColonnes);
    ASSERT_NE(request.GetRegroupementAxe(CTraitement::kColonnes), nullptr);
    EXPECT_EQ(request.GetRegroupementAxe(CTraitement::kColonnes)->NodeCount(), 0);
}

// The analyst's arrangement of the nodes (order, captions, styles) is the grouping of the axis,
// and survives storing and loading; the name and the flag stay the question's.
TEST_F(TraitementTest, GroupingAxisTakesTheAnalystsNodes) {
    Modalities nodes;
    const auto* own = dynamic_cast<const CRecodageModalite*>(q12g->GetRecodage());
    ASSERT_NE(own, nullptr);
    // M3 first, then the group with its members in the other order, the group renamed and bold.
    for (int i : {3, 0, 2, 1})
        nodes.push_back(std::make_unique<CModaliteGroupe>(*own->Node(i)));
    nodes[1]->SetShortCaption("Premiers");
    nodes[1]->displayOptions = {true, false, false, true};
    // A plain modality becomes a top entry.
    nodes.push_back(std::make_unique<CModaliteEtendue>(*q12->GetModaliteEtendue(2)));
    CTraitement request;
    request.type = CTraitement::kTriRegroupement;
    request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeRegroupement);
    request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
    request.DefinirRegroupementAxe(q12g, nodes, CTraitement::kLignes);

    struct Node {
        std::int32_t code;
        std::int16_t level;
        std::string caption;
        std::array<bool, 4> options;
    };
    const std::vector<Node> expected = {{3, 0, "M3", {true, false, true, false}},
                                        {0, 0, "Premiers", {true, false, false, true}},
                                        {2, 1, "M2", {}},
                                        {1, 1, "M1", {}},
                                        {3, 0, "M3", {}}};
    const CTraitement loaded = Loaded(Stored(request, kVersion));
    for (const CTraitement* side : std::initializer_list<const CTraitement*>{&request, &loaded}) {
        SCOPED_TRACE(side == &request ? "built" : "loaded");
        const CRecodageModalite* grouping = side->GetRegroupementAxe(CTraitement::kLignes);
        ASSERT_NE(grouping, nullptr);
        EXPECT_EQ(grouping->label, "Q12G");
        EXPECT_TRUE(grouping->GetEstCumule());
        ASSERT_EQ(grouping->NodeCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < grouping->NodeCount(); ++i) {
            const Node& node = expected[static_cast<std::size_t>(i)];
            EXPECT_EQ(grouping->Node(i)->code, node.code) << i;
            EXPECT_EQ(grouping->Node(i)->level, node.level) << i;
            EXPECT_EQ(grouping->Node(i)->GetShortCaption(), node.caption) << i;
            EXPECT_EQ(grouping->Node(i)->displayOptions, node.options) << i;
        }
    }
    // The question's own grouping is untouched.
    EXPECT_EQ(own->Node(0)->GetShortCaption(), "Groupe A");
    EXPECT_EQ(own->Node(1)->code, 1);
}

// ---- Named profiles and styles of the questionnaire

// The request fixture over a questionnaire file whose definition tables hold a profile, a numeric
// profile and a style.
class TraitementStoreTest : public TraitementTest {
protected:
    void SetUp() override {
        TraitementTest::SetUp();
        ASSERT_FALSE(folder.empty());
        survey.questionnairePath = folder + "/requests.qes";
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
            "questionnaire \"Requests\" language=fr version=405\n"
            "language 1036 fr \"Français\"\n"
            "question 1 SEXE closed\n"
            "  modality 1 fr \"Homme\"\n",
            "requests.txt", {});
        qesbuild::WriteFixture(fixture, survey.questionnairePath);
        survey.SetUserInterface(std::make_unique<RecordingUserInterface>());
        CDBQuestionnaire store(survey, &survey.GetUserInterface());
        closed = ClosedProfile();
        closed.label = "Marques";
        ASSERT_TRUE(store.SaveProfile(closed.id, closed)) << store.GetLastError();
        numeric.label = "Montants";
        numeric.Add(q30);
        ASSERT_TRUE(store.SaveNumericProfile(numeric.id, numeric)) << store.GetLastError();
        style.name = "Style enregistré";
        auto calculation = std::make_unique<CCalculEvolue>();
        calculation->code = 1;
        calculation->label = "Pct";
        style.Add(std::move(calculation));
        ASSERT_TRUE(store.SaveStyle(style)) << store.GetLastError();
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        TraitementTest::TearDown();
    }

    static std::string MakeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-requests-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }

    std::string folder = MakeFolder();
    CProfil closed;
    CProfil numeric;
    CStyle style;
};

TEST_F(TraitementStoreTest, NamedProfilesAndStylesAreStoredByNameAndReadBack) {
    CTraitement request;
    request.type = CTraitement::kProfilsCroisesMoyenne;
    request.SetProfilAxe(&closed, CTraitement::kLignes);
    request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilFermees);
    request.SetProfilAxe(&numeric, CTraitement::kColonnes);
    request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeProfilNumeriques);
    request.SetStyle(std::make_unique<CStyle>(style));
    ASSERT_GT(style.id, 0);

    const Bytes first = Stored(request, kVersion);
    const CTraitement loaded = Loaded(first);
    EXPECT_FALSE(loaded.EstInvalide());
    const CProfil* rows = loaded.GetProfilAxe(CTraitement::kLignes);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->id, closed.id);
    EXPECT_EQ(rows->ToString(survey), closed.ToString(survey));
    const CProfil* columns = loaded.GetProfilAxe(CTraitement::kColonnes);
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->label, "Montants");
    EXPECT_EQ(columns->GetQuestion(0), q30);
    ASSERT_NE(loaded.GetStyle(), nullptr);
    EXPECT_EQ(loaded.GetStyle()->GetCount(), 1);
    CTraitement reloaded(loaded);
    EXPECT_EQ(Stored(reloaded, kVersion), first);

    // Renamed in the questionnaire: the request names the profile it no longer finds.
    CDBQuestionnaire store(survey, &survey.GetUserInterface());
    closed.label = "Autres marques";
    ASSERT_TRUE(store.SaveProfile(closed.id, closed));
    const CTraitement renamed = Loaded(first);
    EXPECT_TRUE(renamed.EstInvalide());
    EXPECT_EQ(renamed.GetMessagesInvalidite(), (std::vector<Message>{Message::Text("Profil 'Marques' pas trouvé")}));
}

} // namespace
