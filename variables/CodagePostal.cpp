#include "variables/CodagePostal.h"

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "platform/questionnaire/TextEncoding.h"
#include "variables/VariableCalculee.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kInwardLength = 3;
constexpr std::size_t kShortestPostcode = 5;

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Valid UTF-8 throughout: every replacement character the decoder gives stood in the text itself.
bool IsUtf8(std::string_view text) {
    static const std::string_view replacement = "\xEF\xBF\xBD";
    for (std::size_t position = 0; position < text.size();) {
        const std::size_t start = position;
        if (TextEncoding::DecodeUtf8(text, position) == TextEncoding::kReplacementCharacter &&
            text.substr(start, replacement.size()) != replacement)
            return false;
    }
    return true;
}

bool IsUtf16(std::string_view bytes) {
    const bool byteOrderMark = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                                     (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    return byteOrderMark || bytes.find('\0') != std::string_view::npos;
}

// Captions become the new question's modalities, stored joined by "|".
std::string StoredCaption(std::string caption) {
    std::replace(caption.begin(), caption.end(), '|', '/');
    return caption;
}

bool ReadAnswers(const CVariableCalculee& definition, CEnquete& survey, std::vector<std::string>& answers,
                 Message& error) {
    CQuestionEtendue* source = definition.source1;
    if (source == nullptr) {
        error = Message(StringTable::kVariableQuestionAbsente,
                        {definition.label, std::to_string(definition.reference1.code)});
        return false;
    }
    if (!source->EstOuverte()) {
        error = Message(StringTable::kSelectionnerQuestionOuverte);
        return false;
    }
    if (!EstDansNiveau(*source, 0, survey)) {
        error = Message(StringTable::kQuestionNiveauInterviews);
        return false;
    }
    CDataAccess access(survey, true);
    if (!access.LireReponsesOuvertesNiveau(*source, 0, answers)) {
        error = Message::Text(access.GetErrorText());
        return false;
    }
    return true;
}

} // namespace

namespace CodagePostal {

std::int32_t EcrireDefinition(const Choix& choice) {
    const std::int32_t stored =
        std::clamp(choice.niveau, static_cast<int>(kCategorie), static_cast<int>(kType)) + 1;
    return choice.libelleLong ? -stored : stored;
}

Choix LireDefinition(std::int32_t stored) {
    Choix choice;
    choice.libelleLong = stored < 0;
    const std::int64_t level =
        stored < 0 ? -static_cast<std::int64_t>(stored) - 1 : static_cast<std::int64_t>(stored) - 1;
    choice.niveau = static_cast<int>(std::clamp<std::int64_t>(level, kCategorie, kType));
    return choice;
}

std::string Normaliser(std::string_view answer) {
    std::string kept;
    for (const char c : answer) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (IsLetter(upper) || IsDigit(upper))
            kept.push_back(upper);
    }
    if (kept.size() < kShortestPostcode)
        return {};
    const std::string inward = kept.substr(kept.size() - kInwardLength);
    if (!IsDigit(inward[0]) || !IsLetter(inward[1]) || !IsLetter(inward[2]))
        return {};
    const std::string outward = kept.substr(0, kept.size() - kInwardLength);
    if (!IsLetter(outward[0]))
        return {};
    const bool twoLetters = outward.size() > 1 && IsLetter(outward[1]);
    const std::string area = twoLetters ? outward.substr(0, 2) : outward.substr(0, 1) + " ";
    const std::string district = outward.substr(twoLetters ? 2 : 1);
    if (!std::all_of(district.begin(), district.end(), IsDigit))
        return {};
    if (district.size() == 1)
        return area + " " + district + " " + inward;
    if (district.size() == 2)
        return area + district + " " + inward;
    return " ";
}

