#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Message.h"
#include "app/QuestionEtendue.h"
#include "app/WeightingNotes.h"
#include "platform/questionnaire/Language.h"
#include "platform/questionnaire/QuestionClass.h"
#include "platform/questionnaire/QuestionSet.h"
#include "platform/questionnaire/Version.h"

class CCacheDonnees;
class CMatriceCodes;
class CVecteurDouble;
class CDBStructure;
class CCacheDonnees3;
class CChampEtude;
class CommittedState;
class CIdName;
class CModalite;
class CQuestionNiveau;
class CQuestionnaire;
class CRecordKeySource;
class CRedressement;
class InvertedFilesFingerprint;

// The open survey: the questionnaire's languages, questions (in tree order) and levels as loaded
// from the questionnaire database, the analysis options every tabulation reads, the study fields
// and weightings read on first use, and the three caches through which all answer data passes.
// There is one survey for the whole run; opening a questionnaire empties and refills it. The
// study context derives from it and answers the three path queries.
class CEnquete : public CQuestionSet {
public:
    CEnquete();
    CEnquete(const CEnquete&) = delete;
    CEnquete& operator=(const CEnquete&) = delete;
    ~CEnquete() override;

    // ---- The question set the questionnaire model calls back ----
    bool TrouverIndexParNom(const std::string& name, int& index) const override;
    bool EstEnSaisie() const override { return false; }
    // Data kind of question i: 0 codes, 1 text, 2 date; extra is 1 for multiple answers (and for
    // the open questions whose type flag is set).
    void DonnerTypeQuestion(int i, int& kind, int& extra) const override;
    CQuestionEtendue* DonnerQuestion(int i) const override; // null out of range

    // ---- Questions and levels ----
    int DonnerNbreQuestions() const { return static_cast<int>(questions.size()); }
    int DonnerNbreNiveaux() const { return static_cast<int>(levels.size()); }
    CQuestionNiveau* DonnerNiveau(int i) const; // null out of range
    std::int32_t DonnerNbreInterviews() const { return interviewCount; }
    bool EstQuestionFermee(int i) const;
    bool EstQuestionNumerique(int i) const;
    int DonnerNbreModalites(int i) const;

    // The first question with the code, the loop keys ("%ld;" per key) and the recode code;
    // null when none, and for the code 0.
    CQuestionEtendue* TrouverQuestion(std::int32_t code, const std::string& keys, std::int32_t recodeCode) const;
    // The inverse of TrouverQuestion; a null question gives 0, an empty text and 0.
    static void DonnerReferenceQuestion(const CQuestionEtendue* question, std::int32_t& code, std::string& keys,
                                        std::int32_t& recodeCode);
    CQuestionEtendue* TrouverQuestionParNom(const std::string& name) const;
    bool TrouverIndexQuestion(const CQuestionEtendue* question, int& index) const;
    // The nearest preceding question of smaller depth; -1 for the first question or when none.
    int DonnerIndexParent(int i) const;
    // The parent of the question when it carries the same code; else null.
    CQuestionEtendue* DonnerParentMemeCode(const CQuestionEtendue* question) const;
    // From the top of the tree down to question i, the level and index of every question that
    // opens a loop, each level once, outermost first (appended to the lists).
    void CollecterAscendants(int i, std::vector<int>& levelList, std::vector<int>& indexList) const;
    // "name:code" gives that question and the modality code; any other text is looked up whole
    // as a name, with the code -1. False when no question is found.
    bool ChercherQuestionModalite(const std::string& text, int& index, std::int32_t& code) const;

