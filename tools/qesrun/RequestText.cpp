#include "tools/qesrun/RequestText.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace qesrun {

namespace {

using Calculations = std::vector<std::unique_ptr<CCalcul>>;
using CalculationList = void (CContexteEtude::*)(Calculations&);
using Selection = std::vector<std::unique_ptr<CModaliteEtendue>>;

// One kind of table the text can ask for: its names, the axis kinds the request dialog gives it,
// the calculation lists its row and column calculations are taken from (none: the table takes
// none), whether its row lines may hold statistics lines, whether it is filled by style lines,
// and the title it takes when the text gives none and its axes are profiles.
struct TypeRule {
    const char* name;
    std::int16_t code;
    std::int16_t rowKind;
    std::int16_t columnKind;
    CalculationList calculations;
    bool statisticLines;
    CalculationList columnCalculations = nullptr;
    bool styled = false;
    const char* profileTitle = nullptr;
};

// Axis kinds and calculation lists, named for the table below.
constexpr std::int16_t kClosed = CTraitement::kAxeFermee;
constexpr std::int16_t kGrouped = CTraitement::kAxeRegroupement;
constexpr std::int16_t kNumeric = CTraitement::kAxeNumerique;
constexpr std::int16_t kNone = CTraitement::kAxeAucun;
constexpr std::int16_t kUndefined = CTraitement::kAxeIndefini;
constexpr std::int16_t kClosedProfile = CTraitement::kAxeProfilFermees;
constexpr std::int16_t kNumericProfile = CTraitement::kAxeProfilNumeriques;
constexpr std::int16_t kOpenProfile = CTraitement::kAxeProfilOuvertes;
constexpr std::int16_t kOpen = CTraitement::kAxeOuverte;
constexpr CalculationList kClosedList = &CContexteEtude::DonnerCalculsQualitatifs;
constexpr CalculationList kCrossList = &CContexteEtude::DonnerCalculsCroises;
constexpr CalculationList kNumericList = &CContexteEtude::DonnerCalculsNumeriques;
constexpr CalculationList kMeanList = &CContexteEtude::DonnerCalculsMoyennes;

// clang-format off
constexpr std::array kTypes = {
    TypeRule{"tri-simple",          CTraitement::kTriSimple,             kClosed,  kNone,    kClosedList,  false},
    TypeRule{"tri-croise",          CTraitement::kTriCroise,             kClosed,  kClosed,  kCrossList,   false},
    TypeRule{"statistiques",        CTraitement::kStatistiques,          kNumeric, kNone,    kNumericList, false},
    TypeRule{"moyenne",             CTraitement::kTableauMoyenne,        kClosed,  kNumeric, kMeanList,    false},
    TypeRule{"regroupement",        CTraitement::kTriRegroupement,       kGrouped, kNone,    kClosedList,  false},
    TypeRule{"classement",          CTraitement::kTriClassement,         kClosed,  kNone,    nullptr,      false},
    TypeRule{"croise-regroupement", CTraitement::kTriCroiseRegroupement, kGrouped, kClosed,  kCrossList,   false},
    TypeRule{"mixte",               CTraitement::kTraitementMixte,       kClosed,  kNone,    kClosedList,  true},
    TypeRule{"taux-importance",     CTraitement::kTauxImportanceCroise,  kClosed,  kClosed,  kCrossList,   false},
    TypeRule{"profils-simples",     CTraitement::kProfilsSimples,        kClosedProfile,  kNone,            kClosedList,  false, nullptr,      false, "Profils simples"},
    TypeRule{"profils-statistiques", CTraitement::kProfilsStatistiques,  kNumericProfile, kNone,            kNumericList, false, nullptr,      false, "Profils statistiques"},
    TypeRule{"comparaison",         CTraitement::kComparaisonModalites,  kClosedProfile,  kNone,            kClosedList,  false, kNumericList, false, "Comparaison de modalités"},
    TypeRule{"profils-croises",     CTraitement::kProfilsCroises,        kClosedProfile,  kClosedProfile,   kCrossList,   false, nullptr,      false, "Profils croisés"},
    TypeRule{"profils-moyennes",    CTraitement::kProfilsCroisesMoyenne, kClosedProfile,  kNumericProfile,  kMeanList,    false, nullptr,      false, "Profils croisés de moyenne"},
    TypeRule{"tableau-evolue",      CTraitement::kTableauxEvolues,       kClosedProfile,  kClosedProfile,   nullptr,      false, nullptr,      true,  "Tableaux évolués"},
    TypeRule{"profil-ouvertes",     CTraitement::kOuvertesProfils,       kOpenProfile,    kUndefined,       nullptr,      false, nullptr,      false, "Profil d'ouvertes"},
    TypeRule{"reponses",            CTraitement::kOuvertesListees,       kOpen,    kUndefined, nullptr,    false},
    TypeRule{"reponses-selon",      CTraitement::kOuvertesSelonModalite, kOpen,    kOpen,      nullptr,    false},
    TypeRule{"dictionnaire",        CTraitement::kOuvertesDictionnaire,  kOpen,    kNone,      nullptr,    false},
    TypeRule{"segments",            CTraitement::kOuvertesSegments,      kOpen,    kNone,      nullptr,    false},
};
// clang-format on

bool IsProfileKind(std::int16_t kind) {
    return kind == kClosedProfile || kind == kNumericProfile || kind == kOpenProfile;
}

constexpr std::array kKeys = {"type",   "lignes",       "colonnes", "calculs", "calculs-colonnes", "titre",
                              "champ",  "niveau",       "redressement", "fusion", "options", "style",
                              "frequence-minimum", "mots-outils", "tri"};

// The parameters of the dictionary and of the segment inventory, which the request carries as
// the codes of its row calculations, in this order: the minimum frequency, whether stop words
// are listed (dictionary only), the sort key.
struct OpenParameter {
    const char* key;
    bool dictionary;
    bool segments;
};
constexpr std::array kOpenParameters = {
    OpenParameter{"frequence-minimum", true, true},
    OpenParameter{"mots-outils", true, false},
    OpenParameter{"tri", true, true},
};
// Words of "tri": the sort keys, the length for segments only.
struct SortWord {
    const char* word;
    std::int32_t key;
    bool dictionary;
};
constexpr std::array kSortWords = {
    SortWord{"texte", 0, true},
    SortWord{"frequence", 1, true},
    SortWord{"longueur", 2, false},
};

// The one key that may be given on several lines: each "style" line is one calculation line of
// the style, in the order of the text.
constexpr const char* kStyleKey = "style";

// Words of the "options" key: the merge options they set on.
struct OptionWord {
    const char* word;
    std::int32_t CTypeFusion::*option;
    std::int32_t value;
};
constexpr std::array kOptionWords = {
    OptionWord{"par-ligne", &CTypeFusion::EstTableauParLigne, 1},
    OptionWord{"par-colonne", &CTypeFusion::EstTableauParColonne, 1},
    OptionWord{"ligne-vide", &CTypeFusion::IsEmptyLinePerQuestion, 1},
    OptionWord{"sans-libelle", &CTypeFusion::EstLibelleTraitement, 0},
};

// Words of a style line: the type of calculation line, and where a margin or statistic line goes.
struct StyleTypeWord {
    const char* word;
    std::int16_t type;
};
constexpr std::array kStyleTypes = {
    StyleTypeWord{"cellule", CCalculEvolue::kCrossing},
    StyleTypeWord{"marge", CCalculEvolue::kTotal},
    StyleTypeWord{"statistique", CCalculEvolue::kStatisticsSubTotal},
    StyleTypeWord{"test", CCalculEvolue::kTestLine},
};
struct PositionWord {
    const char* word;
    std::int16_t position;
};
// A margin line "colonne" is a column of the table (a value per row modality), "ligne" a row.
constexpr std::array kPositions = {
    PositionWord{"colonne", 0},
    PositionWord{"ligne", 1},
    PositionWord{"deux", 2},
};

constexpr std::string_view kSeparatorWord = "|";
constexpr char kModalityListStart = ':';
constexpr char kModalityListSeparator = ',';

constexpr const char* kTotalWord = "total";
constexpr std::string_view kStatisticPrefix = "stat:";
constexpr std::int16_t kLastMergeType = CTypeFusion::kBlocksInRows;

// A refusal: the line it names (0 for the text as a whole) and what is wrong. Refusals travel as an
// exception inside this file only, from wherever the fault is found; Parse turns them into its
// result.
struct Refusal : std::runtime_error {
    Refusal(int at, const std::string& what) : std::runtime_error(what), line(at) {}
    int line;
};

// One "key value..." line: its number and the words after the key (and the same as one text).
struct Entry {
    int line = 0;
    std::vector<std::string> words;
    std::string rest;
};

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::optional<std::int32_t> WholeNumber(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Words(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool IsKey(std::string_view word) {
    for (const char* key : kKeys)
        if (word == key)
            return true;
    return false;
}

std::string KeyList() {
    std::string list;
    for (const char* key : kKeys)
        list += (list.empty() ? "" : ", ") + std::string(key);
    return list;
}

// The lines of the text by key, the style lines apart in their order.
struct Entries {
    std::map<std::string, Entry> byKey;
    std::vector<Entry> styleLines;
};

// Refuses unknown keys, keys given twice (but "style") and keys without value.
Entries ReadEntries(std::string_view text) {
    Entries entries;
    int number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        const auto keyEnd = line.find_first_of(" \t");
        const std::string key(line.substr(0, keyEnd));
        if (!IsKey(key))
            throw Refusal(number, "unknown key " + Quoted(key) + " (keys: " + KeyList() + ")");
        const bool repeated = key == kStyleKey;
        if (const auto found = entries.byKey.find(key); !repeated && found != entries.byKey.end())
            throw Refusal(number, Quoted(key) + " is given twice (first on line " +
                                      std::to_string(found->second.line) + ")");
        Entry entry;
        entry.line = number;
        entry.rest =
            keyEnd == std::string_view::npos ? std::string() : std::string(Trimmed(line.substr(keyEnd)));
        entry.words = Words(entry.rest);
        if (entry.words.empty())
            throw Refusal(number, Quoted(key) + " needs a value");
        if (repeated)
            entries.styleLines.push_back(std::move(entry));
        else
            entries.byKey.emplace(key, std::move(entry));
    }
    return entries;
}

std::string TypeList() {
    std::string list;
    for (const TypeRule& rule : kTypes)
        list += (list.empty() ? "" : ", ") + std::string(rule.name) + " (" + std::to_string(rule.code) + ")";
    return list;
}

const TypeRule& FindType(const Entry& entry) {
    if (entry.words.size() != 1)
        throw Refusal(entry.line, "'type' takes one name or code");
    const std::string& word = entry.words.front();
    const std::optional<std::int32_t> code = WholeNumber(word);
    for (const TypeRule& rule : kTypes)
        if (word == rule.name || (code && *code == rule.code))
            return rule;
    throw Refusal(entry.line, "unknown or unsupported type " + Quoted(word) + " (types: " + TypeList() + ")");
}

// By name, or by code for a whole number: the first question of that code that no recode made.
CQuestionEtendue* FindQuestion(const CContexteEtude& context, const std::string& word) {
    if (const std::optional<std::int32_t> code = WholeNumber(word)) {
        for (const auto& question : context.questions)
            if (question->code == *code && question->GetCodeRecodage() == 0)
                return question.get();
        return nullptr;
    }
    return context.TrouverQuestionParNom(word);
}

bool HasGrouping(const CQuestionEtendue& question) {
    return dynamic_cast<const CRecodageModalite*>(question.GetRecodage()) != nullptr;
}

// The side's question, of the kind the axis kind needs.
CQuestionEtendue& SideQuestion(const CContexteEtude& context, const Entry& entry, const char* key,
                               std::int16_t kind, const TypeRule& rule) {
    const std::string& word = entry.words.front();
    CQuestionEtendue* question = FindQuestion(context, word);
    if (question == nullptr)
        throw Refusal(entry.line, "unknown question " + Quoted(word));
    const std::string wanted = std::string("'") + key + "' of " + rule.name + " needs ";
    if (kind == kNumeric && !question->EstNumerique())
        throw Refusal(entry.line,
                      "question " + Quoted(word) + " is not numeric: " + wanted + "a numeric question");
    if ((kind == kClosed || kind == kGrouped) && !question->EstFermee())
        throw Refusal(entry.line,
                      "question " + Quoted(word) + " is not closed: " + wanted + "a closed question");
    // The answers of an open question on the rows, grouped by a closed question on the columns.
    if (kind == kOpen && std::string_view(key) == "lignes" && !question->EstOuverte())
        throw Refusal(entry.line, "question " + Quoted(word) + " is not open: " + wanted + "an open question");
    if (kind == kOpen && std::string_view(key) == "colonnes" && !question->EstFermee())
        throw Refusal(entry.line,
                      "question " + Quoted(word) + " is not closed: " + wanted + "a closed question");
    if (kind == kGrouped && !HasGrouping(*question))
        throw Refusal(entry.line, "question " + Quoted(word) + " has no grouping of its modalities: " +
                                      wanted + "a sub-total recode question");
    if (kind != kClosed && entry.words.size() > 1)
        throw Refusal(entry.line, Quoted(key) + " of " + rule.name + " takes a question alone");
    return *question;
}

std::unique_ptr<CModaliteEtendue> TotalLine(CContexteEtude& context) {
    const CModaliteEtendue* total = context.DonnerModaliteTotal(0);
    auto line = total != nullptr ? std::make_unique<CModaliteEtendue>(*total)
                                 : std::make_unique<CModaliteEtendue>(&context);
    if (total == nullptr) {
        line->code = CLigne::kTotalCode;
        context.LibellerTotal(*line);
    }
    line->selected = true;
    return line;
}

std::unique_ptr<CModaliteEtendue> StatisticLine(CContexteEtude& context, const Entry& entry,
                                                std::string_view word) {
    const std::optional<std::int32_t> code = WholeNumber(word.substr(kStatisticPrefix.size()));
    Calculations statistics;
    context.DonnerCalculsNumeriques(statistics);
    for (const auto& statistic : statistics) {
        if (code && statistic->code == *code) {
            auto line = std::make_unique<CModaliteEtendue>(&context);
            line->code = statistic->code;
            line->SetDefaultShortCaption(statistic->label);
            line->calculationLine = true;
            return line;
        }
    }
    throw Refusal(entry.line, "unknown statistic " + Quoted(word));
}

// The lines of a closed side: the modalities named by code, "total" and (mixed tables) "stat:N"
// in the order given; every modality of the question first when none is named.
Selection SideLines(CContexteEtude& context, const Entry& entry, const CQuestionEtendue& question,
                    const TypeRule& rule) {
    Selection lines;
    bool modalityNamed = false;
    for (std::size_t i = 1; i < entry.words.size(); ++i) {
        const std::string& word = entry.words[i];
        if (word == kTotalWord) {
            lines.push_back(TotalLine(context));
        } else if (word.starts_with(kStatisticPrefix)) {
            if (!rule.statisticLines)
                throw Refusal(entry.line,
                              "statistics lines " + Quoted(word) + " are for the type mixte only");
            lines.push_back(StatisticLine(context, entry, word));
        } else if (const std::optional<std::int32_t> code = WholeNumber(word)) {
            const int index = question.TrouverModalite(*code);
            if (index < 0 || question.GetModaliteEtendue(index) == nullptr)
                throw Refusal(entry.line, "question " + Quoted(question.name) + " has no modality " + word);
            lines.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(index)));
            lines.back()->selected = true;
            modalityNamed = true;
        } else {
            throw Refusal(entry.line, Quoted(word) + " is not a modality code, 'total' or 'stat:CODE'");
        }
    }
    if (!modalityNamed) {
        Selection all;
        for (int i = 0; i < question.GetNbreModalite(); ++i)
            if (const CModaliteEtendue* modality = question.GetModaliteEtendue(i)) {
                all.push_back(std::make_unique<CModaliteEtendue>(*modality));
                all.back()->selected = true;
            }
        for (auto& line : lines)
            all.push_back(std::move(line));
        lines = std::move(all);
    }
    return lines;
}

