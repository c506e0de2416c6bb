#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One object of the formula language in its three successive roles: a token cut from the text
// (kind, code, text, position, length), a node of the compiled postfix list (its index and the
// indexes of the nodes it reads), and the slot that holds the node's value while an interview is
// evaluated (value type, dimension, number, string, the numbers of a list).
//
// Every list the language builds is a list of numbers, so a list keeps its elements as plain
// numbers in order (element 1 first); its value type is that of its elements, number. A scalar
// has no elements. The error value (value type kErreur) means that nothing could be computed for
// this interview; its text form is empty.
class CValeurFormule {
public:
    // Token kinds.
    static constexpr std::int32_t kParenthese = 0;  // "(" 0, ")" 1
    static constexpr std::int32_t kComparaison = 1; // "=" 0, "<>" 1, "<" 2, "<=" 3, ">" 4, ">=" 5
    static constexpr std::int32_t kOperateur = 2;   // "+" 0, "-" 1, "*" 2, "/" 3, "|" 4, MOD 5
    static constexpr std::int32_t kNombre = 3;      // code: the number
    static constexpr std::int32_t kQuestion = 4;    // code: the question's index in the survey
    static constexpr std::int32_t kModalite = 6;    // code: the question's index; text: the modality number
    static constexpr std::int32_t kDate = 7;        // code: the serial date
    static constexpr std::int32_t kListe = 8;       // text: the members joined by ";"
    static constexpr std::int32_t kCrochet = 9;     // "[" 0, "]" 1
    static constexpr std::int32_t kChaine = 10;     // text: the string
    static constexpr std::int32_t kFonction = 11;   // code: the function number
    static constexpr std::int32_t kLogique = 12;    // ET/AND 0, OU/OR 1
    static constexpr std::int32_t kSeparateur = 16; // "," 0

    // Codes of the operators.
    static constexpr int kPlus = 0;
    static constexpr int kMoins = 1;
    static constexpr int kFois = 2;
    static constexpr int kDivise = 3;
    static constexpr int kInter = 4;
    static constexpr int kModulo = 5;
    static constexpr int kEgal = 0;
    static constexpr int kDifferent = 1;
    static constexpr int kInferieur = 2;
    static constexpr int kInferieurEgal = 3;
    static constexpr int kSuperieur = 4;
    static constexpr int kSuperieurEgal = 5;
    static constexpr int kEt = 0;
    static constexpr int kOu = 1;
    static constexpr int kOuvrant = 0; // "(" and "["
    static constexpr int kFermant = 1; // ")" and "]"

    // Value types and dimensions.
    static constexpr std::int32_t kTypeNombre = 0;
    static constexpr std::int32_t kTypeChaine = 1;
    static constexpr std::int32_t kTypeDate = 2;
    static constexpr std::int32_t kTypeErreur = 4;
    static constexpr std::int16_t kScalaire = 0;
    static constexpr std::int16_t kDimensionListe = 1;

    // The value of numeric data that marks no answer; SUM, AVG and CVNRNI leave it out.
    static constexpr double kNonReponse = -999999.99;

    // ---- Token and node ----
    std::int32_t kind = 0;
    double code = 0.0;
    std::string text;
    std::int32_t position = 0; // 1-based, in characters of the formula
    std::int32_t length = 0;   // in characters
    std::int32_t nodeIndex = 0;
    std::vector<std::int32_t> operands; // left operand first

    // ---- Value ----
    std::int16_t dimension = kScalaire;
    std::int32_t valueType = kTypeNombre;
    double number = 0.0; // a number, or a date as its serial day count
    std::string string;
    std::vector<double> elements; // a list's numbers, in order

    void AjouterCode(std::int32_t index) { operands.push_back(index); }

    // ---- Values ----
    void DefinirNombre(double value);
    void DefinirDate(double serial);
    void DefinirChaine(std::string value);
    void DefinirErreur();
    // A list of numbers (dimension 1, value type number) of the given numbers in order.
    void DefinirListe(std::span<const double> numbers);
    // The list left as a list of numbers with no element, for the caller to fill.
    std::vector<double>& ViderListe();
    // The elements are dropped; the value keeps its type and dimension.
    void ViderEnfants() { elements.clear(); }

    bool EstErreur() const { return valueType == kTypeErreur; }
    bool EstListe() const { return dimension == kDimensionListe; }
    bool EstScalaire(std::int32_t type) const { return dimension == kScalaire && valueType == type; }

    int DonnerNombreElements() const { return static_cast<int>(elements.size()); }
    // The element under the key (0 for the first), or null.
    const double* ElementListe(int key) const;
    // The numbers as a list: a scalar's number (whatever its type), or a list's elements. The
    // view lives as long as the value is not changed.
    std::span<const double> Nombres() const;
    // Replaces the vector's content by Nombres().
    void DonnerNombres(std::vector<double>& numbers) const;
    // Appends the numbers the value holds: a list's elements, a scalar number's number; a
    // string, a date or the error value adds nothing.
    void CollecterNombres(std::vector<double>& numbers) const;

    // The text form: "{" then each element's text and a blank, then "}" for a list; "%g" for a
    // number; the string; "dd/mm/yyyy", "dd/mm/yyyy hh:mm:ss" or "hh:mm:ss" for a date; nothing
    // for the error value.
    std::string DonnerTexte() const;
    void AjouterTexte(std::string& out) const;
    static void AjouterNombre(std::string& out, double value);

    // The value of another object (type, dimension, number, string, elements); the token and
    // node fields stay.
    void CopierValeur(const CValeurFormule& source);
};
