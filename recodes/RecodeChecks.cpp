#include "recodes/RecodeChecks.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

namespace RecodeChecks {

std::optional<Fault> CheckEntries(std::span<const double> entries, int modalityCount) {
    if (entries.empty())
        return Fault{Message(StringTable::kAuMoinsUneBorne), -1};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool equalToPrevious = i > 0 && entries[i] == entries[i - 1];
        if (equalToPrevious || entries[i] == CVecteurDouble::kNoAnswer)
            return Fault{Message(StringTable::kBornesDifferentes), static_cast<int>(i)};
    }
    if (modalityCount <= 0)
        return Fault{Message(StringTable::kAuMoinsUnIntervalle), -1};
    return std::nullopt;
}

std::optional<Fault> CheckSubTotals(std::span<const Node> nodes) {
    if (nodes.empty())
        return Fault{Message(StringTable::kAucuneModaliteSelectionnee), -1};
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Node& node = nodes[i];
        bool hasChildren = false;
        bool holdsModality = false;
        for (std::size_t j = i + 1; j < nodes.size() && nodes[j].level > node.level; ++j) {
            hasChildren = true;
            holdsModality = holdsModality || nodes[j].code != 0;
        }
        if (node.code != 0 && hasChildren)
            return Fault{Message(StringTable::kModaliteSansSousItems), static_cast<int>(i)};
        if (node.code == 0 && !holdsModality)
            return Fault{Message(StringTable::kSousTotalSansModalite), static_cast<int>(i)};
    }
    return std::nullopt;
}

bool LabelInUse(const CContexteEtude& context, const std::string& label, const CRecodage& recode) {
    const auto isOwnQuestion = [&recode](const CQuestionEtendue& q) {
        return recode.id != 0 && q.code == recode.sourceQuestionCode && q.recodeId == recode.id;
    };
    for (const auto& source : context.questions) {
        if (source->code != recode.sourceQuestionCode || source->recodeId != recode.sourceRecodeCode)
            continue;
        const std::string candidate = source->values.empty() ? label : source->name + " " + label;
        for (const auto& other : context.questions)
            if (other->name == candidate && !isOwnQuestion(*other))
                return true;
    }
    return false;
}

std::optional<Message> CheckLabel(const CContexteEtude& context, const std::string& label, const CRecodage& recode) {
    if (label.empty())
        return Message(StringTable::kEntrerUnLibelle);
    if (LabelInUse(context, label, recode))
        return Message(StringTable::kLibelleDejaUtilise);
    return std::nullopt;
}

} // namespace RecodeChecks