// Gives the side its question and what goes with it; answers the question.
CQuestionEtendue& SetSide(CTraitement& request, CContexteEtude& context, const Entry& entry, int axis,
                          const TypeRule& rule) {
    const std::int16_t kind = axis == CTraitement::kLignes ? rule.rowKind : rule.columnKind;
    const char* key = axis == CTraitement::kLignes ? "lignes" : "colonnes";
    CQuestionEtendue& question = SideQuestion(context, entry, key, kind, rule);
    if (kind == kClosed)
        request.DefinirModalitesAxe(&question, SideLines(context, entry, question, rule), axis);
    else if (kind == kGrouped)
        request.DefinirRegroupementAxe(&question, axis);
    else
        request.SetQuestionAxe(&question, axis);
    request.SetTypeAxe(axis, kind);
    return question;
}

// ---- Profiles

// The question a profile line names must be of the profile's kind.
void CheckProfileQuestion(const Entry& entry, const CQuestionEtendue& question, std::string_view word,
                          std::int16_t kind) {
    struct KindNeed {
        std::int16_t kind;
        bool (CQuestionEtendue::*test)() const;
        const char* what;
    };
    static constexpr std::array kNeeds = {
        KindNeed{kClosedProfile, &CQuestionEtendue::EstFermee, "closed"},
        KindNeed{kNumericProfile, &CQuestionEtendue::EstNumerique, "numeric"},
        KindNeed{kOpenProfile, &CQuestionEtendue::EstOuverte, "open"},
    };
    for (const KindNeed& need : kNeeds)
        if (need.kind == kind && !(question.*need.test)())
            throw Refusal(entry.line, "question " + Quoted(word) + " is not " + need.what +
                                          ": this profile takes " + need.what + " questions");
}

