#include "variables/ScriptOperations.h"

#include "formula/NumberLists.h"
#include "variables/ElementCompile.h"

#include <utility>
#include <vector>

namespace ScriptOperations {
namespace {

using E = CElementCompile;

CValeurScript EnErreur(CValeurScript value) {
    value.kind = CValeurScript::kErreur;
    return value;
}

CValeurScript EnListe(CValeurScript value, std::vector<double> elements) {
    value.dimension = CValeurScript::kListe;
    value.elements = std::move(elements);
    return value;
}

bool UneListe(const CValeurScript& left, const CValeurScript& right) { return left.EstListe() || right.EstListe(); }

bool Inclus(const CValeurScript& left, const CValeurScript& right) {
    const NumberLists::Lookup lookup(right.Sequence());
    return NumberLists::IsIncluded(left.Sequence(), lookup);
}

bool Egal(const CValeurScript& left, const CValeurScript& right) {
    if (left.EstErreur() || right.EstErreur() || left.kind != right.kind)
        return false;
    if (!UneListe(left, right))
        return left.number == right.number;
    return Inclus(left, right) && Inclus(right, left);
}

bool Inferieur(const CValeurScript& left, const CValeurScript& right, bool orEqual) {
    if (UneListe(left, right))
        return Inclus(left, right);
    return orEqual ? left.number <= right.number : left.number < right.number;
}

} // namespace

CValeurScript Calculer(const CValeurScript& left, int op, const CValeurScript& right) {
    if (left.EstManquant() || right.EstManquant())
        return CValeurScript::Nombre(CValeurScript::kNonReponse);
    CValeurScript result = left;
    if (left.EstErreur() || right.EstErreur())
        return EnErreur(std::move(result));
    const bool lists = UneListe(left, right);
    switch (op) {
    case E::kPlus:
        if (lists) {
            std::vector<double> united;
            if (!NumberLists::Union(left.Sequence(), right.Sequence(), united))
                return EnErreur(std::move(result));
            return EnListe(std::move(result), std::move(united));
        }
        result.number = left.number + right.number;
        return result;
    case E::kMoins:
        if (lists) {
            std::vector<double> rest;
            NumberLists::Difference(left.Sequence(), right.Sequence(), rest);
            return EnListe(std::move(result), std::move(rest));
        }
        result.number = left.number - right.number;
        return result;
    case E::kFois:
        if (lists)
            return EnErreur(std::move(result));
        result.number = left.number * right.number;
        return result;
    case E::kDivise:
        if (lists || right.number == 0.0)
            return EnErreur(std::move(result));
        result.number = left.number / right.number;
        return result;
    default:
        return EnErreur(std::move(result));
    }
}

CValeurScript Comparer(const CValeurScript& left, int comparator, const CValeurScript& right) {
    bool holds = false;
    switch (comparator) {
    case E::kEgal:
        holds = Egal(left, right);
        break;
    case E::kDifferent:
        holds = !Egal(left, right);
        break;
    case E::kInferieurEgal:
        holds = Inferieur(left, right, true);
        break;
    case E::kInferieur:
        holds = Inferieur(left, right, false);
        break;
    case E::kSuperieur:
        holds = Inferieur(right, left, false);
        break;
    case E::kSuperieurEgal:
        holds = Inferieur(right, left, true);
        break;
    default:
        return CValeurScript::Erreur();
    }
    return CValeurScript::Nombre(holds ? 1.0 : 0.0);
}

CValeurScript Combiner(const CValeurScript& left, int op, const CValeurScript& right) {
    if (UneListe(left, right) || left.EstErreur() || right.EstErreur())
        return EnErreur(left);
    const bool a = left.number != 0.0;
    const bool b = right.number != 0.0;
    if (op == E::kEt)
        return CValeurScript::Nombre(a && b ? 1.0 : 0.0);
    if (op == E::kOu)
        return CValeurScript::Nombre(a || b ? 1.0 : 0.0);
    return EnErreur(left);
}

} // namespace ScriptOperations
