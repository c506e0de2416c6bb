#include "variables/ScriptKeywords.h"

#include "variables/ElementCompile.h"

#include <array>
#include <cmath>

namespace ScriptKeywords {
namespace {

using E = CElementCompile;
constexpr double kNR = CValeurScript::kNonReponse;

double Cosinus(double x) { return std::cos(x); }
double Sinus(double x) { return std::sin(x); }
double Exponentielle(double x) { return std::exp(x); }
double Log10(double x) { return x > 0.0 ? std::log10(x) : kNR; }
double Ln(double x) { return x > 0.0 ? std::log(x) : kNR; }
double Racine(double x) { return x >= 0.0 ? std::sqrt(x) : kNR; }
double Identite(double x) { return x; }
double Tronque(double x) { return std::trunc(x); }

constexpr std::array kMots{
    ScriptKeyword{"VRAI", E::kNombre, 1.0},
    ScriptKeyword{"TRUE", E::kNombre, 1.0},
    ScriptKeyword{"THEN", E::kAlors, 0.0},
    ScriptKeyword{"TAILLE", E::kFonction, kTaille},
    ScriptKeyword{"SQR", E::kFonction, kRacine},
    ScriptKeyword{"SIZE", E::kFonction, kTaille},
    ScriptKeyword{"SINONSI", E::kSinonSi, 0.0},
    ScriptKeyword{"SINON", E::kSinon, 0.0},
    ScriptKeyword{"SIN", E::kFonction, kSin},
    ScriptKeyword{"SI", E::kSi, 0.0},
    ScriptKeyword{"RAC", E::kFonction, kRacine},
    ScriptKeyword{"OU", E::kLogique, E::kOu},
    ScriptKeyword{"OTHER", E::kNombre, CValeurScript::kAutre},
    ScriptKeyword{"OR", E::kLogique, E::kOu},
    ScriptKeyword{"NR", E::kNombre, CValeurScript::kNonReponse},
    ScriptKeyword{"NI", E::kNombre, CValeurScript::kNonInterroge},
    ScriptKeyword{"NA", E::kNombre, CValeurScript::kNonInterroge},
    ScriptKeyword{"LOG", E::kFonction, kLog},
    ScriptKeyword{"LN", E::kFonction, kLn},
    ScriptKeyword{"INT", E::kFonction, kEntier},
    ScriptKeyword{"IF", E::kSi, 0.0},
    ScriptKeyword{"FINSI", E::kFinSi, 0.0},
    ScriptKeyword{"FAUX", E::kNombre, 0.0},
    ScriptKeyword{"FALSE", E::kNombre, 0.0},
    ScriptKeyword{"EXP", E::kFonction, kExp},
    ScriptKeyword{"ET", E::kLogique, E::kEt},
    ScriptKeyword{"ENTIER", E::kFonction, kEntier},
    ScriptKeyword{"ENDIF", E::kFinSi, 0.0},
    ScriptKeyword{"ELSEIF", E::kSinonSi, 0.0},
    ScriptKeyword{"ELSE", E::kSinon, 0.0},
    ScriptKeyword{"DK", E::kNombre, CValeurScript::kNonReponse},
    ScriptKeyword{"CVNRNI", E::kFonction, kCvnrni},
    ScriptKeyword{"CVDKNA", E::kFonction, kCvnrni},
    ScriptKeyword{"COS", E::kFonction, kCos},
    ScriptKeyword{"AUTRE", E::kNombre, CValeurScript::kAutre},
    ScriptKeyword{"AND", E::kLogique, E::kEt},
    ScriptKeyword{"ALORS", E::kAlors, 0.0},
};

constexpr std::array kFonctions{
    ScriptFunction{kCos, Cosinus, kNR},
    ScriptFunction{kExp, Exponentielle, kNR},
    ScriptFunction{kLog, Log10, kNR},
    ScriptFunction{kLn, Ln, kNR},
    ScriptFunction{kRacine, Racine, kNR},
    ScriptFunction{kSin, Sinus, kNR},
    ScriptFunction{kTaille, nullptr, kNR},
    ScriptFunction{kCvnrni, Identite, 0.0},
    ScriptFunction{kEntier, Tronque, kNR},
};

char Majuscule(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool CommencePar(std::string_view text, std::string_view word) {
    if (text.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Majuscule(text[i]) != word[i])
            return false;
    }
    return true;
}

const ScriptFunction* Fonction(int code) {
    for (const ScriptFunction& function : kFonctions) {
        if (function.code == code)
            return &function;
    }
    return nullptr;
}

} // namespace

std::span<const ScriptKeyword> Table() { return kMots; }

std::span<const ScriptFunction> Functions() { return kFonctions; }

const ScriptKeyword* TrouverEnDebut(std::string_view text) {
    for (const ScriptKeyword& word : kMots) {
        if (CommencePar(text, word.text))
            return &word;
    }
    return nullptr;
}

CValeurScript EvaluerFonction(int code, const CValeurScript& argument) {
    const ScriptFunction* function = Fonction(code);
    if (function == nullptr || argument.EstErreur())
        return CValeurScript::Erreur();
    if (function->compute == nullptr)
        return CValeurScript::Nombre(argument.EstListe() ? argument.DonnerNombreElements() : 0);
    if (argument.EstManquant())
        return CValeurScript::Nombre(function->whenMissing);
    const double x = argument.EstListe() ? 0.0 : argument.number;
    return CValeurScript::Nombre(function->compute(x));
}

} // namespace ScriptKeywords
