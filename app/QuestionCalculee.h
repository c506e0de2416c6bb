#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Message.h"

class CEnquete;
class CQuestionEtendue;

// The definition of a computed question: how it was made (its kind, 1 to 13, and the kind's
// texts), its label and where its answers live. The question it defines owns it. This folder
// holds the record and the parts the survey needs; the computed variables complete the
// behaviour (ConstruireModalites, ResoudreQuestions, DonnerDefinition) by deriving from it and
// registering their factory at start-up (EnregistrerFabrique), so that the loader's Creer makes
// their class.
class CQuestionCalculee {
public:
    // A stored reference to a source question: code, loop keys ("%ld;" per key), recode code.
    struct Reference {
        std::int32_t code = 0;
        std::string keys;
        std::int32_t recodeCode = 0;
    };

    using Fabrique = std::function<std::unique_ptr<CQuestionCalculee>()>;

    // The kinds a stored definition may have.
    static constexpr std::int16_t kPremierType = 1;
    static constexpr std::int16_t kDernierType = 13;
    // The kind whose answers keep the superposition option ("Cumuler les modalités déjà citées").
    static constexpr std::int16_t kTypeSuperposition = 6;
    // The kind whose modalities are copies of its source question's.
    static constexpr std::int16_t kTypeQuestionFiltree = 13;
    // The chapter "Questions calculées" the computed questions stand under, and their depth.
    static constexpr std::int32_t kCodeGroupe = -100000;
    static constexpr std::int16_t kProfondeurQuestion = 2;

    // Number 0, empty texts, kind 0, no source question.
    CQuestionCalculee() = default;
    CQuestionCalculee(const CQuestionCalculee&) = delete;
    CQuestionCalculee& operator=(const CQuestionCalculee&) = delete;
    virtual ~CQuestionCalculee() = default;

    // An empty definition of the registered class (this class while none is registered).
    static std::unique_ptr<CQuestionCalculee> Creer();
    // Installs the factory of the computed variables (null uninstalls); answers the previous one.
    static Fabrique EnregistrerFabrique(Fabrique fabrique);

    // A new question of the survey holding the definition: kind 1 with the class attribute of a
    // computed question, name and long caption in the questionnaire language = the label, code
    // = minus the number, one depth below the group of computed questions; then the definition
    // builds its modalities (ConstruireModalites).
    static std::unique_ptr<CQuestionEtendue> CreerQuestion(std::unique_ptr<CQuestionCalculee> definition,
                                                           CEnquete& survey);

    // Rebuilds the question's caption, type and modalities from the definition. Done by the
    // computed variables; this base leaves the question as it is.
    virtual void ConstruireModalites(CQuestionEtendue& question);
    // Binds the two source questions from their stored references. Done by the computed
    // variables; this base binds nothing.
    virtual void ResoudreQuestions(CEnquete& survey);
    // The text stored as the definition; the computed variables write the profile kinds in
    // their own form, every other kind stores its definition text unchanged.
    virtual std::string DonnerDefinition() const;
    // What the last ConstruireModalites and ResoudreQuestions found the stored definition cannot
    // give (an unknown kind, texts that do not agree, a source question gone): one message each,
    // none for a sound definition. This base finds nothing.
    virtual std::vector<Message> DonnerDefauts() const;

    // Whether the computed question's answers can hold the not-asked modality: false for the
    // kinds that build their modalities from captions or study fields (1, 2, 6, 8, 9).
    bool AModaliteAutre() const;

    std::int32_t code = 0;       // the variable's number; its question's code is minus it
    std::string label;
    std::int16_t kind = 0;       // 1 to 13
    std::string definition;      // "Expression"
    std::string themes;          // "Themes": the modality captions, separated by '|'
    int maxAnswers = 0;          // "NbMaxReponse"
    int responseTable = 0;       // "NroTableReponse"
    // Kind 6: "Cumuler les modalités déjà citées", kept in "EstCumule" so that a recalculation
    // counts as the variable was made; 0 for every other kind.
    int superposition = 0;
    CQuestionEtendue* source1 = nullptr; // not owned; bound by ResoudreQuestions
    CQuestionEtendue* source2 = nullptr;
    Reference reference1;        // as read, before binding
    Reference reference2;
};