    // ---- Answer data ----
    // Counts the answers of each modality of the question and marks it counted. Counting reads
    // the question's code matrix through the data access, which the survey does not have yet:
    // until then it answers false and the question stays not counted.
    bool CompterEffectifsModalites(CQuestionEtendue& question);
    // Copies of the answers of question i read through the data access: the code matrix of a
    // closed question (0-based modality positions, -5 for empty answer slots), the value vector
    // of a numeric one. False, `out` unchanged, for another kind of question, an index out of
    // range, or a failed read.
    bool LireCodesQuestion(int i, CMatriceCodes& out);
    bool LireValeursQuestion(int i, CVecteurDouble& out);
    // Drops the question's entries from the closed-answer and numeric caches.
    void OublierDonneesQuestion(const CQuestionEtendue& question);
    CCacheDonnees* GetClosedAnswerCache() const { return m_closedAnswerCache.get(); }
    CCacheDonnees* GetNumericCache() const { return m_numericCache.get(); }
    CCacheDonnees3* GetWeightCache() const { return m_weightCache.get(); }
    // The notes of the request being computed on the weights it used.
    WeightingNotes& GetWeightingNotes() { return m_weightingNotes; }
    // Where the levels read their record keys; without one (null) they read the response tables
    // through a data access of their own. Tests and the inverted files give other sources.
    void SetRecordKeySource(std::unique_ptr<CRecordKeySource> source);
    CRecordKeySource* GetRecordKeySource() const { return m_recordKeySource.get(); }

    // ---- Study fields and weightings, read on first use ----
    // Appends a new (id, name) per entry; false when the list could not be read (last error set).
    bool DonnerListeChampsEtude(std::vector<std::unique_ptr<CIdName>>& out);
    // Copies the entry into the caller's and binds the copy to this survey; false when absent.
    bool DonnerChampEtude(std::int32_t id, CChampEtude& out);
    // Replaces the entry of the same id or appends a copy; the weights computed with it go.
    void MettreAJourChampEtude(const CChampEtude& field);
    void SupprimerChampEtude(std::int32_t id);
    bool DonnerListeRedressements(std::vector<std::unique_ptr<CIdName>>& out);
    bool DonnerRedressement(std::int32_t id, CRedressement& out);
    void MettreAJourRedressement(const CRedressement& weighting);
    void SupprimerRedressement(std::int32_t id);

    // ---- Opening ----
    // Empties the survey and fills it from the questionnaire database at DonnerCheminBase();
    // false with the reason in the last error, the survey then left empty.
    bool Ouvrir();
    void Vider();
    void CreerCaches();
    void DetruireCaches();
    // Creates the folder of the inverted files when it does not exist; false for an empty folder
    // name or when it cannot be made.
    bool CreerRepertoireInversion();
    // Whether the inverted files can be believed, file by file: the record of their sizes and
    // checksums and of the questionnaire's state when they were written, read once per opening
    // (the inverted files are valid only with both the stamp and this record).
    InvertedFilesFingerprint& GetInvertedFilesFingerprint();
    // Reads the interview count stamped in the inverted files' "Velto.dat". With CheckInversion
    // the check holds only when the stamp equals `count`; without, the stamp is stored into
    // `count`. A file that cannot be read fails.
    bool VerifierInversion(std::int32_t& count) const;
    const std::string& GetLastError() const { return lastError; }
    // The last failure of an opening as a message of the string table, when it has one of its
    // own (a questionnaire the program cannot count); id 0 when the failure is only a text.
    const Message& GetLastErrorMessage() const { return lastErrorMessage; }

    // Whether the answers of the question that name no modality are still to be reported: true
    // the first time it is asked for a question in the open survey, false after.
    bool NoteUnknownAnswersReport(const CQuestionEtendue& question);

    // The committed state of the questionnaire file that the survey's computations read
    // (app/OneStateScope.h enters it).
    CommittedState& GetCommittedState() { return *m_committedState; }
    const CommittedState& GetCommittedState() const { return *m_committedState; }

    // ---- Captions of the generated modalities, in every language of the survey ----
    void LibellerNonReponse(CModalite& modality) const;
    void LibellerAutre(CModalite& modality) const;
    void LibellerTotal(CModalite& modality) const;
    void LibellerNonInterroge(CModalite& modality) const;
    void LibellerMoinsDe(CModalite& modality, double bound, const std::string& unit) const;
    void LibellerOuMoins(CModalite& modality, double bound, const std::string& unit) const;
    void LibellerDeA(CModalite& modality, double low, double high, const std::string& unit) const;
    void LibellerPlusDe(CModalite& modality, double bound, const std::string& unit) const;
    void LibellerOuPlus(CModalite& modality, double bound, const std::string& unit) const;
    void LibellerAvant(CModalite& modality, const std::string& date) const;
    void LibellerOuAvant(CModalite& modality, const std::string& date) const;
    void LibellerDeADate(CModalite& modality, const std::string& first, const std::string& second) const;
    void LibellerApres(CModalite& modality, const std::string& date) const;
    void LibellerOuApres(CModalite& modality, const std::string& date) const;

