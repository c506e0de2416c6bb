#include "gui/openanswers/OuvSegmentView.h"
#include "shell/MorvaneApp.h"

#include "app/DBQuestionnaire.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/Recodage.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/DocumentSource.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/MultiDocTemplate.h"
#include "framework/PageSetup.h"
#include "framework/View.h"
#include "gui/openanswers/OuvConcordanceDoc.h"
#include "gui/openanswers/OuvFenetres.h"
#include "gui/presentation/PresentationTableauDlg.h"
#include "recodes/EnregistrerRecodages.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "variables/EnregistrerQuestionsCalculees.h"
#include "shell/AboutDlg.h"
#include "shell/FrenchInterface.h"
#include "shell/LanguesDlg.h"
#include "shell/MainFrame.h"
#include "shell/QtRequestDialogs.h"
#include "shell/QtTableDefinitionEditor.h"
#include "shell/QuestionDoc.h"
#include "shell/QuestionnaireView.h"
#include "shell/SaisieValeurDlg.h"
#include "shell/SplashWnd.h"
#include "portfolio/ExportsDossier.h"
#include "gui/presentation/MappingDoc.h"
#include "gui/presentation/MappingView.h"
#include "gui/statistics/TstIndependanceDoc.h"
#include "gui/statistics/DendogrammeDoc.h"
#include "statistics/Dendogramme.h"
#include "statistics/Mapping.h"
#include "portfolio/EnregistrerClassesDossier.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"
#include "tabulation/DemandeOuverture.h"
#include "tabulation/EnregistrerClassesTabulation.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/TableauDoc.h"
#include "gui/presentation/GraphDoc.h"
#include "gui/presentation/QtChartPictures.h"
#include "gui/requests/SelCalculDlg.h"

#include <QCoreApplication>
#include <QScreen>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <set>

namespace {

constexpr const char* kPortfolioExtension = ".dos";

bool IsPortfolioPath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == kPortfolioExtension;
}

bool CarriesRecode(const CQuestionEtendue& question, const CRecodage& recode) {
    return question.code == recode.sourceQuestionCode && question.recodeId == recode.id;
}

} // namespace

const CommandEntry<CMorvaneApp> CMorvaneApp::kCommandMap[] = {
    {FrameworkCommands::kAppAbout, &CMorvaneApp::OnAppAbout, nullptr},
    {FrameworkCommands::kFileOpen, &CMorvaneApp::OnFileOpen, nullptr},
    {FrameworkCommands::kFilePrintSetup, &CMorvaneApp::OnFilePrintSetup, nullptr},
    {kFermerTout, &CMorvaneApp::OnFermerTout, nullptr},
    {kOuvrirDossier, &CMorvaneApp::OnOuvrirDossier, nullptr},
    {FrameworkCommands::kHelpFinder, &CMorvaneApp::OnHelpFinder, nullptr},
    // F1 opens the same help as "Aide/Contenu".
    {FrameworkCommands::kHelp, &CMorvaneApp::OnHelpFinder, nullptr},
    {kLangue, &CMorvaneApp::OnLangue, nullptr},
};

CMorvaneApp::CMorvaneApp() {
    RegisterContext(this);
}

CMorvaneApp::~CMorvaneApp() {
    // The windows and documents go while the survey they show is still whole: the context part
    // of this object is destroyed before the framework part.
    m_closingDocuments = true;
    SetMainFrame(nullptr);
    CloseAllDocuments();
    if (CTableauDoc::GetDefinitionEditor() == m_definitionEditor.get())
        CTableauDoc::SetDefinitionEditor(nullptr);
    CTableauDoc::SetAjoutDossier(nullptr);
    CMappingDoc::SetAjoutDossier(nullptr);
    ExportsDossier::SetImageMapping(nullptr);
    CTableauDoc::SetEnvoiGraphique({});
    CGraphDoc::SetAjoutDossier(nullptr);
    OuvFenetres::SetAjoutDossier(nullptr);
    OuvFenetres::SetOuvertureConcordance(nullptr);
    if (ChartPictures::Installed() == m_chartPictures.get())
        ChartPictures::Install(nullptr);
    CTableauDoc::SetEnvoiAnalyse(nullptr);
    if (AnalysisWindows::Get() == this)
        AnalysisWindows::Installer(nullptr);
    InstallerEditeurPresentation(nullptr);
}

