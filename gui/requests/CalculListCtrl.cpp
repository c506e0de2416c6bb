#include "gui/requests/CalculListCtrl.h"

#include "app/Calcul.h"

#include <QHeaderView>

CCalculListCtrl::CCalculListCtrl(QWidget* parent) : LineListWidget(parent) {
    header()->setStretchLastSection(true);
}

void CCalculListCtrl::Initialiser(const QString& title, Calculs& calculations) {
    setHeaderLabels({title});
    m_calculations = &calculations;
    FillRows();
}

int CCalculListCtrl::LineCount() const {
    return m_calculations != nullptr ? static_cast<int>(m_calculations->size()) : 0;
}

bool CCalculListCtrl::IsTicked(int line) const {
    return Line(line).kept != 0;
}

void CCalculListCtrl::SetTicked(int line, bool ticked) {
    Line(line).kept = ticked ? 1 : 0;
}

LineListWidget::Options CCalculListCtrl::GetOptions(int line) const {
    const CCalcul& calculation = Line(line);
    return {calculation.bold != 0, calculation.italic != 0, calculation.underline != 0,
            calculation.shadow != 0};
}

void CCalculListCtrl::SetOptions(int line, const Options& options) {
    CCalcul& calculation = Line(line);
    calculation.bold = options[kBold] ? 1 : 0;
    calculation.italic = options[kItalic] ? 1 : 0;
    calculation.underline = options[kUnderline] ? 1 : 0;
    calculation.shadow = options[kShadow] ? 1 : 0;
}

std::string CCalculListCtrl::GetLabel(int line) const {
    return Line(line).label;
}

void CCalculListCtrl::SetLabel(int line, const std::string& label) {
    Line(line).label = label;
}

CCalcul& CCalculListCtrl::Line(int line) const {
    return *m_calculations->at(static_cast<std::size_t>(line));
}