    // ---- Options and state (the study context reads the options from the settings) ----
    bool UseCompletedOnly = false;
    bool GroupSemiOpens = false;
    int currentLevel = 0;
    std::vector<CLanguage> languages;
    std::vector<std::unique_ptr<CQuestionEtendue>> questions; // tree (pre-order) order
    std::vector<std::unique_ptr<CQuestionNiveau>> levels;     // 0 is "Interviews"
    std::vector<CVersion> versions;                           // filled by the loader
    std::vector<CQuestionClass> questionClasses;              // filled by the loader
    std::string lastError;
    Message lastErrorMessage;
    bool CheckInversion = true;
    bool invertedFilesValid = false;
    std::int32_t interviewCount = 0;
    std::int32_t fileVersion = 0; // the questionnaire file's major x 100 + minor
    std::int16_t TotalType = 0;
    std::int16_t CaptionType = 2;
    std::int32_t questionnaireLanguage = 0;
    std::int32_t currentLanguage = 0;
    std::int32_t newQuestionCode = 0;
    std::int16_t EffectifSignificativite = 5;
    std::int16_t SignificanceType = 2;
    double SignificanceThreshold3 = 2.576;
    double SignificanceThreshold2 = 1.96;
    double SignificanceThreshold1 = 1.645;
    double ConfidenceIntervalThreshold = 1.96;
    double MinWeight = 0.0;
    double MaxWeight = 5.0;
    std::int32_t IterationPerQuestion = 30;
    std::int32_t Accuracy = 10;
    std::uint8_t extraFlag = 0;
    bool studyFieldsLoaded = false;
    bool weightingsLoaded = false;
    std::vector<std::unique_ptr<CChampEtude>> studyFields;
    std::vector<std::unique_ptr<CRedressement>> weightings;
    std::int32_t selectorWord = 0;

protected:
    // The loader gives files older than the languages table this language.
    friend class CQuestionnaireLoader;
    // The language of the program's own version information, given to questionnaires too old to
    // have a languages table. The study context answers it.
    virtual std::int32_t DonnerLangueApplication() const { return 1036; }

    // Where the lists of study fields and weightings come from: the definition store of the
    // questionnaire database, each list headed by its fixed entry (-1). A survey without a
    // questionnaire path starts with empty lists that live in memory.
    virtual bool ReadStudyFields(std::vector<std::unique_ptr<CChampEtude>>& out, std::string& error);
    virtual bool ReadWeightings(std::vector<std::unique_ptr<CRedressement>>& out, std::string& error);

private:
    // The steps of Ouvrir.
    bool LoadQuestionnaire();
    bool CountInterviews();
    bool FailOpening(const std::string& reason);

    bool EnsureStudyFieldsLoaded();
    bool EnsureWeightingsLoaded();
    void InvalidateWeightsOfStudyField(std::int32_t id);
    void InvalidateWeightsOfWeighting(std::int32_t id);

    std::unique_ptr<CCacheDonnees> m_closedAnswerCache;
    std::unique_ptr<CCacheDonnees> m_numericCache;
    std::unique_ptr<CCacheDonnees3> m_weightCache;
    WeightingNotes m_weightingNotes;
    std::unique_ptr<CRecordKeySource> m_recordKeySource;
    // The questions whose answers naming no modality were reported, by reference.
    std::set<std::string> m_unknownAnswersReported;
    std::unique_ptr<InvertedFilesFingerprint> m_invertedFilesFingerprint;
    std::unique_ptr<CommittedState> m_committedState;
};