bool LireLignes(const std::string& path, std::vector<std::string>& lines, Message& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = Message(StringTable::kImpossibleOuvrirFichier, {path});
        return false;
    }
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        error = Message(StringTable::kImpossibleOuvrirFichier, {path});
        return false;
    }
    if (IsUtf16(bytes)) {
        error = Message(StringTable::kFichierAutreEncodage, {path});
        return false;
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    const std::string text = IsUtf8(bytes) ? bytes : TextEncoding::Windows1252ToUtf8(bytes);
    lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool LireLibelles(const std::string& path, std::vector<Libelle>& out, Message& error) {
    std::vector<std::string> lines;
    if (!LireLignes(path, lines, error))
        return false;
    std::vector<Libelle> entries;
    for (const std::string& line : lines) {
        std::vector<std::string> fields = Fields(line);
        if (fields.size() == 2)
            entries.push_back({std::move(fields[0]), std::move(fields[1])});
    }
    if (entries.empty()) {
        error = Message(StringTable::kFichierLibellesVide, {path});
        return false;
    }
    out = std::move(entries);
    return true;
}

bool LireClassification(const std::string& path, int level, const std::set<std::string>& wanted,
                        std::map<std::string, std::string>& out, Message& error) {
    std::vector<std::string> lines;
    if (!LireLignes(path, lines, error))
        return false;
    const std::size_t field = static_cast<std::size_t>(level) + 1;
    std::map<std::string, std::string> classes;
    for (std::size_t number = 0; number < lines.size(); ++number) {
        if (lines[number].find_first_not_of(" \t") == std::string::npos)
            continue;
        const std::vector<std::string> fields = Fields(lines[number]);
        if (fields.size() < 2) {
            error = Message(StringTable::kFichierLigneMalformee, {path, std::to_string(number + 1)});
            return false;
        }
        if (fields.size() > field && wanted.contains(fields[0]))
            classes[fields[0]] = fields[field];
    }
    out = std::move(classes);
    return true;
}

bool Calculer(const CVariableCalculee& definition, CEnquete& survey, CReponsesCalculees& out,
              Message& error) {
    std::int32_t stored = 0;
    CStaticTools::EstLong(definition.definition, stored);
    const Choix choice = LireDefinition(stored);
    const std::string postcodes = CRegistre::GetPostcodePath();
    const std::string captionsPath = CRegistre::GetLabelPath(choice.niveau + 1);
    if (postcodes.empty() || captionsPath.empty()) {
        error = Message(StringTable::kFichiersCodesPostauxNonDefinis);
        return false;
    }
    std::vector<std::string> answers;
    if (!ReadAnswers(definition, survey, answers, error))
        return false;
    std::vector<Libelle> captions;
    if (!LireLibelles(captionsPath, captions, error))
        return false;
    std::vector<std::string> normalised;
    normalised.reserve(answers.size());
    std::set<std::string> wanted;
    for (const std::string& answer : answers) {
        normalised.push_back(Normaliser(answer));
        if (!normalised.back().empty())
            wanted.insert(normalised.back());
    }
    std::map<std::string, std::string> classes;
    if (!LireClassification(postcodes, choice.niveau, wanted, classes, error))
        return false;

    // The position of each class among the captions: the first caption of that code.
    std::map<std::string, std::int16_t> positions;
    for (std::size_t i = 0; i < captions.size(); ++i)
        positions.emplace(Folded(captions[i].court), static_cast<std::int16_t>(i));
    const auto unclassified = static_cast<std::int16_t>(captions.size());
    CReponsesCalculees answersOut;
    answersOut.nombreReponses = 1;
    answersOut.codes.reserve(normalised.size());
    for (const std::string& postcode : normalised) {
        std::int16_t code = unclassified;
        if (const auto found = classes.find(postcode); !postcode.empty() && found != classes.end())
            if (const auto position = positions.find(Folded(found->second)); position != positions.end())
                code = position->second;
        answersOut.codes.push_back(code);
    }
    std::string themes;
    for (const Libelle& caption : captions)
        themes += StoredCaption(choice.libelleLong ? caption.long_ : caption.court) + "|";
    answersOut.libelles = std::move(themes);
    out = std::move(answersOut);
    return true;
}

} // namespace CodagePostal
