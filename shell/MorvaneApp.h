#pragma once

#include "app/ContexteEtude.h"
#include "app/InfoVersion.h"
#include "framework/CommandMap.h"
#include "framework/WinApp.h"
#include "shell/DocumentTemplates.h"
#include "shell/RecentFileList.h"
#include "gui/statistics/AnalysisWindows.h"

#include "export/ChartPictures.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDendogramme;
class CDocument;
class CMainFrame;
class CDossierDoc;
class CMapping;
class CMultiDocTemplate;
class CPresentationTableau;
class CQuestionEtendue;
class CRecodage;
class CTableau;
class CTableauBase;
class CTraitement;
class QWidget;
class QtTableDefinitionEditor;

// The program's application object, which is at the same time the study context: it starts the
// program (settings, document templates, main window, command line, analysis options), serves the
// application's own commands (opening a questionnaire, "Fermer tout", the recent files, About,
// help), keeps the templates through which every window opens (the window openers), and does for
// the context what needs windows: showing a question's form, closing every document, keeping the
// questionnaire tree in step with the survey's questions.
//
// It registers itself as the program's context when it is made.
class CMorvaneApp : public CWinApp, public CContexteEtude, public AnalysisWindows {
public:
    // The private clipboard format of the portfolio's elements.
    static constexpr const char* kPortfolioMimeType = "application/x-veltoportfolio";
    static constexpr const char* kHelpFileName = "Morvane.chm";

    // "Fichier/Fermer tout".
    static constexpr unsigned kFermerTout = 32894;
    // "Fichier/Ouvrir un Dossier...".
    static constexpr unsigned kOuvrirDossier = 32813;
    // "Edition/Sélectionner le langage courant...".
    static constexpr unsigned kLangue = 32914;

    CMorvaneApp();
    ~CMorvaneApp() override;

    // Start-up: the French interface (FrenchInterface), recent files, recode kinds and stored
    // classes, the 22 document templates, the main window with the request dialogs, the editing
    // of a table's definition, the file named by the command line (arguments[1], when given), the
    // window shown maximised, and the analysis options read from the settings into the survey.
    // False when the program cannot run. A file that cannot be opened is reported and the program
    // starts without it.
    bool InitInstance(const QStringList& arguments);

    CMultiDocTemplate& GetTemplate(TemplateKind kind) const;
    // The main window; null before start-up.
    CMainFrame* GetMainWindow() const;
    RecentFileList& GetRecentFiles() { return m_recentFiles; }

    // ---- Opening files ----
    // A portfolio (".dos") goes to the portfolio window; any other file is opened as a
    // questionnaire. The new document, or null (the reason shown).
    CDocument* OpenDocumentFile(const std::string& path);
    // Opens the questionnaire in place of the open one: the file is checked and brought up to
    // date first, then every document is saved (as the user agrees) and closed, and the
    // questionnaire window opens; the windows are cascaded and the file joins the recent files.
    // A file that is not a questionnaire is refused with the reason before anything is closed.
    CDocument* OuvrirQuestionnaire(const std::string& path);

    // ---- Window openers ----
    // Shows the table in a window of its own (a chart window when the table asks for one and the
    // program has it), which takes it. Null when no window opened; the table is freed then.
    CDocument* OuvrirTableau(std::unique_ptr<CTableau> table);
    // The windows that study an open question: its repeated segments, the specific forms and
    // segments of the categories of a closed question, their characteristic answers.
    CDocument* OuvrirOuvSegment(CQuestionEtendue& question);
    // The correspondence analysis of the forms of the open question by the categories of another.
    CDocument* OuvrirOuvCorrespondance(CQuestionEtendue& question);
    // The typology of the interviews by the forms of their answers to the open question.
    CDocument* OuvrirOuvTypologie(CQuestionEtendue& question);
    CDocument* OuvrirOuvFormeSpecifique(CQuestionEtendue& question);
    CDocument* OuvrirOuvSpeSegment(CQuestionEtendue& question);
    CDocument* OuvrirOuvCaracteristique(CQuestionEtendue& question);
    // The study of a table (principal components, correspondence analysis...) in its window; the
    // table stays the caller's.
    CDocument* OuvrirMorvaneDirecte(std::uint16_t type, const CTableau* source);
    // The factor analysis of questions: principal components of numeric questions when the flag
    // is set, else multiple correspondence analysis of closed questions.
    CDocument* OuvrirMorvaneFactorielle(bool acp);
    // The independence test of the row question by the column question; both stay the survey's.
    CDocument* OuvrirTstIndependance(CQuestionEtendue* first, CQuestionEtendue* second);
    // The search for significant cross tables, and the multiple linear regression, each on an
    // analysis document of its own.
    CDocument* OnTrisSignificatifs();
    CDocument* OuvrirRlm();
    // The typology and the hierarchical classification, of numeric questions or of modalities.
    CDocument* OuvrirTypologie(bool numerique);
    CDocument* OuvrirClassification(bool numerique);
    // A classification's tree, which stays its window's.
    CDocument* OuvrirDendogramme(CDendogramme& dendogramme) override;
    // The dictionary window of an open question.
    CDocument* OuvrirOuvDictionnaire(CQuestionEtendue& question);
    // The concordance window of an entry of an open question (kind 1, by the entry's id: a form
    // or a lemma) or of one of its repeated segments (kind 0, by the segment's index).
    CDocument* OuvrirOuvConcordance(CQuestionEtendue& question, std::int32_t entry, std::int16_t kind);
    // A perceptual map in its window; the map stays its owner's (the analysis window's element).
    CDocument* OuvrirMapping(CMapping& mapping) override;
    // A result table of an analysis in a window that leaves it to the analysis, marked as built
    // from the analysis's document.
    CDocument* OuvrirTableau(CTableau& table, const CDocument* owner) override;
    // A portfolio's own table in a window, which leaves it to the portfolio: closing the
    // portfolio, or changing the table, closes the window first (FermerFenetresLiees). A table
    // kept as a chart opens as a chart.
    CDocument* OuvrirTableauDossier(CTableau& table, const CDocument* portfolio);
    // "Sélectionner un calcul" on the request's row calculations: the code chosen, none on Cancel.
    std::optional<std::int32_t> ChoisirCalculLigne(const CTraitement& request);