// A copy of the axis' Total pseudo-modality, selected.
std::unique_ptr<CModaliteEtendue> ProfileTotal(CContexteEtude& context, int axis) {
    const CModaliteEtendue* total = context.DonnerModaliteTotal(axis);
    if (total == nullptr)
        return TotalLine(context);
    auto line = std::make_unique<CModaliteEtendue>(*total);
    line->selected = true;
    return line;
}

// The modalities of a closed profile line: the codes and "total" of the list in the order given,
// or every modality of the question when there is no list.
Selection ProfileModalities(CContexteEtude& context, const Entry& entry, const CQuestionEtendue& question,
                            std::optional<std::string_view> list, int axis) {
    Selection chosen;
    if (!list) {
        for (int i = 0; i < question.GetNbreModalite(); ++i)
            if (const CModaliteEtendue* modality = question.GetModaliteEtendue(i)) {
                chosen.push_back(std::make_unique<CModaliteEtendue>(*modality));
                chosen.back()->selected = true;
            }
        return chosen;
    }
    std::size_t start = 0;
    while (start <= list->size()) {
        std::size_t end = list->find(kModalityListSeparator, start);
        if (end == std::string_view::npos)
            end = list->size();
        const std::string_view item = list->substr(start, end - start);
        start = end + 1;
        if (item == kTotalWord) {
            chosen.push_back(ProfileTotal(context, axis));
            continue;
        }
        const std::optional<std::int32_t> code = WholeNumber(item);
        if (!code)
            throw Refusal(entry.line, Quoted(item) + " in the modalities of " + Quoted(question.name) +
                                          " is not a modality code or 'total'");
        const int index = question.TrouverModalite(*code);
        if (index < 0 || question.GetModaliteEtendue(index) == nullptr)
            throw Refusal(entry.line, "question " + Quoted(question.name) + " has no modality " + std::string(item));
        chosen.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(index)));
        chosen.back()->selected = true;
    }
    return chosen;
}

