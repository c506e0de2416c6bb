#include "variables/ValeurScript.h"

#include <utility>

CValeurScript CValeurScript::Nombre(double value) {
    CValeurScript result;
    result.kind = kNombre;
    result.number = value;
    return result;
}

CValeurScript CValeurScript::Erreur(double value) {
    CValeurScript result;
    result.number = value;
    return result;
}

CValeurScript CValeurScript::Liste(std::vector<double> members) {
    CValeurScript result;
    result.kind = kNombre;
    result.dimension = kListe;
    result.elements = std::move(members);
    return result;
}

bool CValeurScript::EstManquant() const {
    return kind == kNombre && dimension == kUnique && (number == kNonReponse || number == kNonInterroge);
}

std::span<const double> CValeurScript::Sequence() const {
    if (dimension == kListe)
        return elements;
    return {&number, 1};
}