CMorvaneApp* GetMorvaneApp() {
    return dynamic_cast<CMorvaneApp*>(GetContexte());
}

// ---- Start-up ---------------------------------------------------------------------------------

bool CMorvaneApp::InitInstance(const QStringList& arguments) {
    // Before any window is made: Qt's texts are taken as its widgets are built.
    if (!FrenchInterface::Install())
        qWarning("Qt's French translations (%s) are missing: its standard dialogs stay in English.",
                 FrenchInterface::kQtTranslation);
    // A build whose version cannot be read still runs; the About box then shows less.
    m_infoVersion.Charger();
    CSplashWnd::EnableSplash(true);
    // The C runtime already speaks the user's locale: the Qt application object set it.
    m_recentFiles.Load();
    // Before a questionnaire's recodes and a stored request are read.
    EnregistrerRecodages();
    EnregistrerQuestionsCalculees();
    EnregistrerClassesTabulation();
    EnregistrerClassesDossier();
    EnregistrerOuvertes();
    CreateTemplates();
    SetMainFrame(std::make_unique<CMainFrame>(*this));
    GetMainWindow()->SetRequestDialogs(std::make_unique<QtRequestDialogs>(*this));
    m_definitionEditor = std::make_unique<QtTableDefinitionEditor>(*this);
    CTableauDoc::SetDefinitionEditor(m_definitionEditor.get());
    CTableauDoc::SetAjoutDossier([this](const CTableau& table) { AjouterAuDossier(table); });
    CMappingDoc::SetAjoutDossier([this](const CMapping& mapping) { AjouterAuDossier(mapping); });
    COuvSegmentView::SetAjoutDossier([this](const CTableau& table) { AjouterAuDossier(table); });
    ExportsDossier::SetImageMapping([](const CMapping& mapping) {
        return MappingPainter::ImagePng(mapping, CMappingView::kMarge, CMappingView::kEchelleImage);
    });
    CGraphDoc::SetAjoutDossier([this](const CTableauBase& table) { AjouterAuDossier(table); });
    OuvFenetres::SetAjoutDossier([this](const CTableau& table) { AjouterAuDossier(table); });
    OuvFenetres::SetOuvertureConcordance([this](CQuestionEtendue& question, std::int32_t entry, std::int16_t kind) {
        OuvrirOuvConcordance(question, entry, kind);
    });
    CTableauDoc::SetEnvoiGraphique({[this](std::unique_ptr<CTableau> table) { OuvrirTableau(std::move(table)); },
                                    [this](const CTraitement& request) { return ChoisirCalculLigne(request); }});
    m_chartPictures = std::make_unique<QtChartPictures>();
    ChartPictures::Install(m_chartPictures.get());
    CTableauDoc::SetEnvoiAnalyse(
        [this](std::uint16_t type, const CTableau& table) { OuvrirMorvaneDirecte(type, &table); });
    AnalysisWindows::Installer(this);
    InstallerEditeurPresentation(&CPresentationTableauDlg::Editer);
    ProcessCommandLine(arguments);
    // The screen's whole work area first: a display without a window manager (a virtual one) does
    // not maximise a window by itself.
    QWidget* mainWindow = GetMainWindow();
    if (const QScreen* screen = mainWindow->screen())
        mainWindow->setGeometry(screen->availableGeometry());
    mainWindow->showMaximized();
    ReadAnalysisOptions();
    return true;
}

void CMorvaneApp::InstallerEditeurPresentation(std::function<bool(QWidget*, CPresentationTableau&)> edit) {
    CTableauDoc::SetEditeurPresentation(edit);
    CPageGeneraleDlg::Choosers choosers = CPageGeneraleDlg::InstallChoosers({});
    choosers.presentation = std::move(edit);
    CPageGeneraleDlg::InstallChoosers(std::move(choosers));
}

void CMorvaneApp::CreateTemplates() {
    for (const DocumentTemplates::Definition& definition : DocumentTemplates::InCreationOrder())
        m_templates[static_cast<std::size_t>(definition.kind)] = &AddDocTemplate(DocumentTemplates::Create(definition));
}

