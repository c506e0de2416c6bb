#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Question.h"

class CEnquete;
class CMatriceCodes;
class CModaliteEtendue;
class CQuestionCalculee;
class CRecodage;

// The program's question: the questionnaire model's question with what the analyst adds to a
// survey: the level (loop) it belongs to, its loop keys (the values), an optional recode, an
// optional computed-variable definition, and the survey that owns it. Its modalities are
// CModaliteEtendue.
class CQuestionEtendue : public CQuestion {
public:
    // An empty question of the survey.
    explicit CQuestionEtendue(CEnquete* survey);
    // A copy of the model's question whose modalities become CModaliteEtendue of the survey.
    CQuestionEtendue(CEnquete* survey, const CQuestion& model);
    // The model part, the level, the recode id, the generated flag, the survey and the values;
    // the modalities as CModaliteEtendue copies. Not copied: the loaded flags, the recode, the
    // computed definition and the level question.
    CQuestionEtendue(const CQuestionEtendue& other);
    CQuestionEtendue& operator=(const CQuestionEtendue&) = delete;
    ~CQuestionEtendue() override;

    // Whether the question keeps its code matrices in memory (the questions that level recodes
    // create); the response readers then ask the question rather than the database.
    virtual bool KeepsCodeMatricesInMemory() const { return false; }
    // For such a question: a copy of the matrix it keeps under the key, else of the one under -1;
    // false when it keeps neither (and for every other question).
    virtual bool DonnerCodesNiveau(std::int32_t /*key*/, CMatriceCodes& /*out*/) const { return false; }

    // Captions. Mode 0 the name, 1 the long caption, any other the short caption; each in the
    // current language, else the default language, else the next simpler mode. Without a mode:
    // the survey's CaptionType.
    std::string GetCaption() const;
    std::string GetCaption(int mode) const;

    // The values (loop keys).
    void AjouterValeur(std::int32_t value) { values.push_back(value); }
    int GetNbreValeurs() const { return static_cast<int>(values.size()); }
    std::int32_t GetValeur(int i) const { return values.at(static_cast<std::size_t>(i)); }

    // Modalities. DonnerModalites appends a new copy of each modality to the caller's array (the
    // caller owns them); with `load`, a question whose modalities are not loaded first has the
    // survey count them.
    void DonnerModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& out, bool load);
    // The modality as the program's class; null out of range or for a modality of another class.
    CModaliteEtendue* GetModaliteEtendue(int i) const;
    // The code of modality i; -5 for -5, a negative index, or an index not below the count.
    std::int32_t GetCodeModalite(int i) const;
    // Index of the first modality with the code; -1 when none.
    int TrouverModalite(std::int32_t modalityCode) const;
    // Index of the first modality with the code -2; -1 when none.
    int TrouverNonReponse() const;
    // Appends a copy of each group of the recode, in the recode's order.
    void DonnerModalitesRecodees(std::vector<std::unique_ptr<CModaliteEtendue>>& out) const;
    // Gives the modalities their numeric values, by the question's type.
    void CalculerValeursModalites();
    // Replaces the first occurrence of the marker in every non-empty long then short caption by
    // the modality's short caption in that language (the fallback language's when empty).
    void RemplacerMarqueur(const std::string& marker, const CModalite& modality, std::int32_t fallbackLanguage);

    // Kind tests.
    bool EstFermee() const;
    bool EstType8() const { return type == 8; }
    bool AModaliteAutre() const;
    bool EstRecodageModalite() const;
    bool EstRecodageIntervalle() const;
    bool EstRecodageDiscrete() const;
    bool EstRecodageLevelModalite() const;
    bool EstRecodageLevelNumerique() const;
    bool EstRecodageLevelOpen() const;

    // Owned parts. SetRecodage keeps a deep copy (null removes the recode). SetQuestionCalculee
    // takes the definition, deleting a different present one.
    void SetRecodage(const CRecodage* recode);
    CRecodage* GetRecodage() const { return m_recode.get(); }
    void SetQuestionCalculee(std::unique_ptr<CQuestionCalculee> definition);
    CQuestionCalculee* GetQuestionCalculee() const { return m_computed.get(); }
    void SetQuestionNiveau(std::unique_ptr<CQuestionEtendue> levelQuestion);
    CQuestionEtendue* GetQuestionNiveau() const { return m_levelQuestion.get(); }

    CEnquete* GetEnquete() const { return m_survey; }
    // The recode id, the second key of the cached answer data.
    std::int32_t GetCodeRecodage() const { return recodeId; }

    // Empties the target (deleting its objects) and fills it with copies of the source's
    // modalities.
    static void CopierModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& target, const CQuestion& source);
    // '0' to '9', '.' and ','.
    static bool EstCaractereNumerique(char c);
    // Reads an interval "low ... high" (or a single number) from a caption; false when none can
    // be read, leaving low and high unspecified.
    static bool ExtraireNombre(const std::string& text, double& low, double& high);

    bool modalitiesLoaded = false; // the survey has counted its modalities
    bool recodeBuilt = false;
    std::int32_t level = 0;        // index of its level; 0 = asked once per interview
    std::int32_t recodeId = 0;     // 0 = not a recoded question
    std::int32_t generated = 0;    // 1 for a question the loader made for a loop
    std::vector<std::int32_t> values;

private:
    std::unique_ptr<CModaliteEtendue> CopyOfModality(const CModalite& modality) const;
    void ReplaceModalitiesByOwnClass();
    std::int16_t RecodeType() const;
    void ValueClosedModalities();
    void ValueModalitiesFromCaptions(bool intervals);

    std::unique_ptr<CRecodage> m_recode;
    std::unique_ptr<CQuestionCalculee> m_computed;
    CEnquete* m_survey = nullptr; // not owned
    std::unique_ptr<CQuestionEtendue> m_levelQuestion;
};
