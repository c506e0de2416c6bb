#pragma once

#include "app/Calcul.h"
#include "app/Enquete.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/UserInterface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CQuestionEtendue;
class CRecodage;

// The study context: the open survey plus what the analyst adds to it while the program runs:
// the questionnaire and library paths, the study field and weighting in force, the interview
// labels, the default calculation lists the request dialogs offer, the row and column Total
// pseudo-modalities, and the user interface through which the core talks to the user.
//
// There is one context for the whole run. Whoever owns it (the shell's application, or a test)
// registers it with RegisterContext; every part of the program then reaches it through
// GetContexte(). The operations that need windows (activating a question's window, saving every
// document, keeping the questionnaire tree up to date) are virtual: the shell overrides them,
// the core gives safe defaults.
class CContexteEtude : public CEnquete {
public:
    CContexteEtude();
    CContexteEtude(const CContexteEtude&) = delete;
    CContexteEtude& operator=(const CContexteEtude&) = delete;
    // A registered context unregisters itself.
    ~CContexteEtude() override;

    // ---- The one context of the program ----
    // Makes `context` the one GetContexte() answers (null: none).
    static void RegisterContext(CContexteEtude* context);

    // ---- Talking to the user ----
    // Installs the user interface (null: the silent one that shows nothing and answers No).
    void SetUserInterface(std::unique_ptr<UserInterface> userInterface);
    UserInterface& GetUserInterface() const { return *m_userInterface; }

    // ---- Paths ----
    std::string DonnerCheminBase() const override { return questionnairePath; }
    std::string DonnerCheminDonnees() const override { return questionnairePath; }
    // The folder of the inverted files: the questionnaire path with "dat" in place of its
    // extension; empty without a questionnaire.
    std::string DonnerRepertoireInversion() const override;
    virtual std::string DonnerChemin() const { return questionnairePath; }
    // The library database's path, from "Velto.ini" (section "Bibliotheque", key "Chemin") in the
    // configuration folder; read until a non-empty path is found, then kept for the run.
    std::string DonnerCheminBibliotheque();
    // The folder that holds "Velto.ini": by default the "Morvane" folder of the user's
    // configuration folder ($XDG_CONFIG_HOME, else ~/.config). An empty text restores the default.
    void SetConfigurationFolder(const std::string& folder) { m_configurationFolder = folder; }
    std::string DonnerDossierConfiguration() const;

    // ---- Analysis options ----
    // Copies from the settings the options the program reads once, when it starts: CaptionType,
    // EffectifSignificativite, SignificanceType, the three significance thresholds and
    // ConfidenceIntervalThreshold. Every way of computing tables (the program, qesrun) reads them
    // here, so that one request gives one table whoever computes it. The options of each opening
    // are read by OuvrirEtude.
    void ReadStartupOptions();

    // ---- Opening and closing ----
    // Opens the questionnaire at questionnairePath (the caller sets it first) with the options of
    // the settings that are read at each opening (CheckInversion, UseCompletedOnly,
    // GroupSemiOpens, TotalType and the weighting's bounds and iterations). A failure is shown to
    // the user, naming the file and the cause, and leaves the survey empty.
    bool OuvrirEtude();
    // Empties the survey; the shell closes its documents first (FermerDocuments).
    virtual void FermerEtude();

    // ---- Names and codes ----
    bool ExisteQuestion(const std::string& name) const;
    bool ExisteAutreQuestion(const std::string& name, const CQuestionEtendue* question) const;
    // Whether the name of a recoded question (recode `recodeCode` of the questions of code
    // `code`) is taken: for each closed, not recoded question of the code, the candidate name is
    // its name, a blank and `name` when it has loop keys, else `name`; it is taken when a
    // question bearing the candidate has another code or another recode code, or when
    // `recodeCode` is 0.
    bool EstNomUtilise(const std::string& name, std::int32_t code, std::int32_t recodeCode) const;
    std::int32_t NouveauCodeQuestion();
    // The question one depth above, when it carries the same code; else null.
    CQuestionEtendue* DonnerQuestionParente(const CQuestionEtendue* question) const;

    // ---- Interview labels ----
    // The question whose open answers label the interviews (null: numbered labels). It is used
    // only when it is asked once per interview (level 0, one answer).
    void SetLabelQuestion(const CQuestionEtendue* question);
    CQuestionEtendue* GetLabelQuestion() const;
    void PreparerLibellesInterviews();
    void RechargerLibellesInterviews();
    // The label of interview i (0 the first); false with an empty text for an i out of range.
    bool DonnerLibelleInterview(int i, std::string& text);