// A profile side: its questions in order ("NAME" or "NAME:CODE,CODE,total" for closed questions),
// "|" for a separator and "total" for the axis' Total.
void SetProfileSide(CTraitement& request, CContexteEtude& context, const Entry& entry, int axis, std::int16_t kind) {
    const char* key = axis == CTraitement::kLignes ? "lignes" : "colonnes";
    CProfil profile;
    bool withTotal = false;
    bool questionMet = false;
    for (const std::string& word : entry.words) {
        if (word == kSeparatorWord) {
            profile.AddSeparator();
            continue;
        }
        if (word == kTotalWord) {
            if (kind != kClosedProfile)
                throw Refusal(entry.line, std::string("'total' is for profiles of closed questions only"));
            withTotal = true;
            continue;
        }
        const std::size_t colon = word.find(kModalityListStart);
        const std::string name = word.substr(0, colon);
        std::optional<std::string_view> list;
        if (colon != std::string::npos)
            list = std::string_view(word).substr(colon + 1);
        CQuestionEtendue* question = FindQuestion(context, name);
        if (question == nullptr)
            throw Refusal(entry.line, "unknown question " + Quoted(name));
        CheckProfileQuestion(entry, *question, name, kind);
        if (kind != kClosedProfile) {
            if (list)
                throw Refusal(entry.line, Quoted(key) + " lists questions alone: " + Quoted(word) +
                                              " names modalities");
            profile.Add(question);
        } else {
            if (list && list->empty())
                throw Refusal(entry.line, Quoted(word) + " lists no modality");
            profile.Add(question, ProfileModalities(context, entry, *question, list, axis));
        }
        questionMet = true;
    }
    if (!questionMet)
        throw Refusal(entry.line, Quoted(key) + " names no question");
    request.SetProfilAxe(&profile, axis);
    request.SetTypeAxe(axis, kind);
    request.SetTotalAxe(axis, withTotal ? 1 : 0);
}

