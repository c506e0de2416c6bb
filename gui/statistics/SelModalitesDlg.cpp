#include "gui/statistics/SelModalitesDlg.h"

#include "app/ModaliteEtendue.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/SelectionButtons.h"
#include "tabulation/Traitement.h"

#include <QVBoxLayout>

namespace {
constexpr int kPageMargin = 10;
} // namespace

CSelModalitesDlg::CSelModalitesDlg(CContexteEtude& context, CQuestionEtendue& question, Selection& selection,
                                   QWidget* parent)
    : QDialog(parent), m_selection(selection),
      m_page(new CPageQuestionsCalculsDlg(context, &question, 0, false, this)) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Sélection des modalités"));
    // The page shows the selection as the rows of a request.
    CTraitement shown;
    shown.DefinirModalitesAxe(&question, selection, CTraitement::kLignes);
    m_page->LireTraitement(shown, CTraitement::kLignes);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(m_page, 1);
    AddOkCancelButtons(*this, *layout);
}

CSelModalitesDlg::~CSelModalitesDlg() = default;

void CSelModalitesDlg::accept() {
    if (!m_page->Valider())
        return;
    CPageQuestionsCalculsDlg::Lines lines;
    m_page->GetLignes(lines);
    Selection chosen;
    for (int line : m_page->GetList().TickedLinesInOrder())
        chosen.push_back(std::make_unique<CModaliteEtendue>(*lines.at(static_cast<std::size_t>(line))));
    m_selection = std::move(chosen);
    QDialog::accept();
}