void CMorvaneApp::ProcessCommandLine(const QStringList& arguments) {
    // No empty document at start. A file that does not open has been reported; the program
    // stays, with nothing open, rather than vanish after the message.
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        OpenDocumentFile(QDir::toNativeSeparators(arguments.at(1)).toStdString());
}

// The same reading as qesrun's, so that the program and qesrun give one request the same table.
void CMorvaneApp::ReadAnalysisOptions() {
    ReadStartupOptions();
}

CMultiDocTemplate& CMorvaneApp::GetTemplate(TemplateKind kind) const {
    return *m_templates.at(static_cast<std::size_t>(kind));
}

CMainFrame* CMorvaneApp::GetMainWindow() const {
    return dynamic_cast<CMainFrame*>(GetMainFrame());
}

// ---- Opening files ----------------------------------------------------------------------------

CDocument* CMorvaneApp::OpenDocumentFile(const std::string& path) {
    if (IsPortfolioPath(path))
        return GetTemplate(TemplateKind::kDossier).OpenDocumentFile(path);
    return OuvrirQuestionnaire(path);
}

CDocument* CMorvaneApp::OuvrirQuestionnaire(const std::string& path) {
    std::string reason;
    if (!CDBQuestionnaire::VerifierIsLevelLink(path, &reason)) {
        GetUserInterface().ShowMessage(Message(StringTable::kImpossibleOuvrirQuestionnaire, {path, reason}),
                                       UserInterface::Icon::Error);
        return nullptr;
    }
    if (!EnregistrerTout())
        return nullptr;
    FermerEtude();
    CDocument* document = GetTemplate(TemplateKind::kQuestionnaire).OpenDocumentFile(path);
    if (document == nullptr)
        return nullptr;
    m_recentFiles.Add(path);
    if (CMDIFrameWnd* frame = GetMainFrame())
        frame->OnCmdMsg(FrameworkCommands::kWindowCascade, CmdMsg::kCommand, nullptr);
    return document;
}

// ---- Window openers ---------------------------------------------------------------------------

CDocument* CMorvaneApp::OuvrirTableau(std::unique_ptr<CTableau> table) {
    if (table == nullptr)
        return nullptr;
    // Handed over: the window that opens owns it.
    table->deleteWithWindow = 1;
    const bool asChart = table->openAsChart != 0 && DocumentTemplates::IsAvailable(TemplateKind::kGraphique);
    CMultiDocTemplate& docTemplate = GetTemplate(asChart ? TemplateKind::kGraphique : TemplateKind::kTableau);
    CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(table.get()));
    if (document != nullptr)
        table.release();
    return document;
}

CDocument* CMorvaneApp::OuvrirMorvaneDirecte(std::uint16_t type, const CTableau* source) {
    const CDemandeOuverture request(type, source);
    return GetTemplate(TemplateKind::kMorvaneDirecte).OpenDocumentFile(DocumentSource::FromObject(&request));
}

CDocument* CMorvaneApp::OuvrirOuvCorrespondance(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvCorrespondance).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvTypologie(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvTypologie).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvSegment(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvSegment).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvFormeSpecifique(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvFormeSpecifique).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvSpeSegment(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvSpeSegment).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvCaracteristique(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvCaracteristique).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirMorvaneFactorielle(bool acp) {
    // The analysis type word of the creation record: 4 principal components, 5 multiple
    // correspondence analysis.
    const std::uint16_t type = acp ? 4 : 5;
    return GetTemplate(TemplateKind::kMorvaneFactorielle).OpenDocumentFile(DocumentSource::FromObject(&type));
}

CDocument* CMorvaneApp::OuvrirTstIndependance(CQuestionEtendue* first, CQuestionEtendue* second) {
    const CTstIndependanceDoc::Questions pair{first, second};
    return GetTemplate(TemplateKind::kTstIndependance).OpenDocumentFile(DocumentSource::FromObject(&pair));
}

CDocument* CMorvaneApp::OnTrisSignificatifs() {
    return GetTemplate(TemplateKind::kTrisSignificatifs).OpenDocumentFile(DocumentSource::None());
}

CDocument* CMorvaneApp::OuvrirRlm() {
    return GetTemplate(TemplateKind::kRlm).OpenDocumentFile(DocumentSource::None());
}