// ---- Styles

template <class Word, std::size_t N>
const Word* FindWord(const std::array<Word, N>& words, std::string_view text) {
    for (const Word& word : words)
        if (text == word.word)
            return &word;
    return nullptr;
}

template <class Word, std::size_t N>
std::string WordList(const std::array<Word, N>& words) {
    std::string list;
    for (const Word& word : words)
        list += (list.empty() ? "" : ", ") + std::string(word.word);
    return list;
}

// One calculation line of the style: "cellule KIND", "marge KIND [colonne|ligne|deux]",
// "statistique KIND [ligne|deux]" or "test TEXT", labelled with the operation's own name.
std::unique_ptr<CCalculEvolue> StyleLine(const Entry& entry) {
    const StyleTypeWord* type = FindWord(kStyleTypes, entry.words.front());
    if (type == nullptr)
        throw Refusal(entry.line, "unknown style line " + Quoted(entry.words.front()) + " (lines: " +
                                      WordList(kStyleTypes) + ")");
    auto line = std::make_unique<CCalculEvolue>();
    line->type = type->type;
    if (type->type == CCalculEvolue::kTestLine) {
        line->testLineText = std::string(Trimmed(std::string_view(entry.rest).substr(entry.words.front().size())));
        if (line->testLineText.empty())
            throw Refusal(entry.line, "a test line needs its text");
        if (!CCalculEvolue::EstTexteAutorise(line->testLineText))
            throw Refusal(entry.line, "the text of a test line may hold neither ';' nor '|'");
        line->code = 0;
        line->label = CCalculEvolue::DonnerLibelleOperation(line->type, line->code);
        return line;
    }
    if (entry.words.size() < 2 || entry.words.size() > 3)
        throw Refusal(entry.line, "'style " + entry.words.front() + "' takes a kind code" +
                                      (type->type == CCalculEvolue::kCrossing ? "" : " and a place"));
    const std::optional<std::int32_t> kind = WholeNumber(entry.words[1]);
    if (!kind || CCalculEvolue::DonnerLibelleOperation(line->type, *kind).empty())
        throw Refusal(entry.line, "unknown kind " + Quoted(entry.words[1]) + " for a line " + entry.words.front());
    line->code = *kind;
    line->label = CCalculEvolue::DonnerLibelleOperation(line->type, *kind);
    line->position = type->type == CCalculEvolue::kStatisticsSubTotal ? std::int16_t{1} : std::int16_t{2};
    if (entry.words.size() == 3) {
        const PositionWord* place = FindWord(kPositions, entry.words[2]);
        const bool allowed = place != nullptr && type->type != CCalculEvolue::kCrossing &&
                             (type->type != CCalculEvolue::kStatisticsSubTotal || place->position != 0);
        if (!allowed)
            throw Refusal(entry.line, Quoted(entry.words[2]) + " is no place of a line " + entry.words.front() +
                                          (type->type == CCalculEvolue::kCrossing ? " (it takes none)"
                                           : type->type == CCalculEvolue::kTotal ? " (colonne, ligne or deux)"
                                                                                 : " (ligne or deux)"));
        line->position = place->position;
    }
    return line;
}

