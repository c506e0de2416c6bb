#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Message.h"

class CContexteEtude;
class CQuestionEtendue;
class CVariableCalculee;
struct CReponsesCalculees;

// What the creation dialog gives for a variable: its label, its kind and the kind's texts and
// source questions. The answers are computed from these parts.
struct PartiesVariable {
    std::string label;
    std::int16_t kind = 0;
    std::string themes;     // the modality captions, "|" after each
    std::string definition; // the kind's definition text
    CQuestionEtendue* source1 = nullptr; // not owned
    CQuestionEtendue* source2 = nullptr;
    int superposition = 0;
};

// Builds a computed question, or builds an existing one again, from its parts: the answers of
// every interview are computed first; then the answer fields are made, the answers written and
// the definition saved in one transaction of the questionnaire database. Only when that
// transaction has landed does a new question join the survey, or an existing one take its new
// parts, so that a failure at any step leaves the questionnaire, the survey and the counter of
// new question codes as they were. The dialog and the recalculation share it.
class CConstructionVariable {
public:
    // The label refused: empty, "|" in it, or the name of another question of the survey (the
    // question being changed excepted). Id 0 when it is fine.
    static Message VerifierLibelle(const CContexteEtude& context, const std::string& label,
                                   const CQuestionEtendue* edited);

    // A new variable (edited null) or the edited computed question built again from `parts`.
    // Answers the question, now in the survey; null with the reason in `error`. A variable made
    // by an analysis window (kinds 4 and 5) is only changed, never made here, and its answers
    // are not computed: kind 5 takes the label, kind 4 the label and its classes' captions and
    // order. A profile variable (kind 8) whose answer fields cannot be made while the inverted
    // files are in use keeps its answers in its inverted file alone, after a warning.
    static CQuestionEtendue* Construire(CContexteEtude& context, CQuestionEtendue* edited, const PartiesVariable& parts,
                                        Message& error);
    // A new variable whose answers were computed elsewhere (one result per interview of an
    // analysis window): written, saved and added as Construire does, all or nothing.
    static CQuestionEtendue* ConstruireAvecReponses(CContexteEtude& context, const PartiesVariable& parts,
                                                    const CReponsesCalculees& answers, Message& error);

    // The computed question's answers computed again from its stored definition. The kinds whose
    // answers come from elsewhere (4 and 5) and the postcode kind (10), whose classification
    // files lie outside the survey, are left as they are (true). False with the reason, the
    // question keeping its answers and definition, when they cannot be computed or written.
    static bool Recalculer(CContexteEtude& context, CQuestionEtendue& question, Message& error);

    // Every computed question of the survey recalculated in turn; answers the questions that could
    // not be, each once, in survey order (each keeps its old answers), with the reason.
    struct Echec {
        CQuestionEtendue* question;
        Message raison;
    };
    static std::vector<Echec> RecalculerTout(CContexteEtude& context);

    // The crossing repeated over the iterations of the loop that one of its questions belongs to
    // (the first when it is in a loop, else the second): one new variable per question of the
    // same code and recode at the interview level, that question in place of the varying one,
    // labelled "%s (%d)" from `parts.label` and a counter from 1, raised past the labels in use.
    // Answers how many were built; false with 63492 when neither question is in a loop.
    static bool CopierSurBoucle(CContexteEtude& context, const PartiesVariable& parts, int& built, Message& error);

    // The parts a stored definition holds.
    static PartiesVariable PartiesDe(const CQuestionEtendue& question);

private:
    // The answers, one row per interview of the survey, written with the definition; the draft
    // becomes the new question, or the edited one takes its parts.
    static CQuestionEtendue* Enregistrer(CContexteEtude& context, CQuestionEtendue* edited,
                                         const PartiesVariable& parts, std::unique_ptr<CVariableCalculee> draft,
                                         const CReponsesCalculees& answers, Message& error);
};
