#include "gui/openanswers/OuvDictionnaireDoc.h"

#include "app/QuestionEtendue.h"
#include "app/StringTable.h"

bool COuvDictionnaireDoc::Accepte(const CQuestionEtendue& question) const {
    return question.EstOuverte();
}

std::string COuvDictionnaireDoc::Titre(const CQuestionEtendue& question) const {
    return StringTable::Format(Message(StringTable::kDictionnaireDe, {question.GetCaption()}));
}
