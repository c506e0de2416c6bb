#include "gui/requests/RequestDialog.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/WindowSize.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/PageArbreDlg.h"
#include "gui/requests/PageArbreOuvDlg.h"
#include "gui/requests/PageArbreTotalDlg.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/PageGeneraleProfilsDlg.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/PageRegroupementDlg.h"
#include "gui/requests/RequestDialogKind.h"
#include "tabulation/Traitement.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

bool AnyMissing(const std::vector<CQuestionEtendue*>& questions) {
    return std::any_of(questions.begin(), questions.end(),
                       [](const CQuestionEtendue* q) { return q == nullptr; });
}

} // namespace

std::unique_ptr<RequestDialog>
RequestDialog::PourNouvelleDemande(CContexteEtude& context, std::int16_t type,
                                   const std::vector<CQuestionEtendue*>& questions, QWidget* parent) {
    const RequestDialogKind* kind = FindRequestDialogKind(type);
    if (kind == nullptr || static_cast<int>(questions.size()) != kind->questionCount || AnyMissing(questions))
        return nullptr;
    std::unique_ptr<RequestDialog> dialog(new RequestDialog(context, *kind, type, questions, parent));
    dialog->CreatePages();
    return dialog;
}

std::unique_ptr<RequestDialog>
RequestDialog::PourDemandeExistante(CContexteEtude& context, const CTraitement& existing, QWidget* parent) {
    const RequestDialogKind* kind = FindRequestDialogKind(existing.type);
    if (kind == nullptr || existing.EstInvalide())
        return nullptr;
    std::vector<CQuestionEtendue*> questions;
    for (int axis = 0; axis < kind->questionCount; ++axis)
        questions.push_back(existing.GetQuestionAxe(axis));
    if (AnyMissing(questions))
        return nullptr;
    std::unique_ptr<RequestDialog> dialog(
        new RequestDialog(context, *kind, existing.type, questions, parent));
    dialog->CreatePages();
    dialog->ReadRequest(existing);
    return dialog;
}

RequestDialog::RequestDialog(CContexteEtude& context, const RequestDialogKind& kind, std::int16_t type,
                             std::vector<CQuestionEtendue*> questions, QWidget* parent)
    : QDialog(parent), m_context(context), m_kind(kind), m_type(type), m_questions(std::move(questions)) {
    setWindowTitle(QString::fromUtf8(kind.caption));
    setObjectName(QString::fromLatin1(kind.className));
}

RequestDialog::~RequestDialog() = default;

std::unique_ptr<CTraitement> RequestDialog::TakeTraitement() {
    return std::move(m_request);
}

CPageQuestionsCalculsDlg* RequestDialog::GetPageLignes(int question) const {
    for (const auto& [index, page] : m_rowsPages)
        if (index == question)
            return page;
    return nullptr;
}

ProfilePage* RequestDialog::GetPageProfil(int axis) const {
    for (const auto& [written, page] : m_profilePages)
        if (written == axis)
            return page;
    return nullptr;
}

CPageCalculsDlg* RequestDialog::GetPageCalculs(int side) const {
    for (CPageCalculsDlg* page : m_calculationPages)
        if (page->GetSide() == side)
            return page;
    return nullptr;
}

void RequestDialog::CreatePages() {
    new QVBoxLayout(this);
    if (m_kind.OnTabs()) {
        m_tabs = new QTabWidget(this);
        layout()->addWidget(m_tabs);
    }
    for (const RequestPage& page : m_kind.pages) {
        switch (page.kind) {
        case RequestPage::kGenerale:
            AddGeneralPage(page.templateId);
            break;
        case RequestPage::kLignes:
            AddRowsPage(page.question, page.mode);
            break;
        case RequestPage::kCalculs:
            AddCalculationsPage(page);
            break;
        case RequestPage::kProfil:
        case RequestPage::kProfilQuestions:
        case RequestPage::kProfilOuvertes:
            AddProfilePage(page);
            break;
        case RequestPage::kStyle:
            AddStylePage();
            break;
        case RequestPage::kRegroupement:
            AddGroupingPage(page.question);
            break;
        }
    }
    AddButtons();
    // Its lists whole, on the screen.
    WindowSize::FitContentsToScreen(*this);
}

void RequestDialog::Place(QWidget* page) {
    if (m_tabs == nullptr) {
        layout()->addWidget(page);
        return;
    }
    const char* caption = m_kind.pages.at(static_cast<std::size_t>(m_tabs->count())).tab;
    m_tabs->addTab(page, QString::fromUtf8(caption != nullptr ? caption : ""));
}

void RequestDialog::AddGeneralPage(int templateId) {
    m_general =
        new CPageGeneraleDlg(m_context, templateId, m_presentation, TitleFromQuestions(), m_level, this);
    Place(m_general);
    CPageGeneraleDlg* page = m_general;
    m_parts.push_back({{},
                       [page](const CTraitement& request) { page->LireTraitement(request); },
                       [page](CTraitement& request) { page->EcrireTraitement(request); }});
}

// The page of the dialog's question of index `question` writes the axis of the same index; the
// column question's page offers the columns' Total, so that the Total chosen there is the one
// that the frame keeps for the next column question.
void RequestDialog::AddRowsPage(int question, std::int16_t mode) {
    auto* page = new CPageQuestionsCalculsDlg(m_context, m_questions.at(static_cast<std::size_t>(question)),
                                              question, true, mode, this);
    Place(page);
    m_rowsPages.emplace_back(question, page);
    m_parts.push_back(
        {[page] { return page->Valider(); },
         [page, question](const CTraitement& request) { page->LireTraitement(request, question); },
         [page, question](CTraitement& request) { page->EcrireTraitement(request, question); }});
}

