#include "variables/VariableCalculee.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string_view>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "variables/DefinitionTexts.h"

namespace {

constexpr std::int16_t kClosedType = 1;
constexpr std::int16_t kDateType = 3;
constexpr std::int16_t kNumericType = 5;
constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, separator, items);
    return items;
}

void MakeClosed(CQuestionEtendue& question, int maxAnswers, bool flag) {
    maxAnswers = std::max(maxAnswers, 1);
    question.type = kClosedType;
    question.answerCount = static_cast<std::int16_t>(maxAnswers);
    question.multipleAnswers = maxAnswers != 1;
    question.typeFlag = flag;
}

void MakeSingle(CQuestionEtendue& question, std::int16_t type, bool flag) {
    question.type = type;
    question.answerCount = 1;
    question.multipleAnswers = false;
    question.typeFlag = flag;
}

} // namespace

// What each kind builds once the question is emptied; one function per shape of question, and
// one row per kind in the table below.
struct ModalityBuilders {
    CVariableCalculee& definition;
    CQuestionEtendue& question;
    CEnquete& survey;
    std::set<std::int32_t> codes{};

    void Add(const std::string& caption, std::int32_t code) {
        if (!codes.insert(code).second) {
            definition.Note(Message(StringTable::kVariableCodeEnDouble, {definition.label, std::to_string(code)}));
            return;
        }
        auto modality = std::make_unique<CModaliteEtendue>(&survey);
        modality->SetLocalisedShortCaption(survey.questionnaireLanguage, caption);
        modality->code = code;
        question.AddModalite(std::move(modality));
    }

    void AddGenerated(std::int32_t code, void (CEnquete::*caption)(CModalite&) const, bool selected) {
        if (!codes.insert(code).second) {
            definition.Note(Message(StringTable::kVariableCodeEnDouble, {definition.label, std::to_string(code)}));
            return;
        }
        auto modality = std::make_unique<CModaliteEtendue>(&survey);
        modality->code = code;
        modality->selected = selected;
        (survey.*caption)(*modality);
        question.AddModalite(std::move(modality));
    }

    void CaptionsNumbered() {
        std::int32_t code = 1;
        for (const std::string& caption : Split(definition.themes, '|'))
            Add(caption, code++);
    }

    // A closed question answers at least once: a stored count below 1 is damage, not a choice.
    int MaxAnswers() {
        if (definition.maxAnswers < 1)
            definition.Note(Message(StringTable::kVariableNombreReponses,
                                    {definition.label, std::to_string(definition.maxAnswers)}));
        return definition.maxAnswers;
    }

    // Kinds 1, 2, 8, 9.
    void ClosedFromCaptions() {
        MakeClosed(question, MaxAnswers(), false);
        CaptionsNumbered();
    }

    // Kinds 3, 5, 7.
    void NumericFlagged() { MakeSingle(question, kNumericType, true); }

    // Kind 11.
    void Numeric() { MakeSingle(question, kNumericType, false); }

    // Kind 7: its definition names the weighting by its code.
    void Weights() {
        NumericFlagged();
        std::int32_t weighting = 0;
        if (!CStaticTools::EstLong(definition.definition, weighting))
            definition.Note(Message(StringTable::kVariableElementIllisible, {definition.label, definition.definition}));
    }

    void Note(std::vector<Message> defects) {
        for (Message& defect : defects)
            definition.Note(std::move(defect));
    }

    // Kind 4: a caption and a code per group, then the not-asked modality. Captions and codes
    // that do not pair up give no group at all rather than groups with another's code.
    void Groups() {
        MakeClosed(question, 1, false);
        std::vector<Message> defects;
        for (const DefinitionTexts::Item& group :
             DefinitionTexts::LireGroupes(definition.label, definition.themes, definition.definition, defects))
            Add(group.label, group.number);
        Note(std::move(defects));
        AddGenerated(kNotAskedCode, &CEnquete::LibellerNonInterroge, true);
    }