    // ---- Default calculation lists (new copies appended; the caller owns them) ----
    void DonnerCalculsQualitatifs(std::vector<std::unique_ptr<CCalcul>>& out);
    void DonnerCalculsEvolues(std::vector<std::unique_ptr<CCalcul>>& out);
    void DonnerCalculsCroises(std::vector<std::unique_ptr<CCalcul>>& out);
    void DonnerCalculsNumeriques(std::vector<std::unique_ptr<CCalcul>>& out);
    void DonnerCalculsMoyennes(std::vector<std::unique_ptr<CCalcul>>& out);
    // A request's calculations become the defaults: each entry of the list is selected, with the
    // request's four flags, when the request has its code, and unselected otherwise.
    void AppliquerCalculsQualitatifs(const std::vector<std::unique_ptr<CCalcul>>& entries);
    void AppliquerCalculsCroises(const std::vector<std::unique_ptr<CCalcul>>& entries);
    void AppliquerCalculsNumeriques(const std::vector<std::unique_ptr<CCalcul>>& entries);
    void AppliquerCalculsMoyennes(const std::vector<std::unique_ptr<CCalcul>>& entries);

    // ---- Total pseudo-modalities (code -4) ----
    // Side 0 the rows, any other the columns; null before the first opening.
    CModaliteEtendue* DonnerModaliteTotal(int side) const;
    // A request's lines become the question's selection: each modality is selected, with the
    // line's display flags, when a line has its code, and unselected otherwise. A line of code -4
    // goes to the Total of the side; without one the row Total is hidden, the column Total kept.
    void AppliquerSelectionModalites(CQuestionEtendue* question,
                                     const std::vector<std::unique_ptr<CLigne>>& selection, int side);

    // ---- What the shell does with its windows ----
    // Shows the question's window; 0 when the question is not in the survey. The core has no
    // window: 0.
    virtual int ActiverFenetreQuestion(CQuestionEtendue* question);
    // Saves every modified document; true lets an opening go on. The core has none: true.
    virtual bool EnregistrerTout();
    // Inserts after each question the recode applies to the question it makes; the shell also
    // shows them in the questionnaire tree when `updateTree`.
    virtual void InsererQuestionsRecodage(const CRecodage& recode, bool updateTree);
    // The shell renames, recounts and redraws the questions of a changed recode.
    virtual void MettreAJourQuestionsRecodage(const CRecodage& recode, CQuestionEtendue* source);
    // The shell removes the questions of a recode from the tree and the survey.
    virtual void SupprimerQuestionsRecodage(const CRecodage& recode);
    // Appends a new computed question to the survey, under the group "Questions calculées",
    // which is appended the first time (the last question of depth 1, when it has the group's
    // code, is the group). Answers the question, now the survey's; the shell also shows it in
    // the questionnaire tree.
    virtual CQuestionEtendue* AjouterQuestionCalculee(std::unique_ptr<CQuestionEtendue> question);

    // ---- State ----
    std::vector<std::unique_ptr<CQuestionEtendue>> deletedQuestions; // kept until the survey closes
    std::string questionnairePath;
    std::string libraryPath;
    std::int32_t universeCode = -1; // -1: all interviews
    std::string universeLabel;
    std::int32_t weightingCode = -1; // -1: no weighting
    std::string weightingLabel;
    bool labelsReady = false;
    std::vector<std::string> interviewLabels;

protected:
    // The shell closes every document without saving.
    virtual void FermerDocuments() {}

    // Reads the label question's open answers, one per interview, into `labels`, through a
    // data access that may use the inverted files.
    virtual bool ReadLabelAnswers(const CQuestionEtendue& question, std::vector<std::string>& labels);

private:
    // A calculation list, built from its table on first use and kept for the whole run.
    struct CalculationList {
        bool built = false;
        std::vector<std::unique_ptr<CCalcul>> entries;
    };
    enum class ListKind { Closed, Cross, Numeric, Mean };

    void ReadOpeningOptions();
    void ReadWeightingOptions();
    void ReportDamagedComputedQuestions();
    void ResetStudyState();
    void RebuildTotals();
    void ShowOpeningFailure();
    bool IsUsableLabelQuestion(const CQuestionEtendue& question) const;
    void NumberLabelsFrom(std::size_t first);

    CalculationList& List(ListKind kind);
    void CopyEntries(ListKind kind, std::size_t count, std::vector<std::unique_ptr<CCalcul>>& out);
    void ApplyCalculations(ListKind kind, const std::vector<std::unique_ptr<CCalcul>>& entries);

    std::unique_ptr<UserInterface> m_userInterface;
    std::string m_configurationFolder;
    // The label question by reference (code, loop keys, recode), so that it never outlives
    // the survey's questions; code 0 is none.
    std::int32_t m_labelQuestionCode = 0;
    std::string m_labelQuestionKeys;
    std::int32_t m_labelQuestionRecode = 0;
    CalculationList m_closedCalculations;
    CalculationList m_crossCalculations;
    CalculationList m_numericCalculations;
    CalculationList m_meanCalculations;
    std::unique_ptr<CModaliteEtendue> m_rowTotal;
    std::unique_ptr<CModaliteEtendue> m_columnTotal;
};

// The context the program registered; null when there is none.
CContexteEtude* GetContexte();
