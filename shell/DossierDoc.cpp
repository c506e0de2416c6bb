#include "shell/DossierDoc.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/DocumentSource.h"
#include "framework/FileDialog.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "portfolio/ElementDossier.h"
#include "portfolio/ExportsDossier.h"
#include "portfolio/PortfolioArchive.h"
#include "portfolio/RecalculDossier.h"
#include "shell/DossierView.h"
#include "shell/MorvaneApp.h"
#include "tabulation/TableauBase.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

constexpr const char* kExtensionDossier = "dos";

// The survey whose tables a portfolio computes; null when none is registered.
CContexteEtude* Contexte() {
    return GetContexte();
}

std::string QuestionnaireOuvert() {
    const CContexteEtude* context = Contexte();
    return context != nullptr ? context->questionnairePath : std::string();
}

QString Filtre(int filterId) {
    return QString::fromStdString(StringTable::Text(filterId));
}

QString Extension(int filterId) {
    return Filtre(filterId).section(QLatin1Char('|'), 1, 1).section(QLatin1Char('.'), -1);
}

} // namespace

const CommandEntry<CDossierDoc> CDossierDoc::kCommandMap[] = {
    {kInserer, &CDossierDoc::OnInserer, &CDossierDoc::OnUpdateAlways},
    {FrameworkCommands::kFileSave, &CDossierDoc::OnFileSave, &CDossierDoc::OnUpdateAlways},
    {FrameworkCommands::kFileSaveAs, &CDossierDoc::OnFileSaveAs, &CDossierDoc::OnUpdateAlways},
    {kExporterWord, &CDossierDoc::OnExporterWord, &CDossierDoc::OnUpdateAlways},
    {kExporterExcel, &CDossierDoc::OnExporterExcel, &CDossierDoc::OnUpdateAlways},
    {kExporterAscii, &CDossierDoc::OnExporterAscii, &CDossierDoc::OnUpdateAlways},
};

CDossierDoc::CDossierDoc() = default;

CDossierDoc::~CDossierDoc() = default;

bool CDossierDoc::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CDocument::HandleOwnCommand(id, kind, ui);
}

void CDossierDoc::OnUpdateAlways(CCmdUI& ui) {
    ui.Enable(true);
}

// ---- Opening, closing, saving -----------------------------------------------------------------

bool CDossierDoc::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDossierDoc::OnOpenDocument(const DocumentSource& source) {
    if (!source.IsPath())
        return source.IsNone() && OnNewDocument();
    CContexteEtude* context = Contexte();
    if (context == nullptr)
        return false;
    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    Message error;
    {
        WaitCursor wait(context->GetUserInterface());
        if (!PortfolioArchive::Charger(source.GetPath(), read, version, error)) {
            context->GetUserInterface().ShowMessage(error, UserInterface::Icon::Error);
            return false;
        }
    }
    DeleteContents();
    RecalculDossier report(*context);
    {
        WaitCursor wait(context->GetUserInterface());
        for (const auto& element : read)
            report.RecalculerElement(*element);
    }
    m_elements = std::move(read);
    SetModifiedFlag(false);
    if (!report.AucunEchec())
        context->GetUserInterface().ShowMessage(report.DonnerMessage(), UserInterface::Icon::Warning);
    return true;
}

void CDossierDoc::DeleteContents() {
    if (CMorvaneApp* application = GetMorvaneApp())
        application->FermerFenetresLiees(this);
    m_elements.clear();
}

bool CDossierDoc::SaveModified() {
    if (!IsModified())
        return true;
    CContexteEtude* context = Contexte();
    if (context == nullptr)
        return true;
    const Message question(StringTable::kEnregistrerModificationsDossier, {GetTitle().toStdString()});
    switch (context->GetUserInterface().AskYesNoCancel(question)) {
    case UserInterface::Reply::Yes:
        OnFileSave();
        return !IsModified();
    case UserInterface::Reply::No:
        return true;
    case UserInterface::Reply::Cancel:
        break;
    }
    return false;
}