void RequestDialog::AddCalculationsPage(const RequestPage& definition) {
    auto* page = new CPageCalculsDlg(m_context, definition.side, definition.mode, this);
    Place(page);
    m_calculationPages.push_back(page);
    std::function<bool()> check;
    if (definition.checked)
        check = [page] { return page->Valider(); };
    m_parts.push_back({std::move(check),
                       [page](const CTraitement& request) { page->LireTraitement(request); },
                       [page](CTraitement& request) { page->EcrireTraitement(request); }});
}

void RequestDialog::AddGroupingPage(int question) {
    auto* page = new CPageRegroupementDlg(m_context, m_questions.at(static_cast<std::size_t>(question)), this);
    Place(page);
    m_grouping = page;
    m_parts.push_back(
        {[page] { return page->Valider(); },
         [page, question](const CTraitement& request) { page->LireTraitement(request, question); },
         [page, question](CTraitement& request) { page->EcrireTraitement(request, question); }});
}

void RequestDialog::AddProfilePage(const RequestPage& definition) {
    ProfilePage* page = nullptr;
    switch (definition.kind) {
    case RequestPage::kProfil: {
        auto* closed = new CPageArbreTotalDlg(m_context, m_level, definition.totalShown, definition.side == 0, this);
        closed->SetMemeNombreModalites(definition.sameNumber);
        page = closed;
        break;
    }
    case RequestPage::kProfilQuestions:
        page = new CPageArbreDlg(m_context, m_level, definition.side == 0, this);
        break;
    default:
        page = new CPageArbreOuvDlg(m_context, m_level, this);
        break;
    }
    Place(page);
    const int axis = definition.side;
    m_profilePages.emplace_back(axis, page);
    std::function<bool()> check;
    if (definition.checked)
        check = [page] { return page->Valider(); };
    m_parts.push_back({std::move(check),
                       [page, axis](const CTraitement& request) { page->LireTraitement(request, axis); },
                       [page, axis](CTraitement& request) { page->EcrireTraitement(request, axis); }});
}

// The page of the style checks that it has an operation, then settles a changed style (the
// analyst may stay on it to think again).
void RequestDialog::AddStylePage() {
    m_style = new CPageGeneraleProfilsDlg(m_context, m_presentation, TitleFromQuestions(), m_level, this);
    Place(m_style);
    CPageGeneraleProfilsDlg* page = m_style;
    m_parts.push_back({[page] { return page->Valider() && page->QuitterStyle(); },
                       [page](const CTraitement& request) { page->LireTraitement(request); },
                       [page](CTraitement& request) { page->EcrireTraitement(request); }});
}

bool RequestDialog::StatisticsAllowed() const {
    if (!m_kind.statisticsOnNumericProfile)
        return true;
    const CPageCalculsDlg* statistics = GetPageCalculs(1);
    const auto* profile = dynamic_cast<const CPageArbreTotalDlg*>(GetPageProfil(0));
    if (statistics == nullptr || profile == nullptr || statistics->GetList().TickedLinesInOrder().empty() ||
        profile->EstToutNumerique())
        return true;
    m_context.GetUserInterface().ShowMessage(Message(StringTable::kStatistiquesNonNumeriques),
                                             UserInterface::Icon::Warning);
    return false;
}

void RequestDialog::AddButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_ok->setText(QStringLiteral("&OK"));
    m_cancel->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &RequestDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RequestDialog::reject);
    layout()->addWidget(buttons);
}

void RequestDialog::ReadRequest(const CTraitement& existing) {
    for (const PagePart& part : m_parts)
        part.read(existing);
}

std::string RequestDialog::TitleFromQuestions() const {
    if (m_kind.fixedTitle != 0)
        return StringTable::Text(m_kind.fixedTitle);
    std::string title;
    for (const CQuestionEtendue* question : m_questions) {
        if (!title.empty())
            title += " x ";
        title += question->GetCaption();
    }
    return title;
}

void RequestDialog::accept() {
    for (std::size_t i = 0; i < m_parts.size(); ++i)
        if (m_parts[i].check && !m_parts[i].check()) {
            // A refusal shows the page that refused: the tabs are the pages, in order.
            if (m_tabs != nullptr)
                m_tabs->setCurrentIndex(static_cast<int>(i));
            return;
        }
    if (!StatisticsAllowed())
        return;
    m_request = BuildRequest();
    QDialog::accept();
}

std::unique_ptr<CTraitement> RequestDialog::BuildRequest() const {
    auto request = std::make_unique<CTraitement>();
    request->type = m_type;
    request->SetTypeAxe(CTraitement::kLignes, m_kind.rowKind);
    request->SetTypeAxe(CTraitement::kColonnes, m_kind.columnKind);
    if (m_kind.plainQuestion >= 0)
        request->SetQuestionAxe(m_questions.at(static_cast<std::size_t>(m_kind.plainQuestion)),
                                m_kind.plainQuestion);
    for (const PagePart& part : m_parts)
        part.write(*request);
    if (m_kind.AlwaysInWindow())
        request->SetVersDossier(false);
    return request;
}
