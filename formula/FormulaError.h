#pragma once

#include <cstdint>
#include <string>

// Why a formula could not be evaluated: the error code of the tokenizer, of the compiler or of
// the reading of answers, the 1-based position and the length, in characters, of the part of the
// formula at fault (position 0 when the fault is the whole formula), and for a failed reading
// the reader's own text. docs/formula-language.md lists the codes for the user.
struct FormulaError {
    // The tokenizer.
    static constexpr std::int32_t kNombreInvalide = 1;
    static constexpr std::int32_t kPointInterrogationSeul = 2;
    static constexpr std::int32_t kReferenceNonFermee = 3;
    static constexpr std::int32_t kQuestionInconnue = 4;
    static constexpr std::int32_t kDateNonFermee = 6;
    static constexpr std::int32_t kDateInvalide = 7;
    static constexpr std::int32_t kHeureNonFermee = 8;
    static constexpr std::int32_t kHeureInvalide = 9;
    static constexpr std::int32_t kChaineNonFermee = 10;
    static constexpr std::int32_t kListeNonFermee = 11;
    static constexpr std::int32_t kMembreInvalide = 12;
    static constexpr std::int32_t kMotInconnu = 13;
    static constexpr std::int32_t kListeTropLongue = 14; // a list constant of too many members
    static constexpr std::int32_t kQuestionNonFermee = 126;
    static constexpr std::int32_t kModaliteHorsLimites = 127;

    // The compiler.
    static constexpr std::int32_t kAucunOperande = 0;
    static constexpr std::int32_t kOperandeAttendu = 101;
    static constexpr std::int32_t kParentheseMalPlacee = 102;
    static constexpr std::int32_t kParentheseNonFermee = 103;
    static constexpr std::int32_t kGroupeSansValeurUnique = 104;
    static constexpr std::int32_t kFonctionEnAttente = 105;
    static constexpr std::int32_t kOperateurAttendu = 106;
    static constexpr std::int32_t kCrochetFermantSeul = 107;
    static constexpr std::int32_t kCrochetNonFerme = 108;
    static constexpr std::int32_t kTropPeuDOperandes = 109;
    static constexpr std::int32_t kNombreAttendu = 110;
    static constexpr std::int32_t kChaineAttendue = 111;
    static constexpr std::int32_t kDateAttendue = 112;
    static constexpr std::int32_t kPlusRefuse = 113;
    static constexpr std::int32_t kMoinsRefuse = 114;
    static constexpr std::int32_t kIntersectionRefusee = 115;
    static constexpr std::int32_t kProduitRefuse = 116;
    static constexpr std::int32_t kQuotientRefuse = 117;
    static constexpr std::int32_t kModuloRefuse = 118;
    static constexpr std::int32_t kComparaisonRefusee = 119;
    static constexpr std::int32_t kLogiqueRefusee = 120;
    static constexpr std::int32_t kIndiceNonNumerique = 121;
    static constexpr std::int32_t kIndiceSansListe = 122;
    static constexpr std::int32_t kPlusieursValeurs = 123;
    static constexpr std::int32_t kSeparateurAttendu = 124;
    static constexpr std::int32_t kValeursDifferentes = 125;
    static constexpr std::int32_t kTypeQuestionErreur = 126;
    static constexpr std::int32_t kImbricationTropProfonde = 128; // groups nested too deep

    // Reading the answers.
    static constexpr std::int32_t kLectureImpossible = 200;

    std::int32_t code = 0;
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::string text;
};