bool CDossierDoc::OnSaveDocument(const std::string& path) {
    CContexteEtude* context = Contexte();
    Message error;
    bool saved = false;
    {
        std::unique_ptr<WaitCursor> wait;
        if (context != nullptr)
            wait = std::make_unique<WaitCursor>(context->GetUserInterface());
        saved = PortfolioArchive::Enregistrer(path, ElementsDeLArbre(), error);
    }
    if (!saved) {
        Signaler(error);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDossierDoc::OnFileSave() {
    if (GetPathName().empty()) {
        OnFileSaveAs();
        return;
    }
    OnSaveDocument(GetPathName());
}

void CDossierDoc::OnFileSaveAs() {
    CFileDialog dialog(CFileDialog::Mode::kSave, QString::fromUtf8(kExtensionDossier),
                       Filtre(StringTable::kDossiersDos), GetPremiereVue());
    dialog.ProposerNom(GetTitle());
    if (dialog.exec() != QDialog::Accepted || dialog.GetPathName().isEmpty())
        return;
    const std::string path = QDir::toNativeSeparators(dialog.GetPathName()).toStdString();
    if (OnSaveDocument(path))
        SetPathName(path);
}

// ---- Elements ---------------------------------------------------------------------------------

CElementDossier* CDossierDoc::GetElement(int index) const {
    if (index < 0 || index >= GetNbreElements())
        return nullptr;
    return m_elements[static_cast<std::size_t>(index)].get();
}

int CDossierDoc::Ajouter(std::unique_ptr<CElementDossier> element) {
    m_elements.push_back(std::move(element));
    return GetNbreElements() - 1;
}

void CDossierDoc::AjouterElement(const CTableauBase& table) {
    const int index = Ajouter(std::make_unique<CElementDossier>(table));
    if (CDossierView* view = GetPremiereVue())
        view->InsererElementArbre(index);
    SetModifiedFlag(true);
}

void CDossierDoc::AjouterElement(const CMapping& mapping) {
    const int index = Ajouter(std::make_unique<CElementDossier>(mapping));
    if (CDossierView* view = GetPremiereVue())
        view->InsererElementArbre(index);
    SetModifiedFlag(true);
}

void CDossierDoc::OnInserer() {
    ++m_chapterCounter;
    const std::string name =
        StringTable::Format(Message(StringTable::kNomChapitre, {std::to_string(m_chapterCounter)}));
    const int index = Ajouter(std::make_unique<CElementDossier>(name));
    if (CDossierView* view = GetPremiereVue())
        view->InsererElementArbre(index);
    SetModifiedFlag(true);
}

int CDossierDoc::InsererElements(std::vector<std::unique_ptr<CElementDossier>> elements,
                                 RecalculDossier& report) {
    const int first = GetNbreElements();
    for (auto& element : elements) {
        report.RecalculerElement(*element);
        Ajouter(std::move(element));
    }
    return first;
}

void CDossierDoc::RecalculerElement(int index, RecalculDossier& report) {
    if (CElementDossier* element = GetElement(index))
        report.RecalculerElement(*element);
}

CDossierView* CDossierDoc::GetPremiereVue() const {
    for (CView* view : GetViews())
        if (auto* portfolio = dynamic_cast<CDossierView*>(view))
            return portfolio;
    return nullptr;
}

std::vector<const CElementDossier*> CDossierDoc::ElementsDeLArbre() const {
    if (CDossierView* view = GetPremiereVue())
        return view->CollecterElements();
    std::vector<const CElementDossier*> all;
    for (const auto& element : m_elements)
        all.push_back(element.get());
    return all;
}

// ---- Exports ----------------------------------------------------------------------------------

void CDossierDoc::Signaler(const Message& message) const {
    if (CContexteEtude* context = Contexte())
        context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

std::optional<std::string> CDossierDoc::DemanderFichier(int filterId) const {
    CFileDialog dialog(CFileDialog::Mode::kSave, Extension(filterId), Filtre(filterId), GetPremiereVue());
    dialog.ProposerNom(GetTitle());
    if (dialog.exec() != QDialog::Accepted || dialog.GetPathName().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.GetPathName()).toStdString();
}

bool CDossierDoc::Exporter(const std::string& path, ExportFunction exporter) {
    Message error;
    bool done = false;
    {
        std::unique_ptr<WaitCursor> wait;
        if (CContexteEtude* context = Contexte())
            wait = std::make_unique<WaitCursor>(context->GetUserInterface());
        done = exporter(ElementsDeLArbre(), path, QuestionnaireOuvert(), error);
    }
    if (!done)
        Signaler(error);
    return done;
}

bool CDossierDoc::ExporterWord(const std::string& path) {
    return Exporter(path, &ExportsDossier::ExporterWord);
}

// The workbook is a file: the desktop opens it in the user's spreadsheet program, once the analyst
// has read which charts it leaves out (a spreadsheet program in front would hide the message).
bool CDossierDoc::ExporterExcel(const std::string& path) {
    if (!Exporter(path, &ExportsDossier::ExporterClasseur))
        return false;
    if (const std::optional<Message> leftOut = ExportsDossier::ElementsHorsClasseur(ElementsDeLArbre()))
        if (CContexteEtude* context = Contexte())
            context->GetUserInterface().ShowMessage(*leftOut, UserInterface::Icon::Information);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    return true;
}

bool CDossierDoc::ExporterAscii(const std::string& path) {
    return Exporter(path, &ExportsDossier::ExporterAscii);
}

void CDossierDoc::OnExporterWord() {
    if (const std::optional<std::string> path = DemanderFichier(StringTable::kFichiersRtf))
        ExporterWord(*path);
}

void CDossierDoc::OnExporterExcel() {
    if (const std::optional<std::string> path = DemanderFichier(StringTable::kClasseursExcel))
        ExporterExcel(*path);
}

void CDossierDoc::OnExporterAscii() {
    if (const std::optional<std::string> path = DemanderFichier(StringTable::kFichiersTextes))
        ExporterAscii(*path);
}
