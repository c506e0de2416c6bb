#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Recodage.h"
#include "recodes/ModaliteGroupe.h"

// Sub-totals: the modalities of a closed question grouped into groups that may be nested. The
// nodes form a tree written in pre-order: each node is followed by its descendants, the next
// nodes of a greater level up to the next node of its level or a lower one. Top-level nodes
// become the modalities of the recoded question; a source code may sit under several groups.
//
// Definition text: one piece "code;level;caption|" per node in order. The caption is the node's
// only caption when it has captions in a single language, else the property-list form of its
// captions named by their decimal language ids. The portable form, for the shared library, puts
// the 1-based position of the code among a question's modality codes in place of the code.
class CRecodageModalite : public CRecodage {
public:
    explicit CRecodageModalite(CEnquete* survey);
    CRecodageModalite(const CRecodageModalite& other);
    CRecodageModalite& operator=(const CRecodageModalite&) = delete;
    ~CRecodageModalite() override;

    // ---- The recode's operations ----
    std::int16_t GetType() const override { return kModalite; }
    // The most groups one source code sits in (at least 1).
    int DonnerNombreReponses(const CQuestionEtendue& source) const override;
    // One modality per top-level node, coded 1, 2, 3...; type 1, no no-answer flag.
    void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const override;
    bool EstApplicable(const CQuestionEtendue& question) const override;
    // Shows the top-level nodes alone: first display option set at level 0, every other cleared.
    void Reinitialiser() override;
    bool GetEstCumule() const override { return m_estCumule; }
    void SetEstCumule(bool cumule) override { m_estCumule = cumule; }
    std::string GetRegroupement(const CQuestionEtendue& question) const override;
    std::string GetRegroupement() const override;
    void SetRegroupement(const CQuestionEtendue& question, const std::string& text) override;
    void SetRegroupement(const std::string& text) override;
    void CopyGroups(std::vector<std::unique_ptr<CModaliteEtendue>>& groups) const override;
    void DonnerGroupesDuCode(std::int32_t code, int level, std::vector<std::int16_t>& groups) const override;

    // ---- The nodes ----
    // Appends a node (the recode takes it), answering its index; a null node is not added (-1).
    int AjouterNoeud(std::unique_ptr<CModaliteGroupe> node);
    void ViderNoeuds();
    int NodeCount() const { return static_cast<int>(m_noeuds.size()); }
    // Node i; null out of range.
    CModaliteGroupe* Node(int i) const;

    // The deepest level + 1; 1 without nodes.
    int DonnerNombreNiveaux() const;
    // The number of nodes of that level (DonnerNombreGroupes is the same count under the name
    // the tables use).
    int DonnerNombreNoeudsNiveau(int level) const;
    int DonnerNombreGroupes(int level) const { return DonnerNombreNoeudsNiveau(level); }
    // The index in the node list of the n-th node (from 0) of that level; 0 when there is none.
    int DonnerIndexNoeud(int n, int level) const;
    // The number of nodes after node i up to the first of its level or a lower one; 0 out of range.
    int DonnerNombreDescendants(int i) const;

protected:
    std::unique_ptr<CRecodage> Clone() const override;

private:
    // A definition text read into new nodes; `codeOf` turns the first field into the node's code.
    template <class CodeOf> void ReadDefinition(const std::string& text, CodeOf codeOf);
    // The definition text, `codeText` writing each node's first field.
    template <class CodeText> std::string WriteDefinition(CodeText codeText) const;

    bool m_estCumule = false;
    std::vector<std::unique_ptr<CModaliteGroupe>> m_noeuds;
};
