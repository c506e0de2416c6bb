#pragma once

#include <cstdint>
#include <string>

#include "app/ContexteEtude.h"
#include "app/Redressement.h"
#include "recodes/ObjectifRedressement.h"

// Registers in the context a weighting that takes the weight question's values as they are (no
// target to rake to), under the id given; answers the id.
inline std::int32_t WeightByQuestion(CContexteEtude& context, const CQuestionEtendue& weight, std::int32_t id) {
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(&weight, code, keys, recode);
    CObjectifRedressement root;
    CRedressement scheme;
    scheme.id = id;
    scheme.name = weight.name;
    scheme.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                        root.EcrireDefinition(context, false, 0);
    context.MettreAJourRedressement(scheme);
    return id;
}