CDocument* CMorvaneApp::OuvrirTypologie(bool numerique) {
    const std::uint16_t type = numerique ? 1 : 0;
    return GetTemplate(TemplateKind::kTypologie).OpenDocumentFile(DocumentSource::FromObject(&type));
}

CDocument* CMorvaneApp::OuvrirClassification(bool numerique) {
    const std::uint16_t type = numerique ? 3 : 2;
    return GetTemplate(TemplateKind::kClassification).OpenDocumentFile(DocumentSource::FromObject(&type));
}

CDocument* CMorvaneApp::OuvrirDendogramme(CDendogramme& dendogramme) {
    return GetTemplate(TemplateKind::kDendogramme).OpenDocumentFile(DocumentSource::FromObject(&dendogramme));
}

CDocument* CMorvaneApp::OuvrirOuvDictionnaire(CQuestionEtendue& question) {
    return GetTemplate(TemplateKind::kOuvDictionnaire).OpenDocumentFile(DocumentSource::FromObject(&question));
}

CDocument* CMorvaneApp::OuvrirOuvConcordance(CQuestionEtendue& question, std::int32_t entry, std::int16_t kind) {
    const COuvConcordanceDoc::Demande request{&question, entry, kind};
    return GetTemplate(TemplateKind::kOuvConcordance).OpenDocumentFile(DocumentSource::FromObject(&request));
}

// An analysis keeps its tables as a portfolio does.
CDocument* CMorvaneApp::OuvrirTableau(CTableau& table, const CDocument* owner) {
    return OuvrirTableauDossier(table, owner);
}

CDocument* CMorvaneApp::OuvrirMapping(CMapping& mapping) {
    return GetTemplate(TemplateKind::kMapping).OpenDocumentFile(DocumentSource::FromObject(&mapping));
}

CDocument* CMorvaneApp::OuvrirMappingDossier(CMapping& mapping, const CDocument* portfolio) {
    mapping.proprietaire = portfolio;
    return OuvrirMapping(mapping);
}

CDocument* CMorvaneApp::OuvrirTableauDossier(CTableau& table, const CDocument* portfolio) {
    table.deleteWithWindow = 0;
    table.ownerDocument = portfolio;
    const bool asChart = table.openAsChart != 0 && DocumentTemplates::IsAvailable(TemplateKind::kGraphique);
    CMultiDocTemplate& docTemplate = GetTemplate(asChart ? TemplateKind::kGraphique : TemplateKind::kTableau);
    return docTemplate.OpenDocumentFile(DocumentSource::FromObject(&table));
}

