#include "app/Calcul.h"

#include <utility>

CCalcul::CCalcul(std::int32_t calculationCode, std::string text, bool selected) : CLigne(std::move(text)) {
    code = calculationCode;
    kept = selected ? 1 : 0;
}