    // ---- The portfolio ----
    // Closes for good every table, chart and map window built from the source (a portfolio shows
    // its own tables and maps in them, an analysis its maps), so that none is left on a table or a
    // map the source replaces or frees.
    void FermerFenetresLiees(const void* source) override;
    // Lays out again and repaints every table window built from the source, once the source
    // changed the look of its tables.
    void RedessinerFenetresLiees(const void* source);
    // A copy of the table goes to the portfolio: the active one, else the first one opened, else
    // a new untitled one; its window comes to the front.
    void AjouterAuDossier(const CTableauBase& table);
    // A copy of the map goes to the portfolio in the same way.
    void AjouterAuDossier(const CMapping& mapping);
    // A portfolio's own map in a window, which leaves it to the portfolio.
    CDocument* OuvrirMappingDossier(CMapping& mapping, const CDocument* portfolio);

    // ---- What the study context needs windows for ----
    int ActiverFenetreQuestion(CQuestionEtendue* question) override;
    bool EnregistrerTout() override;
    void InsererQuestionsRecodage(const CRecodage& recode, bool updateTree) override;
    void MettreAJourQuestionsRecodage(const CRecodage& recode, CQuestionEtendue* source) override;
    void SupprimerQuestionsRecodage(const CRecodage& recode) override;
    // Also shows the new question (and the group when it is new) in the questionnaire tree.
    CQuestionEtendue* AjouterQuestionCalculee(std::unique_ptr<CQuestionEtendue> question) override;
    // Removes a computed question with the recoded questions made of it, from the tree and the
    // survey, and deletes its stored definition; the question is kept with the deleted ones until
    // the survey closes.
    void SupprimerQuestionCalculee(CQuestionEtendue& question);
    // Repaints the questionnaire tree (its icons follow the current level).
    void RafraichirArbreQuestions();

    // ---- Shared entry dialogs ----
    // Ask for a whole number within [minimum, maximum] or a text of at most `maximumLength`
    // characters (-1: any) under a prompt of the string table, starting from `value` or `text`.
    // True and the new value on OK; false on Cancel, the value left as it was.
    bool SaisirEntier(int promptId, int minimum, int maximum, int& value);
    bool SaisirTexte(int promptId, std::string& text, int maximumLength);

    // What the program says of itself, loaded at start-up.
    const CInfoVersion& GetInfoVersion() const { return m_infoVersion; }

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;
    // Closes every document without saving.
    void FermerDocuments() override;

private:
    void CreateTemplates();
    // The portfolio that receives what is sent to one: the active one, else the first one opened,
    // else a new untitled one; null when none can be made.
    CDossierDoc* DossierCible();
    // Brings the portfolio's window to the front.
    void MontrerDossier(CDossierDoc& portfolio);
    // The table windows that show a table of the source without owning it.
    std::vector<CDocument*> DocumentsLies(const void* source);
    // The table windows and the requests' general pages edit presentations through `edit` (the
    // presentation dialog); empty for none.
    static void InstallerEditeurPresentation(std::function<bool(QWidget*, CPresentationTableau&)> edit);
    void ReadAnalysisOptions();
    void ProcessCommandLine(const QStringList& arguments);

    void OnAppAbout();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnOuvrirDossier();
    void OnFermerTout();
    void OnHelpFinder();
    void OnLangue();
    bool HandleRecentFile(unsigned index, CmdMsg kind, CCmdUI* ui);
    void OuvrirFichierRecent(unsigned index);

    // Removes question `index` from the tree (when there is one) and from the survey.
    std::unique_ptr<CQuestionEtendue> RetirerQuestion(int index);

    static const CommandEntry<CMorvaneApp> kCommandMap[];

    std::array<CMultiDocTemplate*, static_cast<std::size_t>(TemplateKind::kCount)> m_templates{};
    RecentFileList m_recentFiles;
    CInfoVersion m_infoVersion;
    std::unique_ptr<QtTableDefinitionEditor> m_definitionEditor;
    // The charts of RTF documents, installed for the exports while the application runs.
    std::unique_ptr<ChartPictures> m_chartPictures;
    bool m_closingDocuments = false;
};

// The program's application object; null when the registered context is not one (tests that
// make their own context).
CMorvaneApp* GetMorvaneApp();
