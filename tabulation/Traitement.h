#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/Ligne.h"
#include "app/Message.h"
#include "platform/questionnaire/Objet.h"
#include "presentation/PresentationGraphique.h"
#include "presentation/PresentationTableau.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"
#include "tabulation/TypeFusion.h"

class CModaliteEtendue;
class CQuestionEtendue;
class CRecodageModalite;

// One tabulation request: the kind of table wanted (its type code), what stands on the row side
// and on the column side (each an axis kind with its question, modality lines, profile or
// grouping), the calculation lines of each side, the title, the study field, weighting and level
// it is computed on, its presentations, merge options and style. The request dialogs build it,
// the runner computes it, each result table owns a copy of it and the portfolio stores it.
//
// Ownership: the request owns its lines, calculations, profiles, groupings and style; its
// questions belong to the survey. Whoever holds a request owns it; handing it to a table or to
// the runner is a transfer of the unique_ptr, so a request is freed once, by its last owner.
//
// Axis kinds and their payload: 0 a closed question and its modality lines; 1 a closed question
// with a grouping of its modalities; 2 a profile of closed questions with their modalities and a
// Total option; 3 a profile of numeric questions and a Total option; 4 none; 5 a numeric
// question; 6 an open question; 7 a profile of open questions (row side only).
//
// Archive (the versioned archive; integers little-endian, counts and strings in the archive's
// forms), in order: 16-bit type code; 16-bit row kind and its payload; 16-bit column kind and
// its payload (kind 7 has none on the column side); the row then the column calculations as
// object arrays of CCalcul; the title; the 32-bit code of the level; the study-field name; the
// weighting name; the merge options; the table presentation; the chart presentation; 32-bit
// open-as-chart; 32-bit 1 and the style, or 0 without style. Payloads (questions are stored by
// name):
// - kind 0: the question; a count and per line its 32-bit code (the modality's index in the
//   question, -4 the Total line, -5 minus its code for a calculation line), its label (empty when
//   it is the modality's short caption) and the 32-bit bold, italic, underline, shadow flags;
// - kind 1: the question; the grouping's name, 32-bit flag that counts an interview several
//   times, a count and per node its 32-bit modality index in the parent question (-1 for a group
//   of the analyst's), its caption, its four 32-bit display flags and its 16-bit group level;
// - kinds 2, 3, 7: the profile: 32-bit form 1 and its name for a named profile, or form 2, a
//   count and per line the question (an empty name for a separator line) and, for kind 2, a count
//   of modalities each as its 32-bit index and the display flags first, second, fourth, third;
//   then, for kinds 2 and 3, the 32-bit Total option. Form 0 of older files is read too;
// - kinds 5 and 6: the question.
//
// Loading finds every stored name again in the survey of the study context (GetContexte()):
// questions by name, the level by its code, the study field and the weighting by name in the
// survey's lists, named profiles in the questionnaire's profile lists, a named style in its style
// table. A request that names something that is no longer there (a question, a question of the
// wrong kind, a grouping, a profile, a style, a study field, a weighting, a level) is marked
// invalid, with one message per missing part naming it (GetMessagesInvalidite): its owner shows
// them and never computes it on another population. Lines of a missing question are read and
// dropped; modalities and groups that are no longer in their question are dropped.
class CTraitement : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CTraitement", 1, &CObjet::CreateObject<CTraitement>};

    // Axis kinds.
    enum TypeAxe : std::int16_t {
        kAxeIndefini = -1,
        kAxeFermee = 0,
        kAxeRegroupement = 1,
        kAxeProfilFermees = 2,
        kAxeProfilNumeriques = 3,
        kAxeAucun = 4,
        kAxeNumerique = 5,
        kAxeOuverte = 6,
        kAxeProfilOuvertes = 7,
    };
    // Axes: the row and column sides, and the two further questions.
    enum Axe : int { kLignes = 0, kColonnes = 1, kTroisieme = 2, kQuatrieme = 3 };
    // Type codes of the tables the dispatcher makes.
    enum TypeTraitement : std::int16_t {
        kTypeIndefini = -1,
        kTriSimple = 1,
        kTriCroise = 2,
        kStatistiques = 3,
        kProfilsSimples = 4,
        kProfilsStatistiques = 5,
        kTableauMoyenne = 7,
        kProfilsCroises = 8,
        kTriRegroupement = 9,
        kComparaisonModalites = 10,
        kTriClassement = 11,
        kTriCroiseRegroupement = 12,
        kProfilsCroisesMoyenne = 13,
        kTableauxEvolues = 14,
        kTraitementMixte = 15,
        kTauxImportanceCroise = 16,
        kOuvertesListees = 17,
        kOuvertesSelonModalite = 18,
        kOuvertesDictionnaire = 19,
        kOuvertesSegments = 20,
        kOuvertesProfils = 21,
    };

    using Lignes = std::vector<std::unique_ptr<CLigne>>;
    using Calculs = std::vector<std::unique_ptr<CCalcul>>;

    // Every field at its default: no type, no axis, level 0, all interviews, no weighting, the
    // presentations' and merge options' own defaults (the user's saved choices).
    CTraitement();
    // A deep copy of everything but the third and fourth questions (set again by whoever needs
    // them) and the invalid state: lines (calculation lines staying calculation lines), Total
    // options, profiles, groupings, calculations, style, title, level, study field, weighting,
    // presentations, merge options, open-as-chart.
    CTraitement(const CTraitement& other);
    CTraitement& operator=(const CTraitement&) = delete;
    ~CTraitement() override;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    // ---- Axes (axis 0 the rows, 1 the columns) ----
    // The axis kind; -1 for an axis other than 0 and 1.
    std::int16_t GetTypeAxe(int axis) const;
    void SetTypeAxe(int axis, std::int16_t kind);
    // Axis 0 or 1: sets the side's question, empties its lines and deletes its profile; axis 2
    // and 3 set the third and fourth questions; any other axis does nothing.
    void SetQuestionAxe(CQuestionEtendue* question, int axis);
    // The question of axis 0 to 3; null for any other.
    CQuestionEtendue* GetQuestionAxe(int axis) const;
    // Axis 0 or 1: the side's lines become one line per entry of the selection (a calculation
    // line for an entry marked as one, else a line of the modality), its question is set and its
    // profile deleted.
    void DefinirModalitesAxe(CQuestionEtendue* question, const std::vector<std::unique_ptr<CModaliteEtendue>>& selection,
                             int axis);
    // Axis 0 or 1: sets the side's question and gives it a new grouping holding a copy of the
    // question's own sub-total nodes and its flag that counts an interview several times (an
    // empty grouping when the question has no sub-totals); the side's profile is deleted.
    void DefinirRegroupementAxe(CQuestionEtendue* question, int axis);
    // The same with the analyst's nodes in place of the question's: one node per entry, in order,
    // with its caption, level, selected flag and display options (an entry that is not a grouped
    // modality becomes a node of level 0). The name and the flag that counts an interview several
    // times stay those of the question's own grouping.
    void DefinirRegroupementAxe(CQuestionEtendue* question,
                                const std::vector<std::unique_ptr<CModaliteEtendue>>& nodes, int axis);
    // Axis 0 or 1 keeps a copy of the profile (null: none), the previous one deleted.
    void SetProfilAxe(const CProfil* profile, int axis);
    CProfil* GetProfilAxe(int axis) const;
    CRecodageModalite* GetRegroupementAxe(int axis) const;
    // The lines of the rows (axis 0, and any other value) or of the columns (axis 1).
    const Lignes& GetModalitesAxe(int axis) const;
    Lignes& GetModalitesAxe(int axis);
    std::int32_t GetTotalAxe(int axis) const;
    // Axis 0 or 1; any other leaves everything unchanged.
    void SetTotalAxe(int axis, std::int32_t option);

    // ---- Calculations ----
    // Each empties the side's calculations and appends a calculation-line copy of each element.
    template <class T> void SetCalculsLignes(const std::vector<std::unique_ptr<T>>& calculations) {
        CCalcul::CopierTableau(m_axes[kLignes].calculations, calculations);
    }
    template <class T> void SetCalculsColonnes(const std::vector<std::unique_ptr<T>>& calculations) {
        CCalcul::CopierTableau(m_axes[kColonnes].calculations, calculations);
    }
    const Calculs& GetCalculsLignes() const { return m_axes[kLignes].calculations; }
    const Calculs& GetCalculsColonnes() const { return m_axes[kColonnes].calculations; }
    // Keeps, of the row calculations, only the first one of that code (none when none has it).
    void GarderCalculLigne(std::int32_t code);
    // Removes the first Total line (code -4) of the rows, and of the columns.
    void SupprimerTotal();

    // ---- Options ----
    void SetVersDossier(bool toPortfolio) { mergeOptions.EstVersDossier = toPortfolio ? 1 : 0; }
    // Takes the style (the previous one deleted); null removes it.
    void SetStyle(std::unique_ptr<CStyle> style);
    CStyle* GetStyle() const { return m_style.get(); }

    // ---- Loading ----
    // Whether the request, as loaded, names something that no longer resolves; each message names
    // what is missing. A request built in memory or copied is valid.
    bool EstInvalide() const { return m_invalid != 0; }
    const std::vector<Message>& GetMessagesInvalidite() const { return m_invalidMessages; }

    // The archive above; loading replaces the request (but its third and fourth questions) only
    // once the whole record has been read.
    void Serialize(CArchiveVersion& archive) override;

    // ---- Plain fields ----
    std::int16_t type = kTypeIndefini;
    std::string title;
    std::string studyFieldName;
    std::string weightingName;
    std::int32_t level = 0;          // index in the survey's levels; 0 the interviews
    std::int32_t studyFieldId = -1;  // -1 all interviews
    std::int32_t weightingId = -1;   // -1 no weighting
    CPresentationTableau presentation;
    CPresentationGraphique chartPresentation;
    CTypeFusion mergeOptions;
    std::int32_t openAsChart = 0;

private:
    // One side of the request.
    struct Side {
        std::int16_t kind = kAxeIndefini;
        CQuestionEtendue* question = nullptr; // not owned
        Lignes lines;
        std::unique_ptr<CProfil> profile;
        std::unique_ptr<CRecodageModalite> grouping;
        std::int32_t totalOption = 0;
        Calculs calculations;

        Side();
        Side(const Side& other);
        Side& operator=(const Side&) = delete;
        Side(Side&&) noexcept;
        Side& operator=(Side&&) noexcept;
        ~Side();
    };
    class ArchiveReader;
    class ArchiveWriter;

    // The side of axis 0 or 1; null for any other.
    Side* SideOf(int axis);
    const Side* SideOf(int axis) const;
    // Takes every loaded field of the other request.
    void TakeLoaded(CTraitement& loaded);

    std::array<Side, 2> m_axes;
    CQuestionEtendue* m_thirdQuestion = nullptr;  // not owned, not copied, not stored
    CQuestionEtendue* m_fourthQuestion = nullptr; // not owned, not copied, not stored
    std::unique_ptr<CStyle> m_style;
    std::int32_t m_invalid = 0;
    std::vector<Message> m_invalidMessages;
};
