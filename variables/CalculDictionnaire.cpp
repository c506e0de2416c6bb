#include "variables/CalculDictionnaire.h"

#include <algorithm>
#include <cstdint>

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "openanswers/OuvCorpus.h"
#include "openanswers/Tokenizer.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/VariableCalculee.h"

namespace CalculDictionnaire {

namespace {

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, '|', items);
    return items;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Marks, in `marked`, every interview (answer index below its size) of the given answer indexes.
void Mark(const std::vector<std::uint32_t>& answers, std::vector<bool>& marked) {
    for (const std::uint32_t answer : answers)
        if (answer < marked.size())
            marked[answer] = true;
}

std::vector<bool> InterviewsOf(const COuvCorpus& corpus, const ListeMots& list, std::size_t interviews) {
    std::vector<bool> marked(interviews, false);
    std::vector<std::uint32_t> answers;
    for (const std::string& word : list.mots) {
        int index = 0;
        answers.clear();
        if (corpus.ChercherForme(Trimmed(word), index))
            corpus.DonnerInterviewsForme(index, answers);
        Mark(answers, marked);
    }
    for (const std::string& segment : list.segments) {
        int index = 0;
        answers.clear();
        // Segments are kept folded, as the forms they are made of.
        if (corpus.ChercherSegment(Tokenizer::ReplierTexte(Trimmed(segment)), index))
            corpus.DonnerInterviewsSegment(index, answers);
        Mark(answers, marked);
    }
    return marked;
}

} // namespace

ListeMots DecouperListe(std::string_view text) {
    ListeMots list;
    std::string word;
    const auto endWord = [&] {
        if (!word.empty())
            list.mots.push_back(std::move(word));
        word.clear();
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (IsBlank(c)) {
            endWord();
        } else if (c == '"') {
            endWord();
            const std::size_t close = text.find('"', at + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            list.segments.emplace_back(text.substr(at + 1, end - at - 1));
            at = end;
        } else {
            word.push_back(c);
        }
    }
    endWord();
    return list;
}

bool Calculer(const CVariableCalculee& definition, CContexteEtude& context, CReponsesCalculees& out, Message& error) {
    CQuestionEtendue* question = definition.source1;
    if (question == nullptr || !question->EstOuverte()) {
        error = Message(StringTable::kSelectionnerQuestionAutorisee);
        return false;
    }
    const std::vector<std::string> lists = Split(definition.definition);
    const std::vector<std::string> captions = Split(definition.themes);
    if (lists.size() != captions.size()) {
        error = Message(StringTable::kVariableDefinitionIncoherente,
                        {definition.label, std::to_string(lists.size()), std::to_string(captions.size())});
        return false;
    }
    COuvCorpus corpus(context, *question);
    if (!corpus.Ouvrir() || !corpus.ChargerSegments()) {
        error = corpus.GetErreur();
        return false;
    }
    const auto interviews = static_cast<std::size_t>(std::max(context.DonnerNbreInterviews(), 0));
    std::vector<std::vector<std::int16_t>> rows(interviews);
    for (std::size_t modality = 0; modality < lists.size(); ++modality) {
        const std::vector<bool> marked = InterviewsOf(corpus, DecouperListe(lists[modality]), interviews);
        for (std::size_t row = 0; row < interviews; ++row)
            if (marked[row])
                rows[row].push_back(static_cast<std::int16_t>(modality));
    }
    out = DisposerReponsesFermees(rows);
    return true;
}

} // namespace CalculDictionnaire