std::unique_ptr<CStyle> StyleOf(const std::vector<Entry>& lines) {
    auto style = std::make_unique<CStyle>();
    for (const Entry& entry : lines)
        style->Add(StyleLine(entry));
    return style;
}

void SetOptions(CTypeFusion& options, const Entry& entry) {
    for (const std::string& word : entry.words) {
        const OptionWord* option = FindWord(kOptionWords, word);
        if (option == nullptr)
            throw Refusal(entry.line, "unknown option " + Quoted(word) + " (options: " + WordList(kOptionWords) + ")");
        options.*(option->option) = option->value;
    }
}

// The calculations named by code, each as the type's list labels it; without the key, the ones
// the list selects by default.
Calculations ChosenCalculations(CContexteEtude& context, const Entry* entry, const TypeRule& rule,
                                CalculationList list, bool byDefault, const char* what) {
    if (list == nullptr) {
        if (entry != nullptr)
            throw Refusal(entry->line, std::string("the type ") + rule.name + " takes no " + what);
        return {};
    }
    Calculations offered;
    (context.*list)(offered);
    Calculations chosen;
    if (entry == nullptr) {
        if (!byDefault)
            return chosen;
        for (auto& calculation : offered)
            if (calculation->kept != 0)
                chosen.push_back(std::move(calculation));
        return chosen;
    }
    for (const std::string& word : entry->words) {
        const std::optional<std::int32_t> code = WholeNumber(word);
        const CCalcul* found = nullptr;
        for (const auto& calculation : offered)
            if (code && calculation->code == *code)
                found = calculation.get();
        if (found == nullptr) {
            std::string codes;
            for (const auto& calculation : offered)
                codes += (codes.empty() ? "" : " ") + std::to_string(calculation->code);
            throw Refusal(entry->line, "calculation " + Quoted(word) + " is not offered for " + rule.name +
                                           " (codes: " + codes + ")");
        }
        chosen.push_back(std::make_unique<CCalcul>(*found));
        chosen.back()->kept = 1;
    }
    return chosen;
}