std::optional<std::int32_t> CMorvaneApp::ChoisirCalculLigne(const CTraitement& request) {
    CSelCalculDlg dialog(request.GetCalculsLignes(), GetMainWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetCode();
}

// ---- The portfolio ----------------------------------------------------------------------------

std::vector<CDocument*> CMorvaneApp::DocumentsLies(const void* source) {
    std::vector<CDocument*> linked;
    if (source == nullptr)
        return linked;
    for (CDocument* document : GetTemplate(TemplateKind::kTableau).GetDocuments()) {
        const auto* window = dynamic_cast<CTableauDoc*>(document);
        const CTableau* table = window != nullptr ? window->GetTableau() : nullptr;
        if (table != nullptr && table->ownerDocument == source && table->deleteWithWindow == 0)
            linked.push_back(document);
    }
    return linked;
}

void CMorvaneApp::FermerFenetresLiees(const void* source) {
    if (source == nullptr)
        return;
    // Closed at once, not posted: the table may be freed right after.
    for (CDocument* document : DocumentsLies(source))
        document->OnCloseDocument();
    for (CDocument* document : GetTemplate(TemplateKind::kMapping).GetDocuments())
        if (auto* map = dynamic_cast<CMappingDoc*>(document))
            map->FermerSiSource(source);
    for (CDocument* document : GetTemplate(TemplateKind::kGraphique).GetDocuments())
        if (auto* chart = dynamic_cast<CGraphDoc*>(document))
            chart->FermerSiSource(source);
    for (CDocument* document : GetTemplate(TemplateKind::kDendogramme).GetDocuments())
        if (auto* tree = dynamic_cast<CDendogrammeDoc*>(document))
            tree->FermerSiSource(source);
}

void CMorvaneApp::RedessinerFenetresLiees(const void* source) {
    for (CDocument* document : DocumentsLies(source))
        document->UpdateAllViews(nullptr);
}

void CMorvaneApp::AjouterAuDossier(const CTableauBase& table) {
    if (CDossierDoc* portfolio = DossierCible()) {
        portfolio->AjouterElement(table);
        MontrerDossier(*portfolio);
    }
}

void CMorvaneApp::AjouterAuDossier(const CMapping& mapping) {
    if (CDossierDoc* portfolio = DossierCible()) {
        portfolio->AjouterElement(mapping);
        MontrerDossier(*portfolio);
    }
}

CDossierDoc* CMorvaneApp::DossierCible() {
    CMultiDocTemplate& portfolios = GetTemplate(TemplateKind::kDossier);
    CDossierDoc* portfolio = nullptr;
    if (CMDIFrameWnd* frame = GetMainFrame())
        if (CMDIChildWnd* active = frame->MDIGetActive())
            portfolio = dynamic_cast<CDossierDoc*>(active->GetActiveDocument());
    if (portfolio == nullptr) {
        const std::vector<CDocument*> open = portfolios.GetDocuments();
        portfolio = open.empty() ? dynamic_cast<CDossierDoc*>(portfolios.OpenDocumentFile(DocumentSource::None()))
                                 : dynamic_cast<CDossierDoc*>(open.front());
    }
    return portfolio;
}

void CMorvaneApp::MontrerDossier(CDossierDoc& portfolio) {
    if (CView* view = portfolio.GetPremiereVue()) {
        CMDIChildWnd* frame = view->GetParentFrame();
        if (frame != nullptr && frame->mdiArea() != nullptr)
            frame->mdiArea()->setActiveSubWindow(frame);
    }
}

// ---- The study context's operations -----------------------------------------------------------

int CMorvaneApp::ActiverFenetreQuestion(CQuestionEtendue* question) {
    int index = -1;
    if (question == nullptr || !TrouverIndexQuestion(question, index))
        return 0;
    CMultiDocTemplate& questionTemplate = GetTemplate(TemplateKind::kQuestion);
    for (CDocument* document : questionTemplate.GetDocuments()) {
        const auto* form = dynamic_cast<const CQuestionDoc*>(document);
        if (form == nullptr || form->GetQuestion() != question || form->GetViews().empty())
            continue;
        CMDIChildWnd* frame = form->GetViews().front()->GetParentFrame();
        if (frame != nullptr && frame->mdiArea() != nullptr)
            frame->mdiArea()->setActiveSubWindow(frame);
        return 1;
    }
    return questionTemplate.OpenDocumentFile(DocumentSource::FromObject(question)) != nullptr ? 1 : 0;
}

bool CMorvaneApp::EnregistrerTout() {
    return SaveAllModified();
}

void CMorvaneApp::FermerDocuments() {
    // Closing the questionnaire window closes the survey, which comes back here.
    if (m_closingDocuments)
        return;
    m_closingDocuments = true;
    CloseAllDocuments();
    m_closingDocuments = false;
}

void CMorvaneApp::InsererQuestionsRecodage(const CRecodage& recode, bool updateTree) {
    const std::set<const CQuestionEtendue*> before = [this] {
        std::set<const CQuestionEtendue*> known;
        for (const auto& question : questions)
            known.insert(question.get());
        return known;
    }();
    CContexteEtude::InsererQuestionsRecodage(recode, updateTree);
    CQuestionnaireView* tree = GetMainWindow() != nullptr ? GetMainWindow()->GetQuestionnaireView() : nullptr;
    if (!updateTree || tree == nullptr)
        return;
    // In list order, each new question stands right after its source; the tree learns them one
    // by one, so that its numbering matches the list at each step.
    for (std::size_t i = 1; i < questions.size(); ++i) {
        if (before.count(questions[i].get()) == 0)
            tree->InsererQuestionRenumeroter(static_cast<int>(i) - 1);
    }
}

void CMorvaneApp::MettreAJourQuestionsRecodage(const CRecodage& recode, CQuestionEtendue* source) {
    // The recode may be the copy held by one of the questions it updates.
    const std::unique_ptr<CRecodage> kept = CRecodage::Cloner(&recode);
    for (const auto& owned : questions) {
        CQuestionEtendue& question = *owned;
        if (!CarriesRecode(question, *kept))
            continue;
        const CQuestionEtendue* parent = DonnerQuestionParente(&question);
        const CQuestionEtendue* from = parent != nullptr ? parent : source;
        if (from == nullptr)
            continue;
        const int answers = kept->DonnerNombreReponses(*from) * from->answerCount;
        question.answerCount = static_cast<std::int16_t>(answers);
        question.multipleAnswers = answers != 1;
        question.name = question.values.empty() ? kept->label : from->name + " " + kept->label;
        question.SetRecodage(kept.get());
        question.modalitiesLoaded = false;
        question.recodeBuilt = false;
        kept->Appliquer(question, from->hasNoAnswer != 0);
        OublierDonneesQuestion(question);
    }
    RafraichirArbreQuestions();
}

void CMorvaneApp::SupprimerQuestionsRecodage(const CRecodage& recode) {
    // The recode may be the copy held by one of the questions that go.
    const std::unique_ptr<CRecodage> kept = CRecodage::Cloner(&recode);
    for (int index = static_cast<int>(questions.size()) - 1; index >= 0; --index) {
        if (!CarriesRecode(*questions[static_cast<std::size_t>(index)], *kept))
            continue;
        const std::unique_ptr<CQuestionEtendue> removed = RetirerQuestion(index);
        OublierDonneesQuestion(*removed);
    }
    kept->Supprimer();
}

CQuestionEtendue* CMorvaneApp::AjouterQuestionCalculee(std::unique_ptr<CQuestionEtendue> question) {
    const std::size_t before = questions.size();
    CQuestionEtendue* added = CContexteEtude::AjouterQuestionCalculee(std::move(question));
    CMainFrame* frame = GetMainWindow();
    CQuestionnaireView* tree = frame != nullptr ? frame->GetQuestionnaireView() : nullptr;
    if (added == nullptr || tree == nullptr)
        return added;
    const int index = static_cast<int>(questions.size()) - 1;
    int group = index - 1;
    while (group > 0 && questions[static_cast<std::size_t>(group)]->depth != 1)
        --group;
    // The group is new when two questions came in.
    if (questions.size() - before == 2)
        tree->InsererQuestion(group);
    tree->InsererQuestionSous(index, group);
    return added;
}

void CMorvaneApp::SupprimerQuestionCalculee(CQuestionEtendue& question) {
    int index = -1;
    if (!TrouverIndexQuestion(&question, index))
        return;
    // The recoded questions made of it stand right after it, deeper in the tree.
    std::vector<std::unique_ptr<CRecodage>> recodes;
    std::set<std::int32_t> seen;
    for (std::size_t i = static_cast<std::size_t>(index) + 1;
         i < questions.size() && questions[i]->depth > question.depth; ++i) {
        const CRecodage* recode = questions[i]->GetRecodage();
        if (recode != nullptr && seen.insert(recode->id).second)
            recodes.push_back(CRecodage::Cloner(recode));
    }
    for (const auto& recode : recodes)
        SupprimerQuestionsRecodage(*recode);
    if (!TrouverIndexQuestion(&question, index))
        return;
    std::unique_ptr<CQuestionEtendue> removed = RetirerQuestion(index);
    OublierDonneesQuestion(*removed);
    if (const CQuestionCalculee* definition = removed->GetQuestionCalculee()) {
        CDBQuestionnaire database(*this, &GetUserInterface());
        database.SupprimerVariable(*definition);
    }
    deletedQuestions.push_back(std::move(removed));
}

void CMorvaneApp::RafraichirArbreQuestions() {
    CMainFrame* frame = GetMainWindow();
    if (CQuestionnaireView* tree = frame != nullptr ? frame->GetQuestionnaireView() : nullptr)
        tree->Rafraichir();
}

std::unique_ptr<CQuestionEtendue> CMorvaneApp::RetirerQuestion(int index) {
    CMainFrame* frame = GetMainWindow();
    if (CQuestionnaireView* tree = frame != nullptr ? frame->GetQuestionnaireView() : nullptr)
        tree->SupprimerQuestionRenumeroter(index);
    const auto position = questions.begin() + index;
    std::unique_ptr<CQuestionEtendue> removed = std::move(*position);
    questions.erase(position);
    return removed;
}

// ---- Commands ---------------------------------------------------------------------------------

bool CMorvaneApp::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    if (id >= FrameworkCommands::kFileMruFirst && id < FrameworkCommands::kFileMruFirst + RecentFileList::kSize)
        return HandleRecentFile(id - FrameworkCommands::kFileMruFirst, kind, ui);
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CWinApp::HandleOwnCommand(id, kind, ui);
}

