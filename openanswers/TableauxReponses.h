#pragma once

#include <memory>
#include <string>

class CContexteEtude;
class CQuestionEtendue;
class CTableau;
class CTraitement;

// The listings of the open answers: one row per non-empty answer, in interview order, valued
// with the interview number (index + 1) in the column "Numéro d'interview"; the table's total
// counts every answer read, empty ones included. Null (the reader's text in `error`) when the
// answers or the codes cannot be read.
class TableauxReponses {
public:
    static std::unique_ptr<CTableau> ConstruireTableauReponses(CContexteEtude& context, CQuestionEtendue& open,
                                                               std::string& error);
    // The answers under each modality of the closed question, in modality order: the rows of the
    // answers whose first code (at the open question's level) is that modality, labelled by the
    // modality (level 0) and the answer (level 1).
    static std::unique_ptr<CTableau> ConstruireTableauReponsesSelon(CContexteEtude& context, CQuestionEtendue& open,
                                                                    CQuestionEtendue& closed, std::string& error);

    // The requests "Visualiser les réponses" runs: type 17, the open question on the rows, titled
    // by its caption; and type 18 by the closed question, titled "%s x %s".
    static std::unique_ptr<CTraitement> TraitementReponses(CQuestionEtendue& open);
    static std::unique_ptr<CTraitement> TraitementReponsesSelon(CQuestionEtendue& open, CQuestionEtendue& closed);
    // The request of a dictionary kept in the portfolio (type 19): what the tabulation engine
    // needs to rebuild it, the minimum frequency, the stop words shown or not and the sort key as
    // the codes of three row calculations, in that order.
    static std::unique_ptr<CTraitement> TraitementDictionnaire(CQuestionEtendue& open, const std::string& title,
                                                               int minimumFrequency, bool withStopWords, int sortKey);
};