    // Kind 6: items "caption@code"; the answers are positions in this list, so an item that
    // cannot be read ends it.
    void Superposition() {
        MakeClosed(question, MaxAnswers(), false);
        std::vector<Message> defects;
        for (const DefinitionTexts::Item& item :
             DefinitionTexts::LireModalitesSuperposees(definition.label, definition.themes, defects))
            Add(item.label, item.number);
        Note(std::move(defects));
    }

    // Kind 10: the classes, then the no-answer modality.
    void Postcodes() {
        MakeClosed(question, MaxAnswers(), true);
        CaptionsNumbered();
        AddGenerated(kNoAnswerCode, &CEnquete::LibellerNonReponse, true);
    }

    // Kind 12: by the kind of interview information. Kind 5 and unknown kinds leave the question
    // as it is.
    void InterviewInformation() {
        std::int32_t information = 0;
        if (!CStaticTools::EstLong(definition.definition, information)) {
            definition.Note(Message(StringTable::kVariableElementIllisible, {definition.label, definition.definition}));
            return;
        }
        switch (information) {
        case 0:
        case 6:
        case 7:
            MakeSingle(question, kClosedType, false);
            CaptionsNumbered();
            break;
        case 1:
        case 2: MakeSingle(question, kDateType, false); break;
        case 3:
        case 4: MakeSingle(question, kNumericType, false); break;
        default: break;
        }
    }

    // Kind 13: the filtered question's type and modalities.
    void FilteredQuestion() {
        if (definition.source1 == nullptr)
            definition.ResoudreQuestions(survey);
        CQuestionEtendue* source = definition.source1;
        if (source == nullptr)
            return;
        question.type = source->type;
        question.typeFlag = source->typeFlag;
        if (!source->EstFermee()) {
            question.answerCount = 1;
            question.multipleAnswers = false;
            return;
        }
        MakeClosed(question, MaxAnswers(), source->typeFlag);
        std::vector<std::unique_ptr<CModaliteEtendue>> copies;
        source->DonnerModalites(copies, true);
        for (auto& copy : copies)
            if (copy && codes.insert(copy->code).second)
                question.AddModalite(std::move(copy));
        if (!source->AModaliteAutre())
            AddGenerated(kNotAskedCode, &CEnquete::LibellerNonInterroge, false);
    }
};

namespace {

struct KindRule {
    std::int16_t kind;
    void (ModalityBuilders::*build)();
};

// clang-format off
constexpr KindRule kKindRules[] = {
    {CVariableCalculee::kCroisement,          &ModalityBuilders::ClosedFromCaptions},
    {CVariableCalculee::kChampsEtude,         &ModalityBuilders::ClosedFromCaptions},
    {CVariableCalculee::kScript,              &ModalityBuilders::NumericFlagged},
    {CVariableCalculee::kMultivarie,          &ModalityBuilders::Groups},
    {CVariableCalculee::kNumeriqueMultivarie, &ModalityBuilders::NumericFlagged},
    {CVariableCalculee::kSuperposition,       &ModalityBuilders::Superposition},
    {CVariableCalculee::kRedressement,        &ModalityBuilders::Weights},
    {CVariableCalculee::kProfil,              &ModalityBuilders::ClosedFromCaptions},
    {CVariableCalculee::kDictionnaire,        &ModalityBuilders::ClosedFromCaptions},
    {CVariableCalculee::kCodagePostal,        &ModalityBuilders::Postcodes},
    {CVariableCalculee::kDureesSaisie,        &ModalityBuilders::Numeric},
    {CVariableCalculee::kInfosGenerales,      &ModalityBuilders::InterviewInformation},
    {CVariableCalculee::kQuestionFiltree,     &ModalityBuilders::FilteredQuestion},
};
// clang-format on

const KindRule* RuleOf(std::int16_t kind) {
    const auto rule = std::find_if(std::begin(kKindRules), std::end(kKindRules),
                                   [kind](const KindRule& r) { return r.kind == kind; });
    return rule == std::end(kKindRules) ? nullptr : rule;
}

bool UsesProfile(std::int16_t kind) {
    return kind == CVariableCalculee::kProfil || kind == CVariableCalculee::kDureesSaisie;
}

} // namespace

