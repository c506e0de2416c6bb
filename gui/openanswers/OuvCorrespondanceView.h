#pragma once

#include "gui/statistics/FactorFormView.h"

#include <cstdint>
#include <string>
#include <vector>

class COuvCorpus;
class CQuestionEtendue;
class EntryList;
class QLabel;
class QPushButton;
class QTreeWidget;

// The correspondence analysis of the forms of an open question by the categories of a closed
// question: the analyst moves forms (or lemmas) from the list of every entry of the dictionary to
// the list of the analysis, chooses the question to explain, and "&Recalculer" crosses them into
// the lexical table, analyses it, asks for the number of axes and lists the result tables and the
// maps of every pair of axes.
class COuvCorrespondanceView : public FactorFormView {
    Q_OBJECT

public:
    enum Controle {
        kQuestion = 1080,
        kChoisirQuestion = 1006,
        kDisponibles = 1076,
        kChoisies = 1100,
        kVersChoisies = 1007,
        kVersDisponibles = 1010,
        kRecalculer = 1084,
    };
    // Label kinds of the result tables.
    enum Genre { kGenreForme = 0, kGenreAxe = 1, kGenreCategorie = 2, kGenreValeurPropre = 3 };
    // Sort columns of the two lists.
    enum Colonne { kColonneTexte = 0, kColonneEffectif = 1 };

    explicit COuvCorrespondanceView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;

    void OnChoisirQuestion();
    void ChoisirQuestion(CQuestionEtendue* question);
    void OnVersChoisies();
    void OnVersDisponibles();
    void OnRecalculer();

    QTreeWidget& GetListe(Controle id) const;
    QPushButton& GetBouton(Controle id) const;
    // The entry indexes of a list, in its order.
    std::vector<int> Entrees(Controle list) const;
    void Trier(Controle list, int column);
    const std::vector<double>& GetDonnees() const { return m_table; }

    // ---- Data source of the tables and maps ----
    CLigne DonnerLigne(std::int32_t genre, std::int32_t second, std::int32_t index) const override;
    std::string DonnerLibelleLigne(std::int32_t index) const override;
    std::string DonnerLibelleColonne(std::int32_t index) const override;

private:
    COuvCorpus* Corpus() const;
    EntryList& List(Controle id) const;
    void ClearAll();
    bool RunEngine();
    void AddResults();

    QLabel* m_caption;
    QPushButton* m_pick;
    EntryList* m_lists[2]{};
    QPushButton* m_toChosen;
    QPushButton* m_toAvailable;
    QPushButton* m_recalculate;

    CQuestionEtendue* m_explained = nullptr; // borrowed
    std::vector<int> m_entries;               // the forms of the last run, in row order
    std::vector<std::string> m_categories;    // the short captions of the question to explain
    std::vector<double> m_table;              // entries x categories
};
