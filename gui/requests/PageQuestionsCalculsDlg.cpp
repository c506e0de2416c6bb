#include "gui/requests/PageQuestionsCalculsDlg.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/requests/CalculationsOfMode.h"
#include "gui/requests/LineStyleButtons.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "tabulation/Traitement.h"

namespace {

// A calculation of a list as a line of the page.
std::unique_ptr<CModaliteEtendue> CalculationLine(CContexteEtude& context, const CCalcul& calculation) {
    auto line = std::make_unique<CModaliteEtendue>(&context);
    line->calculationLine = true;
    line->code = calculation.code;
    line->SetShortCaption(calculation.label);
    line->selected = calculation.kept != 0;
    return line;
}

// The Total of a question counts every individual of its level, whatever they answered: the rows
// of its answers, read through the same cache as its modalities' counts.
std::int32_t BaseOf(CContexteEtude& context, CQuestionEtendue* question) {
    if (question == nullptr)
        return 0;
    CDataAccess access(context, true);
    CMatriceCodes* matrix = nullptr;
    if (!access.LireReponsesFermees(*question, matrix) || matrix == nullptr)
        return 0;
    const std::int32_t rows = matrix->GetNbLignes();
    access.MemoriserReponsesFermees(*question, matrix);
    return rows;
}

} // namespace

CPageQuestionsCalculsDlg::CPageQuestionsCalculsDlg(CContexteEtude& context, CQuestionEtendue* question,
                                                   int totalSide, bool withTotal, QWidget* parent)
    : CPageQuestionsCalculsDlg(context, question, totalSide, withTotal, 0, parent) {}

CPageQuestionsCalculsDlg::CPageQuestionsCalculsDlg(CContexteEtude& context, CQuestionEtendue* question,
                                                   int totalSide, bool withTotal, std::int16_t mode,
                                                   QWidget* parent)
    : QWidget(parent), m_context(context), m_question(question), m_list(new CModaliteListCtrl(this)),
      m_buttons(&LineStyleButtons::AddBeside(*m_list, *this)) {
    BuildLines(totalSide, withTotal, mode);
    m_list->Initialiser(m_lines);
    connect(m_list, &CModaliteListCtrl::changed, this, &CPageQuestionsCalculsDlg::changed);
}

CPageQuestionsCalculsDlg::~CPageQuestionsCalculsDlg() = default;

void CPageQuestionsCalculsDlg::BuildLines(int totalSide, bool withTotal, std::int16_t mode) {
    if (m_question != nullptr)
        m_question->DonnerModalites(m_lines, true);
    if (withTotal)
        if (const CModaliteEtendue* total = m_context.DonnerModaliteTotal(totalSide)) {
            m_lines.push_back(std::make_unique<CModaliteEtendue>(*total));
            m_lines.back()->extraWord = BaseOf(m_context, m_question);
        }
    std::vector<std::unique_ptr<CCalcul>> calculations;
    CalculationsOfMode(m_context, mode, calculations);
    for (const auto& calculation : calculations)
        m_lines.push_back(CalculationLine(m_context, *calculation));
}

void CPageQuestionsCalculsDlg::EcrireTraitement(CTraitement& request, int axis) const {
    Lines ticked;
    for (int line : m_list->TickedLinesInOrder())
        ticked.push_back(std::make_unique<CModaliteEtendue>(*m_lines[static_cast<std::size_t>(line)]));
    request.DefinirModalitesAxe(m_question, ticked, axis);
}

void CPageQuestionsCalculsDlg::LireTraitement(const CTraitement& request, int axis) {
    std::vector<const CLigne*> requestLines;
    for (const auto& line : request.GetModalitesAxe(axis))
        requestLines.push_back(line.get());
    m_list->ShowRequestLines(requestLines, [this](const CLigne& requestLine, int line) {
        const CModaliteEtendue& shown = *m_lines[static_cast<std::size_t>(line)];
        const bool isCalculation = dynamic_cast<const CCalcul*>(&requestLine) != nullptr;
        return shown.calculationLine == isCalculation && shown.code == requestLine.code;
    });
}

bool CPageQuestionsCalculsDlg::Valider() const {
    return m_list->CheckSomethingTicked(m_context.GetUserInterface(), StringTable::kSelectionnerUneModalite);
}

void CPageQuestionsCalculsDlg::GetLignes(Lines& out) const {
    out.clear();
    for (const auto& line : m_lines)
        out.push_back(std::make_unique<CModaliteEtendue>(*line));
}
