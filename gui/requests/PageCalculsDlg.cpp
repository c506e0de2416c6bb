#include "gui/requests/PageCalculsDlg.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/CalculationsOfMode.h"
#include "gui/requests/LineStyleButtons.h"
#include "tabulation/Traitement.h"

CPageCalculsDlg::CPageCalculsDlg(CContexteEtude& context, int side, std::int16_t mode, QWidget* parent)
    : QWidget(parent), m_context(context), m_side(side), m_list(new CCalculListCtrl(this)),
      m_buttons(&LineStyleButtons::AddBeside(*m_list, *this)) {
    CalculationsOfMode(m_context, mode, m_calculations);
    m_list->Initialiser(QStringLiteral("Traitements"), m_calculations);
    connect(m_list, &CCalculListCtrl::changed, this, &CPageCalculsDlg::changed);
}

CPageCalculsDlg::~CPageCalculsDlg() = default;

const CPageCalculsDlg::Calculs& CPageCalculsDlg::RequestCalculations(const CTraitement& request) const {
    return m_side == CTraitement::kColonnes ? request.GetCalculsColonnes() : request.GetCalculsLignes();
}

void CPageCalculsDlg::LireTraitement(const CTraitement& request) {
    std::vector<const CLigne*> requestLines;
    for (const auto& calculation : RequestCalculations(request))
        requestLines.push_back(calculation.get());
    m_list->ShowRequestLines(requestLines, [this](const CLigne& requestLine, int line) {
        return m_calculations[static_cast<std::size_t>(line)]->code == requestLine.code;
    });
}

void CPageCalculsDlg::EcrireTraitement(CTraitement& request) const {
    Calculs kept;
    for (int line : m_list->TickedLinesInOrder())
        kept.push_back(std::make_unique<CCalcul>(*m_calculations[static_cast<std::size_t>(line)]));
    if (m_side == CTraitement::kColonnes)
        request.SetCalculsColonnes(kept);
    else
        request.SetCalculsLignes(kept);
}

bool CPageCalculsDlg::Valider() const {
    return m_list->CheckSomethingTicked(m_context.GetUserInterface(), StringTable::kSelectionnerUnTraitement);
}
