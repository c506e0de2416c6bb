#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Message.h"

class CEnquete;
class CQuestionEtendue;

// The stored texts of the kinds whose captions and definition are lists: the groups of a
// multivariate classification (kind 4) and the superposition of questions (kind 6). The computed
// question, its computation and the creation dialog's panels read and write them here, so that
// all three agree on one form.
//
// A list is read as it stands and never shifts an item onto another's place: reading stops at the
// first item that cannot be read (or repeats a number), keeping the items before it, and says why
// in `defects`, one message per item that could not be read.
class DefinitionTexts {
public:
    struct Item {
        std::string label;
        std::int32_t number = 0;
    };

    // Kind 4: captions "%s|" and numbers "%d|" in the same order. The items when both lists
    // read and have the same length; none otherwise.
    static std::vector<Item> LireGroupes(const std::string& label, const std::string& themes,
                                         const std::string& definition, std::vector<Message>& defects);
    static std::string EcrireLibellesGroupes(const std::vector<Item>& items);
    static std::string EcrireNumerosGroupes(const std::vector<Item>& items);

    // Kind 6 modalities: "%s@%d|" per modality, its caption and the number (from 1) of the source
    // modality it takes.
    static std::vector<Item> LireModalitesSuperposees(const std::string& label, const std::string& themes,
                                                      std::vector<Message>& defects);
    static std::string EcrireModalitesSuperposees(const std::vector<Item>& items);

    // Kind 6 questions: "%d@%s@%d|" per question (code, loop keys, recode code; an older form
    // without loop keys has two fields). A question the survey no longer has, or that has no
    // modalities, is a defect as well.
    static std::vector<CQuestionEtendue*> LireQuestionsSuperposees(const std::string& label,
                                                                   const std::string& definition,
                                                                   const CEnquete& survey,
                                                                   std::vector<Message>& defects);
    static std::string EcrireQuestionsSuperposees(const std::vector<CQuestionEtendue*>& questions);

    // A caption copied from the questionnaire, made storable: the separators of the stored lists
    // ("|", and "@" for a superposition's modalities) become "/".
    static std::string LibelleStockable(std::string caption, bool superposition);
};
