#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Message.h"
#include "app/QuestionCalculee.h"
#include "tabulation/Profil.h"

class CEnquete;
class CQuestionEtendue;

// The computed question's definition with what each of its thirteen kinds builds: the question's
// type, flags and modalities from the stored texts, the binding of its source questions, and the
// profile of the kinds made from a list of questions (8 and 11), which it owns. The survey
// creates it through the factory that EnregistrerQuestionsCalculees installs, so that every
// stored "MFW Variable" record becomes one of these.
//
// A stored definition is read as it stands and never builds a question with shifted modalities:
// an item that cannot be read adds no modality, a caption list that does not agree with its code
// list gives none of them, a code met twice keeps its first modality. Each such finding is kept
// as a message (DonnerDefauts) for the user to see after the opening.
class CVariableCalculee : public CQuestionCalculee {
public:
    // The kinds, as stored in "TypeVariable".
    enum Kind : std::int16_t {
        kCroisement = 1,
        kChampsEtude = 2,
        kScript = 3,
        kMultivarie = 4,
        kNumeriqueMultivarie = 5,
        kSuperposition = 6,
        kRedressement = 7,
        kProfil = 8,
        kDictionnaire = 9,
        kCodagePostal = 10,
        kDureesSaisie = 11,
        kInfosGenerales = 12,
        kQuestionFiltree = 13,
    };

    CVariableCalculee() = default;

    void ConstruireModalites(CQuestionEtendue& question) override;
    // Binds the two source questions from their references (none when not found); kinds 8 and
    // 11 then read their stored definition text into the profile and empty the text. Calling it
    // again keeps the profile.
    void ResoudreQuestions(CEnquete& survey) override;
    // Kinds 8 and 11: the profile's text form; every other kind: the definition text.
    std::string DonnerDefinition() const override;
    // What the last ConstruireModalites and ResoudreQuestions found the stored texts cannot give.
    std::vector<Message> DonnerDefauts() const override;

    // Replaces the profile by a copy of the given one.
    void DefinirProfil(const CProfil& profile);
    const CProfil& GetProfil() const { return m_profile; }

    // Whether the kind builds a question from the definition (1 to 13).
    static bool EstTypeConnu(std::int16_t kind);
    // The message refusing a caption typed for a kind: "|" separates the stored captions, and
    // kind 6 also joins a caption and its code with "@". Id 0 when the caption is fine.
    static Message VerifierLibelle(std::int16_t kind, const std::string& caption);

private:
    friend struct ModalityBuilders;

    void Note(Message message) { m_buildDefects.push_back(std::move(message)); }
    void NoteMissingSource(const Reference& reference);
    // The lines and modalities of a stored profile that did not read back.
    void NoteProfileLosses(const std::string& stored);

    CProfil m_profile;
    CEnquete* m_survey = nullptr; // not owned: the survey of the question last built or bound
    std::vector<Message> m_buildDefects; // found by the last ConstruireModalites
    std::vector<Message> m_bindDefects;  // found by the last ResoudreQuestions
};
