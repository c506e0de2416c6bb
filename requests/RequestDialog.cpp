#include "requests/RequestDialog.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "framework/WindowSize.h"
#include "requests/PageCalculsDlg.h"
#include "requests/PageGeneraleDlg.h"
#include "requests/PageQuestionsCalculsDlg.h"
#include "requests/PageRegroupementDlg.h"
#include "requests/RequestDialogKind.h"
#include "tabulation/Traitement.h"

#include <QDialogButtonBox>
#include <QPushButton>
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

CPageCalculsDlg* RequestDialog::GetPageCalculs(int side) const {
    for (CPageCalculsDlg* page : m_calculationPages)
        if (page->GetSide() == side)
            return page;
    return nullptr;
}

void RequestDialog::CreatePages() {
    new QVBoxLayout(this);
    for (const RequestPage& page : m_kind.pages) {
        switch (page.kind) {
        case RequestPage::kGenerale:
            AddGeneralPage(page.templateId);
            break;
        case RequestPage::kLignes:
            AddRowsPage(page.question, page.mode);
            break;
        case RequestPage::kCalculs:
            AddCalculationsPage(page.side, page.mode);
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

void RequestDialog::AddGeneralPage(int templateId) {
    m_general =
        new CPageGeneraleDlg(m_context, templateId, m_presentation, TitleFromQuestions(), m_level, this);
    layout()->addWidget(m_general);
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
    layout()->addWidget(page);
    m_rowsPages.emplace_back(question, page);
    m_parts.push_back(
        {[page] { return page->Valider(); },
         [page, question](const CTraitement& request) { page->LireTraitement(request, question); },
         [page, question](CTraitement& request) { page->EcrireTraitement(request, question); }});
}

void RequestDialog::AddCalculationsPage(int side, std::int16_t mode) {
    auto* page = new CPageCalculsDlg(m_context, side, mode, this);
    layout()->addWidget(page);
    m_calculationPages.push_back(page);
    m_parts.push_back({[page] { return page->Valider(); },
                       [page](const CTraitement& request) { page->LireTraitement(request); },
                       [page](CTraitement& request) { page->EcrireTraitement(request); }});
}

void RequestDialog::AddGroupingPage(int question) {
    auto* page = new CPageRegroupementDlg(m_context, m_questions.at(static_cast<std::size_t>(question)), this);
    layout()->addWidget(page);
    m_grouping = page;
    m_parts.push_back(
        {[page] { return page->Valider(); },
         [page, question](const CTraitement& request) { page->LireTraitement(request, question); },
         [page, question](CTraitement& request) { page->EcrireTraitement(request, question); }});
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
    std::string title;
    for (const CQuestionEtendue* question : m_questions) {
        if (!title.empty())
            title += " x ";
        title += question->GetCaption();
    }
    return title;
}

void RequestDialog::accept() {
    for (const PagePart& part : m_parts)
        if (part.check && !part.check())
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