bool CVariableCalculee::EstTypeConnu(std::int16_t kind) { return RuleOf(kind) != nullptr; }

void CVariableCalculee::ConstruireModalites(CQuestionEtendue& question) {
    CEnquete* survey = question.GetEnquete();
    if (survey != nullptr)
        m_survey = survey;
    m_buildDefects.clear();
    question.name = label;
    if (m_survey != nullptr)
        question.SetLocalisedLongCaption(m_survey->questionnaireLanguage, label);
    question.responseTable = static_cast<std::uint16_t>(responseTable);
    question.tablePerOrder.clear();
    question.modalitiesLoaded = false;
    question.DetruireModalites();
    const KindRule* rule = RuleOf(kind);
    if (rule == nullptr) {
        m_buildDefects.push_back(Message(StringTable::kVariableTypeInconnu, {label, std::to_string(kind)}));
        return;
    }
    if (m_survey == nullptr)
        return;
    ModalityBuilders builders{*this, question, *m_survey};
    (builders.*(rule->build))();
}

void CVariableCalculee::NoteMissingSource(const Reference& reference) {
    m_bindDefects.push_back(Message(StringTable::kVariableQuestionAbsente, {label, std::to_string(reference.code)}));
}

void CVariableCalculee::ResoudreQuestions(CEnquete& survey) {
    m_survey = &survey;
    m_bindDefects.clear();
    source1 = survey.TrouverQuestion(reference1.code, reference1.keys, reference1.recodeCode);
    source2 = survey.TrouverQuestion(reference2.code, reference2.keys, reference2.recodeCode);
    if (source1 == nullptr && reference1.code != 0)
        NoteMissingSource(reference1);
    if (source2 == nullptr && reference2.code != 0)
        NoteMissingSource(reference2);
    if (kind == kSuperposition) {
        std::vector<Message> defects;
        DefinitionTexts::LireQuestionsSuperposees(label, definition, survey, defects);
        m_bindDefects.insert(m_bindDefects.end(), defects.begin(), defects.end());
    }
    if (UsesProfile(kind) && !definition.empty()) {
        m_profile.FromString(survey, definition);
        NoteProfileLosses(definition);
        definition.clear();
    }
}

void CVariableCalculee::NoteProfileLosses(const std::string& stored) {
    const std::vector<std::string> lines = Split(stored, '|');
    const auto storedQuestions = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line != "0";
    });
    int questions = 0;
    for (int i = 0; i < m_profile.GetCount(); ++i)
        questions += m_profile.IsSeparator(i) ? 0 : 1;
    if (questions != storedQuestions)
        m_bindDefects.push_back(Message(StringTable::kVariableElementIllisible, {label, stored}));
    const std::size_t captions = Split(themes, '|').size();
    if (kind == kProfil && captions != static_cast<std::size_t>(m_profile.GetNbreModalitesTotal()))
        m_bindDefects.push_back(Message(StringTable::kVariableDefinitionIncoherente,
                                        {label, std::to_string(m_profile.GetNbreModalitesTotal()),
                                         std::to_string(captions)}));
}

std::string CVariableCalculee::DonnerDefinition() const {
    if (!UsesProfile(kind) || !definition.empty())
        return definition;
    return m_survey != nullptr ? m_profile.ToString(*m_survey) : std::string();
}

std::vector<Message> CVariableCalculee::DonnerDefauts() const {
    std::vector<Message> defects = m_buildDefects;
    defects.insert(defects.end(), m_bindDefects.begin(), m_bindDefects.end());
    return defects;
}

void CVariableCalculee::DefinirProfil(const CProfil& profile) { m_profile = profile; }

Message CVariableCalculee::VerifierLibelle(std::int16_t kind, const std::string& caption) {
    if (kind == kSuperposition && caption.find_first_of("|@") != std::string::npos)
        return Message(StringTable::kLibelleSansBarreNiArobase);
    if (caption.find('|') != std::string::npos)
        return Message(StringTable::kLibelleSansBarre);
    return Message();
}
