#pragma once

#include <memory>

class CContexteEtude;
class CQuestionEtendue;
class CTableau;

// The tables of open answers that the dispatcher asks for: the answers listed, the answers by
// category of a closed question, the dictionary of forms and the inventory of repeated segments.
// The lexical engine that builds them lives above this folder and registers its implementation
// at start-up (EnregistrerOuvertes); until then the dispatcher says these tables are not
// available yet.
//
// Each answers a new table, or null when nothing can be built (a question whose answers cannot
// be read, a corpus that cannot be opened); the reason has then been shown through the context.
class TablesOuvertes {
public:
    virtual ~TablesOuvertes() = default;

    virtual std::unique_ptr<CTableau> ConstruireTableauReponses(CContexteEtude& context, CQuestionEtendue& open) = 0;
    virtual std::unique_ptr<CTableau> ConstruireTableauReponsesSelon(CContexteEtude& context, CQuestionEtendue& open,
                                                                     CQuestionEtendue& closed) = 0;
    virtual std::unique_ptr<CTableau> ConstruireTableauDictionnaire(CContexteEtude& context, CQuestionEtendue& open,
                                                                    int minimumFrequency, bool withStopWords,
                                                                    int sortKey) = 0;
    virtual std::unique_ptr<CTableau> ConstruireTableauSegments(CContexteEtude& context, CQuestionEtendue& open,
                                                                int minimumFrequency, int sortKey) = 0;

    // Installs the implementation (null uninstalls); the previous one is freed.
    static void Enregistrer(std::unique_ptr<TablesOuvertes> tables);
    // The one installed, or null.
    static TablesOuvertes* Donner();
};