// The id of the entry of that name in a list of the survey (study fields, weightings).
std::int32_t IdOfName(bool (CEnquete::*list)(std::vector<std::unique_ptr<CIdName>>&), CContexteEtude& context,
                      const Entry& entry, const char* what) {
    std::vector<std::unique_ptr<CIdName>> names;
    if (!(context.*list)(names))
        throw Refusal(entry.line,
                      std::string("the ") + what + "s could not be read: " + context.GetLastError());
    for (const auto& name : names)
        if (name && name->name == entry.rest)
            return name->id;
    throw Refusal(entry.line, std::string("unknown ") + what + " " + Quoted(entry.rest));
}

std::int32_t LevelIndex(const CContexteEtude& context, const Entry& entry) {
    int index = 0;
    if (const std::optional<std::int32_t> code = WholeNumber(entry.rest))
        if (TrouverIndexNiveau(*code, index, context))
            return index;
    for (int i = 0; i < context.DonnerNbreNiveaux(); ++i) {
        const CQuestionNiveau* level = context.DonnerNiveau(i);
        if (level != nullptr && (level->name == entry.rest || level->GetCaption() == entry.rest))
            return i;
    }
    throw Refusal(entry.line, "unknown level " + Quoted(entry.rest));
}

std::int16_t MergeType(const Entry& entry) {
    const std::optional<std::int32_t> type = WholeNumber(entry.rest);
    if (!type || *type < 0 || *type > kLastMergeType)
        throw Refusal(entry.line,
                      "'fusion' takes 0 (one table per calculation), 1 (calculations side by side) or "
                      "2 (calculations one below the other)");
    return static_cast<std::int16_t>(*type);
}

const Entry* Find(const std::map<std::string, Entry>& entries, const char* key) {
    const auto found = entries.find(key);
    return found != entries.end() ? &found->second : nullptr;
}

std::int32_t SortKey(const Entry& entry, bool dictionary) {
    for (const SortWord& sort : kSortWords)
        if (entry.rest == sort.word && (sort.dictionary || !dictionary))
            return sort.key;
    throw Refusal(entry.line, "'tri' takes texte, frequence" + std::string(dictionary ? "" : " or longueur"));
}

std::int32_t OpenParameterValue(const OpenParameter& parameter, const Entry& entry, bool dictionary) {
    if (std::string_view(parameter.key) == "tri")
        return SortKey(entry, dictionary);
    const std::optional<std::int32_t> value = WholeNumber(entry.rest);
    if (std::string_view(parameter.key) == "mots-outils") {
        if (!value || (*value != 0 && *value != 1))
            throw Refusal(entry.line, "'mots-outils' takes 0 (stop words left out) or 1 (listed)");
        return *value;
    }
    if (!value || *value < 0 || *value > INT16_MAX)
        throw Refusal(entry.line, "'frequence-minimum' takes a whole number from 0 to 32767");
    return *value;
}

// The dictionary's and the segments' parameters as row calculations; none for the other types,
// which refuse the keys.
std::optional<Calculations> OpenParameters(const std::map<std::string, Entry>& entries, const TypeRule& rule) {
    const bool dictionary = rule.code == CTraitement::kOuvertesDictionnaire;
    const bool segments = rule.code == CTraitement::kOuvertesSegments;
    std::optional<Calculations> parameters;
    if (dictionary || segments)
        parameters.emplace();
    for (const OpenParameter& parameter : kOpenParameters) {
        const Entry* entry = Find(entries, parameter.key);
        const bool taken = (dictionary && parameter.dictionary) || (segments && parameter.segments);
        if (!taken) {
            if (entry != nullptr)
                throw Refusal(entry->line, std::string("the type ") + rule.name + " takes no " + Quoted(parameter.key));
            continue;
        }
        // Without the key: every form (a minimum of 0), stop words listed, in text order.
        std::int32_t value = std::string_view(parameter.key) == "mots-outils" ? 1 : 0;
        if (entry != nullptr)
            value = OpenParameterValue(parameter, *entry, dictionary);
        parameters->push_back(std::make_unique<CCalcul>(value, std::string(parameter.key), true));
    }
    return parameters;
}