void CMorvaneApp::OnAppAbout() {
    CAboutDlg dialog(m_infoVersion, GetMainFrame());
    dialog.exec();
}

void CMorvaneApp::OnFilePrintSetup() {
    CPageSetup::Configurer(GetMainFrame());
}

void CMorvaneApp::OnFileOpen() {
    CFileDialog dialog(CFileDialog::Mode::kOpen, QStringLiteral("qes"),
                       QString::fromStdString(StringTable::Text(StringTable::kFichiersQes)), GetMainFrame());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = dialog.GetPathName();
    if (!path.isEmpty())
        OuvrirQuestionnaire(QDir::toNativeSeparators(path).toStdString());
}

void CMorvaneApp::OnOuvrirDossier() {
    CFileDialog dialog(CFileDialog::Mode::kOpen, QStringLiteral("dos"),
                       QString::fromStdString(StringTable::Text(StringTable::kDossiersDos)), GetMainFrame());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = dialog.GetPathName();
    if (!path.isEmpty())
        GetTemplate(TemplateKind::kDossier).OpenDocumentFile(QDir::toNativeSeparators(path).toStdString());
}

void CMorvaneApp::OnFermerTout() {
    for (CDocument* document : GetTemplate(TemplateKind::kTableau).GetDocuments()) {
        for (CView* view : std::vector<CView*>(document->GetViews())) {
            if (CMDIChildWnd* frame = view->GetParentFrame())
                frame->close();
        }
    }
}

