#pragma once

#include "framework/UtilArbre.h"
#include "gui/variables/PanneauVariable.h"

#include <cstdint>

class CContexteEtude;
class CMultiTree;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Par champs d'étude": one modality per study field, or per group of study fields (a sub-total),
// of a closed question that may give several answers. Left, the survey's study fields, marked
// while the new question uses them; right, the new question's modalities, edited with the buttons
// and their keys: Insert a new group, Space (or a double click on the left) adds the selected
// fields, Alt+arrows move the current item with what it holds, Delete removes it, F2 renames it.
// The interviews that no field keeps go to the one group without field, when there is one.
class CCalListeChampsPage : public CPanneauVariable {
    Q_OBJECT

public:
    enum { IDD = 223 };
    // Item data of a group; a field item holds the field's id.
    static constexpr int kGroupe = 0;

    explicit CCalListeChampsPage(CContexteEtude& context, QWidget* parent = nullptr);

    void Charger(const CQuestionCalculee& definition) override;
    bool Verifier() override;
    void DonnerParties(PartiesVariable& parts) const override;

    CMultiTree& Disponibles() const { return *m_available; }
    QTreeWidget& Arbre() const { return *m_tree; }
    QPushButton& AjouterButton() const { return *m_add; }
    QPushButton& GroupeButton() const { return *m_group; }
    QPushButton& SortirButton() const { return *m_out; }
    QPushButton& EntrerButton() const { return *m_in; }
    QPushButton& MonterButton() const { return *m_up; }
    QPushButton& DescendreButton() const { return *m_down; }
    QPushButton& SupprimerButton() const { return *m_remove; }
    QPushButton& ChampsButton() const { return *m_fields; }
    // Whether the available field of that id shows as used by the new question.
    bool EstUtilise(std::int32_t id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RemplirDisponibles();
    QTreeWidgetItem* Disponible(std::int32_t id) const;
    QTreeWidgetItem* NewItem(const QString& name, std::int32_t itemData);
    void AjouterGroupe();
    void AjouterChamps();
    void Supprimer();
    void MarquerUtilises();
    void OnChamps();
    void OnRenamed(QTreeWidgetItem* item, int column);

    CContexteEtude& m_context;
    CUtilArbre m_images;
    int m_groupCounter = 0;
    CMultiTree* m_available;
    QTreeWidget* m_tree;
    QPushButton* m_add;
    QPushButton* m_group;
    QPushButton* m_out;
    QPushButton* m_in;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_remove;
    QPushButton* m_fields;
};
