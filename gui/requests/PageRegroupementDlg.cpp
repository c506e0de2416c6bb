#include "gui/requests/PageRegroupementDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "recodes/RecodageModalite.h"
#include "gui/requests/LineStyleButtons.h"
#include "gui/requests/ListCtrlBarres.h"
#include "tabulation/GroupingCounts.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Traitement.h"

#include <string>

namespace {

const CRecodageModalite* GroupingOf(const CQuestionEtendue* question) {
    return question != nullptr ? dynamic_cast<const CRecodageModalite*>(question->GetRecodage()) : nullptr;
}

} // namespace

CPageRegroupementDlg::CPageRegroupementDlg(CContexteEtude& context, CQuestionEtendue* question, QWidget* parent)
    : QWidget(parent), m_context(context), m_question(question), m_list(new CListCtrlBarres(this)),
      m_buttons(&LineStyleButtons::AddBeside(*m_list, *this)) {
    ShowGrouping(GroupingOf(question), context.currentLevel, context.universeCode, context.weightingCode);
    connect(m_list, &CListCtrlBarres::changed, this, &CPageRegroupementDlg::changed);
}

CPageRegroupementDlg::~CPageRegroupementDlg() = default;

void CPageRegroupementDlg::ShowGrouping(const CRecodageModalite* grouping, int level, std::int32_t studyField,
                                        std::int32_t weighting) {
    m_lines.clear();
    m_counts.clear();
    if (grouping != nullptr) {
        for (int i = 0; i < grouping->NodeCount(); ++i)
            m_lines.push_back(std::make_unique<CModaliteGroupe>(*grouping->Node(i)));
        if (m_question != nullptr) {
            // Counts that cannot be read are not shown: the table tells why when it is asked for.
            CMoteurTableau engine(m_context);
            std::string error;
            GroupingCounts::CountNodes(engine, *m_question, *grouping, level, studyField, weighting, m_counts, error);
        }
    }
    m_list->Initialiser(m_lines, m_counts);
}

void CPageRegroupementDlg::EcrireTraitement(CTraitement& request, int axis) const {
    std::vector<std::unique_ptr<CModaliteEtendue>> lines;
    for (int line : m_list->LinesInOrder())
        lines.push_back(std::make_unique<CModaliteGroupe>(
            static_cast<const CModaliteGroupe&>(*m_lines[static_cast<std::size_t>(line)])));
    request.DefinirModalitesAxe(m_question, lines, axis);
    request.DefinirRegroupementAxe(m_question, lines, axis);
}

void CPageRegroupementDlg::LireTraitement(const CTraitement& request, int axis) {
    if (const CRecodageModalite* grouping = request.GetRegroupementAxe(axis))
        ShowGrouping(grouping, request.level, request.studyFieldId, request.weightingId);
}

bool CPageRegroupementDlg::Valider() const {
    return m_list->CheckSomethingTicked(m_context.GetUserInterface(), StringTable::kSelectionnerUneModalite);
}
