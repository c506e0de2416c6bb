#include "formula/ValeurFormule.h"

#include "formula/FormulaDate.h"

#include <charconv>
#include <utility>

void CValeurFormule::DefinirNombre(double value) {
    valueType = kTypeNombre;
    dimension = kScalaire;
    number = value;
    elements.clear();
}

void CValeurFormule::DefinirDate(double serial) {
    valueType = kTypeDate;
    dimension = kScalaire;
    number = serial;
    elements.clear();
}

void CValeurFormule::DefinirChaine(std::string value) {
    valueType = kTypeChaine;
    dimension = kScalaire;
    string = std::move(value);
    elements.clear();
}

void CValeurFormule::DefinirErreur() {
    valueType = kTypeErreur;
    dimension = kScalaire;
    number = 0.0;
    elements.clear();
}

void CValeurFormule::DefinirListe(std::span<const double> numbers) {
    ViderListe().assign(numbers.begin(), numbers.end());
}

std::vector<double>& CValeurFormule::ViderListe() {
    valueType = kTypeNombre;
    dimension = kDimensionListe;
    elements.clear();
    return elements;
}

const double* CValeurFormule::ElementListe(int key) const {
    return key >= 0 && static_cast<std::size_t>(key) < elements.size()
               ? &elements[static_cast<std::size_t>(key)]
               : nullptr;
}

std::span<const double> CValeurFormule::Nombres() const {
    if (dimension == kScalaire)
        return {&number, 1};
    return elements;
}

void CValeurFormule::DonnerNombres(std::vector<double>& numbers) const {
    const std::span<const double> held = Nombres();
    numbers.assign(held.begin(), held.end());
}

void CValeurFormule::CollecterNombres(std::vector<double>& numbers) const {
    if (dimension != kScalaire)
        numbers.insert(numbers.end(), elements.begin(), elements.end());
    else if (valueType == kTypeNombre)
        numbers.push_back(number);
}

std::string CValeurFormule::DonnerTexte() const {
    std::string out;
    AjouterTexte(out);
    return out;
}

void CValeurFormule::AjouterNombre(std::string& out, double value) {
    // "%g": six significant digits, as printf writes them in the C locale.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    out.append(buffer, written.ptr);
}

void CValeurFormule::AjouterTexte(std::string& out) const {
    if (dimension != kScalaire) {
        out += '{';
        for (double element : elements) {
            AjouterNombre(out, element);
            out += ' ';
        }
        out += '}';
        return;
    }
    switch (valueType) {
    case kTypeNombre:
        AjouterNombre(out, number);
        break;
    case kTypeChaine:
        out += string;
        break;
    case kTypeDate:
        FormulaDate::AppendText(out, number);
        break;
    default:
        break;
    }
}

void CValeurFormule::CopierValeur(const CValeurFormule& source) {
    valueType = source.valueType;
    dimension = source.dimension;
    number = source.number;
    string = source.string;
    elements = source.elements;
}
