// The profile and style operations of CDBQuestionnaire. They are declared in app/DBQuestionnaire.h
// with the rest of the definition store, whose stored texts they read and write, but live here
// beside CProfil and CStyle: those classes sit above app/ in the layering, so app/ cannot see
// their definitions.

#include <string>
#include <vector>

#include "app/DBQuestionnaire.h"
#include "app/Enquete.h"
#include "app/UserInterface.h"
#include "app/StringTable.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"

namespace {

// A numeric list's entries: its questions, a separator line as null.
std::vector<const CQuestionEtendue*> QuestionEntries(const CProfil& profile) {
    std::vector<const CQuestionEtendue*> entries;
    for (int i = 0; i < profile.GetCount(); ++i)
        entries.push_back(profile.GetQuestion(i));
    return entries;
}

void AppendEntries(const std::vector<CQuestionEtendue*>& entries, CProfil& profile) {
    for (CQuestionEtendue* question : entries) {
        if (question)
            profile.Add(question);
        else
            profile.AddSeparator();
    }
}

} // namespace

// ---- Profile lists ---------------------------------------------------------------------------

bool CDBQuestionnaire::ReadProfile(std::int32_t key, CProfil& profile) {
    ListTexts texts;
    if (!ReadProfileTexts(key, ListPart::Active, texts))
        return false;
    profile.id = key;
    profile.label = texts.label;
    profile.FromString(*GetEnquete(), texts.active);
    return true;
}

bool CDBQuestionnaire::SaveProfile(std::int32_t& key, CProfil& profile) {
    const ListTexts texts{profile.label, profile.ToString(*GetEnquete()), std::string()};
    if (!SaveProfileTexts(key, ListPart::Active, texts))
        return false;
    profile.id = key;
    return true;
}

bool CDBQuestionnaire::ReadAnalysisProfile(std::int32_t key, CProfil& active, CProfil& illustrative) {
    active.RemoveAll();
    illustrative.RemoveAll();
    ListTexts texts;
    if (!ReadProfileTexts(key, ListPart::Both, texts))
        return false;
    active.id = key;
    active.label = texts.label;
    active.FromString(*GetEnquete(), texts.active);
    illustrative.FromString(*GetEnquete(), texts.illustrative);
    return true;
}

bool CDBQuestionnaire::SaveAnalysisProfile(std::int32_t& key, CProfil& active, CProfil& illustrative) {
    const ListTexts texts{active.label, active.ToString(*GetEnquete()), illustrative.ToString(*GetEnquete())};
    if (!SaveProfileTexts(key, ListPart::Both, texts))
        return false;
    active.id = key;
    return true;
}

// ---- Numeric lists ---------------------------------------------------------------------------

bool CDBQuestionnaire::ReadNumericProfile(std::int32_t key, CProfil& profile) {
    ListTexts texts;
    if (!ReadNumericProfileTexts(key, ListPart::Active, texts))
        return false;
    profile.id = key;
    profile.label = texts.label;
    std::vector<CQuestionEtendue*> entries;
    ReadQuestionList(texts.active, true, entries);
    AppendEntries(entries, profile);
    return true;
}

bool CDBQuestionnaire::SaveNumericProfile(std::int32_t& key, CProfil& profile) {
    const ListTexts texts{profile.label, WriteQuestionList(QuestionEntries(profile)), std::string()};
    if (!SaveNumericProfileTexts(key, ListPart::Active, texts))
        return false;
    profile.id = key;
    return true;
}

bool CDBQuestionnaire::ReadAnalysisNumericProfile(std::int32_t key, CProfil& active, CProfil& illustrative) {
    ListTexts texts;
    if (!ReadNumericProfileTexts(key, ListPart::Both, texts))
        return false;
    active.id = key;
    active.label = texts.label;
    std::vector<CQuestionEtendue*> activeEntries;
    ReadQuestionList(texts.active, false, activeEntries);
    AppendEntries(activeEntries, active);
    std::vector<CQuestionEtendue*> illustrativeEntries;
    ReadQuestionList(texts.illustrative, false, illustrativeEntries);
    AppendEntries(illustrativeEntries, illustrative);
    return true;
}

bool CDBQuestionnaire::SaveAnalysisNumericProfile(std::int32_t& key, CProfil& active, CProfil& illustrative) {
    const ListTexts texts{active.label, WriteQuestionList(QuestionEntries(active)),
                          WriteQuestionList(QuestionEntries(illustrative))};
    if (!SaveNumericProfileTexts(key, ListPart::Both, texts))
        return false;
    active.id = key;
    return true;
}

// ---- Styles ----------------------------------------------------------------------------------

bool CDBQuestionnaire::SaveStyle(CStyle& style) {
    Message refusal;
    if (!style.VerifierTextes(refusal)) {
        // A separator inside a label would store a text that reads back as other calculations.
        if (m_ui != nullptr)
            m_ui->ShowMessage(refusal, UserInterface::Icon::Warning);
        else
            m_errorText = StringTable::Format(refusal);
        return false;
    }
    std::int32_t key = style.id;
    if (!SaveStyleTexts(key, style.name, style.DonnerChaine()))
        return false;
    style.id = key;
    return true;
}

bool CDBQuestionnaire::ReadStyle(std::int32_t key, CStyle& style) {
    std::string name;
    std::string calculations;
    if (!ReadStyleTexts(key, name, calculations))
        return false;
    style.id = key;
    style.name = name;
    style.LireChaine(calculations);
    return true;
}
