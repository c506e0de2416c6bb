#include "variables/DefinitionTexts.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "app/DBQuestionnaire.h"
#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

Message Unreadable(const std::string& label, const std::string& item) {
    return Message(StringTable::kVariableElementIllisible, {label, item});
}

} // namespace

std::vector<DefinitionTexts::Item> DefinitionTexts::LireGroupes(const std::string& label, const std::string& themes,
                                                                const std::string& definition,
                                                                std::vector<Message>& defects) {
    const std::vector<std::string> captions = Split(themes, '|');
    const std::vector<std::string> numbers = Split(definition, '|');
    std::vector<Item> items;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::int32_t number = 0;
        if (!CStaticTools::EstLong(numbers[i], number)) {
            defects.push_back(Unreadable(label, numbers[i]));
            return {};
        }
        items.push_back({i < captions.size() ? captions[i] : std::string(), number});
    }
    if (captions.size() != numbers.size()) {
        defects.push_back(Message(StringTable::kVariableDefinitionIncoherente,
                                  {label, std::to_string(numbers.size()), std::to_string(captions.size())}));
        return {};
    }
    return items;
}

std::string DefinitionTexts::EcrireLibellesGroupes(const std::vector<Item>& items) {
    std::string text;
    for (const Item& item : items)
        text += item.label + "|";
    return text;
}

std::string DefinitionTexts::EcrireNumerosGroupes(const std::vector<Item>& items) {
    std::string text;
    for (const Item& item : items)
        text += std::to_string(item.number) + "|";
    return text;
}

std::vector<DefinitionTexts::Item> DefinitionTexts::LireModalitesSuperposees(const std::string& label,
                                                                             const std::string& themes,
                                                                             std::vector<Message>& defects) {
    std::vector<Item> items;
    std::set<std::int32_t> numbers;
    bool stopped = false;
    for (const std::string& piece : Split(themes, '|')) {
        const std::vector<std::string> parts = Split(piece, '@');
        std::int32_t number = 0;
        if (parts.size() != 2 || !CStaticTools::EstLong(parts[1], number)) {
            defects.push_back(Unreadable(label, piece));
            stopped = true;
        } else if (!numbers.insert(number).second) {
            defects.push_back(Message(StringTable::kVariableCodeEnDouble, {label, std::to_string(number)}));
            stopped = true;
        } else if (!stopped) {
            items.push_back({parts[0], number});
        }
    }
    return items;
}

std::string DefinitionTexts::EcrireModalitesSuperposees(const std::vector<Item>& items) {
    std::string text;
    for (const Item& item : items)
        text += item.label + "@" + std::to_string(item.number) + "|";
    return text;
}

std::vector<CQuestionEtendue*> DefinitionTexts::LireQuestionsSuperposees(const std::string& label,
                                                                         const std::string& definition,
                                                                         const CEnquete& survey,
                                                                         std::vector<Message>& defects) {
    std::vector<CQuestionEtendue*> questions;
    for (const std::string& piece : Split(definition, '|')) {
        const std::vector<std::string> parts = Split(piece, '@');
        std::int32_t code = 0;
        std::int32_t recode = 0;
        const bool readable = (parts.size() == 2 || parts.size() == 3) && CStaticTools::EstLong(parts[0], code) &&
                              CStaticTools::EstLong(parts.back(), recode);
        if (!readable) {
            defects.push_back(Unreadable(label, piece));
            continue;
        }
        CQuestionEtendue* question = survey.TrouverQuestion(code, parts.size() == 3 ? parts[1] : std::string(), recode);
        if (question == nullptr || !question->EstAModalite()) {
            defects.push_back(Message(StringTable::kVariableQuestionAbsente, {label, std::to_string(code)}));
            continue;
        }
        questions.push_back(question);
    }
    return questions;
}

std::string DefinitionTexts::EcrireQuestionsSuperposees(const std::vector<CQuestionEtendue*>& questions) {
    return CDBQuestionnaire::WriteQuestionList({questions.begin(), questions.end()});
}

std::string DefinitionTexts::LibelleStockable(std::string caption, bool superposition) {
    std::replace_if(
        caption.begin(), caption.end(), [superposition](char c) { return c == '|' || (superposition && c == '@'); },
        '/');
    return caption;
}