void CMorvaneApp::OnHelpFinder() {
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(kHelpFileName));
    if (QFileInfo::exists(path)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return;
    }
    GetUserInterface().ShowMessage(Message(StringTable::kAideIntrouvable, {path.toStdString()}),
                                   UserInterface::Icon::Information);
}

void CMorvaneApp::OnLangue() {
    CLanguesDlg dialog(languages, currentLanguage, GetMainFrame());
    if (dialog.exec() == QDialog::Accepted)
        currentLanguage = dialog.GetLangueChoisie();
}

bool CMorvaneApp::SaisirEntier(int promptId, int minimum, int maximum, int& value) {
    CSaisieValeurDlg dialog(promptId, minimum, maximum, value, GetMainFrame());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = static_cast<int>(dialog.GetResultat());
    return true;
}

bool CMorvaneApp::SaisirTexte(int promptId, std::string& text, int maximumLength) {
    CSaisieValeurDlg dialog(promptId, text, maximumLength, GetMainFrame());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.GetTexte();
    return true;
}

bool CMorvaneApp::HandleRecentFile(unsigned index, CmdMsg kind, CCmdUI* ui) {
    const std::vector<std::string>& files = m_recentFiles.GetFiles();
    const bool present = index < files.size();
    switch (kind) {
    case CmdMsg::kCommand:
        if (present)
            OuvrirFichierRecent(index);
        return present;
    case CmdMsg::kUpdateCommandUI:
        if (ui != nullptr) {
            ui->Enable(present);
            if (present)
                ui->SetText(QStringLiteral("&%1 %2").arg(index + 1).arg(QString::fromStdString(files[index])));
        }
        return true;
    case CmdMsg::kFindHandler:
        return present;
    }
    return false;
}

void CMorvaneApp::OuvrirFichierRecent(unsigned index) {
    // A copy: the list changes as the file opens.
    const std::string path = m_recentFiles.GetFiles().at(index);
    if (OpenDocumentFile(path) == nullptr && !std::filesystem::exists(path))
        m_recentFiles.Remove(path);
}
