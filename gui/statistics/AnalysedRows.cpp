#include "gui/statistics/AnalysedRows.h"

#include "app/ContexteEtude.h"

void AnalysedRows::Vider() {
    m_interviews.clear();
    m_columnLabels.clear();
}

std::string AnalysedRows::LibelleLigne(CContexteEtude* context, std::int32_t index) const {
    if (context == nullptr || index < 0 || static_cast<std::size_t>(index) >= m_interviews.size())
        return {};
    std::string label;
    context->DonnerLibelleInterview(m_interviews[static_cast<std::size_t>(index)], label);
    return label;
}

std::string AnalysedRows::LibelleColonne(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_columnLabels.size())
        return {};
    return m_columnLabels[static_cast<std::size_t>(index)];
}
