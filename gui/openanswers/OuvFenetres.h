#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class COuvCorpus;
class CContexteEtude;
class CQuestionEtendue;
class CTableau;
class QWidget;

// What every open-answer window does the same way: open the lexical engine of its question,
// send a table of its list to Word, and add it to the portfolio.
class OuvFenetres {
public:
    // "Edition/Ajouter au Dossier" of these windows; the application gives where tables go
    // (the portfolio keeps its own copy). Null: the command is disabled.
    using AjoutDossier = std::function<void(const CTableau&)>;
    static void SetAjoutDossier(AjoutDossier add);
    static bool PeutAjouterAuDossier();
    // Hands the table to the portfolio; false when no portfolio is offered.
    static bool AjouterAuDossier(const CTableau& table);

    // The concordance window of an entry (kind 1, by its id) or a segment (kind 0, by its index);
    // the application gives how it opens (OuvrirOuvConcordance).
    using OuvertureConcordance = std::function<void(CQuestionEtendue&, std::int32_t, std::int16_t)>;
    static void SetOuvertureConcordance(OuvertureConcordance open);
    static void OuvrirConcordance(CQuestionEtendue& question, std::int32_t entry, std::int16_t kind);

    // The engine of the open question, its caches read or, when missing, damaged or stale,
    // rebuilt from the answers under the wait cursor; null after telling the user why.
    static std::unique_ptr<COuvCorpus> OuvrirCorpus(CContexteEtude& context, CQuestionEtendue& question);

    // "Fichier/Exporter vers Word...": a file asked over `parent`, then the table written by the
    // tables' RTF writer under the wait cursor; false when cancelled or failed (failure told).
    static bool ExporterWord(const CTableau& table, QWidget* parent);
};