std::unique_ptr<CTraitement> Build(const Entries& text, CContexteEtude& context) {
    const std::map<std::string, Entry>& entries = text.byKey;
    const Entry* typeEntry = Find(entries, "type");
    const Entry* rowEntry = Find(entries, "lignes");
    if (typeEntry == nullptr)
        throw Refusal(0, "the request has no 'type'");
    const TypeRule& rule = FindType(*typeEntry);
    if (rowEntry == nullptr)
        throw Refusal(0, "the request has no 'lignes'");
    const Entry* columnEntry = Find(entries, "colonnes");
    const bool hasColumns = rule.columnKind != kNone && rule.columnKind != kUndefined;
    if (hasColumns && columnEntry == nullptr)
        throw Refusal(0, std::string("the type ") + rule.name + " needs 'colonnes'");
    if (!hasColumns && columnEntry != nullptr)
        throw Refusal(columnEntry->line, std::string("the type ") + rule.name + " takes no 'colonnes'");

    auto request = std::make_unique<CTraitement>();
    request->type = rule.code;
    request->SetVersDossier(false);
    std::string title;
    if (IsProfileKind(rule.rowKind)) {
        SetProfileSide(*request, context, *rowEntry, CTraitement::kLignes, rule.rowKind);
        if (hasColumns)
            SetProfileSide(*request, context, *columnEntry, CTraitement::kColonnes, rule.columnKind);
        else
            request->SetTypeAxe(CTraitement::kColonnes, rule.columnKind);
        title = rule.profileTitle;
    } else {
        const CQuestionEtendue& rows = SetSide(*request, context, *rowEntry, CTraitement::kLignes, rule);
        title = rows.GetCaption();
        if (hasColumns)
            title += " x " + SetSide(*request, context, *columnEntry, CTraitement::kColonnes, rule).GetCaption();
        else
            request->SetTypeAxe(CTraitement::kColonnes, rule.columnKind);
    }
    request->SetCalculsLignes(
        ChosenCalculations(context, Find(entries, "calculs"), rule, rule.calculations, true, "calculations"));
    request->SetCalculsColonnes(ChosenCalculations(context, Find(entries, "calculs-colonnes"), rule,
                                                   rule.columnCalculations, false, "column calculations"));
    if (const std::optional<Calculations> parameters = OpenParameters(entries, rule))
        request->SetCalculsLignes(*parameters);
    if (rule.styled) {
        if (text.styleLines.empty())
            throw Refusal(0, std::string("the type ") + rule.name + " needs at least one 'style' line");
        request->SetStyle(StyleOf(text.styleLines));
    } else if (!text.styleLines.empty()) {
        throw Refusal(text.styleLines.front().line, std::string("the type ") + rule.name + " takes no 'style'");
    }
    const Entry* titleEntry = Find(entries, "titre");
    request->title = titleEntry != nullptr ? titleEntry->rest : title;
    if (const Entry* field = Find(entries, "champ")) {
        request->studyFieldId = IdOfName(&CEnquete::DonnerListeChampsEtude, context, *field, "study field");
        request->studyFieldName = field->rest;
    }
    if (const Entry* weighting = Find(entries, "redressement")) {
        request->weightingId =
            IdOfName(&CEnquete::DonnerListeRedressements, context, *weighting, "weighting");
        request->weightingName = weighting->rest;
    }
    if (const Entry* level = Find(entries, "niveau"))
        request->level = LevelIndex(context, *level);
    if (const Entry* merge = Find(entries, "fusion"))
        request->mergeOptions.Type = MergeType(*merge);
    if (const Entry* options = Find(entries, "options"))
        SetOptions(request->mergeOptions, *options);
    return request;
}

} // namespace

RequestText::Result RequestText::Parse(std::string_view text, CContexteEtude& context) {
    Result result;
    try {
        result.request = Build(ReadEntries(text), context);
    } catch (const Refusal& refusal) {
        result.request.reset();
        result.line = refusal.line;
        result.error = refusal.what();
    }
    return result;
}

} // namespace qesrun
