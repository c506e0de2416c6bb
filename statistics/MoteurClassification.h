#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/Message.h"

class CCentresMobiles;
class CDendogramme;
class CMatriceTriangulaire;
class UserInterface;

// The ascending hierarchical classification by centroids: the items (every active row of the
// table, or the groups of a first typology of them) are merged two by two, the closest first,
// until one is left. Every pair found at the smallest distance of a pass is merged in that pass.
// Each merge records the pair (the kept item first) and its level: the between-group inertia
// of the partition that remains, in percent of the total inertia.
//
// The distances of the items are those of the typology's providers (chi-square profiles or
// standardised values); a concrete class gives them and the centre of merged items. The table is
// borrowed; only its first n rows and nColActives columns take part.
//
// A run reports its progress through the user interface given, which may stop it: it then fails
// with no message and keeps nothing. A run fails with a message when the distances cannot be
// held in memory, or when a distance or an inertia is not a finite number below 1e307.
class CMoteurClassification {
public:
    CMoteurClassification(int n, int nColActives, int nColIllustratives);
    virtual ~CMoteurClassification();
    CMoteurClassification(const CMoteurClassification&) = delete;
    CMoteurClassification& operator=(const CMoteurClassification&) = delete;

    // The interface that shows the progress and may cancel (none: the run goes to its end).
    void SetUserInterface(UserInterface* ui) { m_ui = ui; }

    bool Executer(bool partitionInitiale, int nbGroupesDepart, unsigned graine);
    const Message& GetErreur() const { return m_erreur; }
    bool EstAnnule() const { return m_annule; }

    int NombreElements() const { return m_n0; }
    const std::vector<std::pair<int, int>>& Fusions() const { return m_paires; }
    const std::vector<double>& Niveaux() const { return m_niveaux; }
    double NiveauDepart() const { return m_niveauDepart; }
    // The interview rows of each start group (with a start partition).
    const std::vector<std::vector<std::int32_t>>& GroupesDepart() const { return m_groupesDepart; }

    // Builds the tree into the dendrogram: the partition in nbGroupes groups, the tree drawn down
    // to nbAffiches clusters; then places the nodes and numbers their drawing rows.
    void ConstruireDendogramme(int nbGroupes, int nbAffiches, CDendogramme& dendogramme) const;

protected:
    // The provider's part. A centre is nColActives doubles; the mass is what the distance needs
    // of it beside the centre (the qualitative profiles' sum), 0 where it needs none.
    virtual bool Initialiser() = 0;
    virtual std::unique_ptr<CCentresMobiles> CreerTypologie() const = 0;
    virtual void CentreLigne(int row, double* centre) const = 0;
    virtual void CentreGroupe(const std::vector<std::int32_t>& membres, double* centre) const = 0;
    virtual void FusionnerCentres(double* ci, double ni, const double* cj, double nj) const = 0;
    virtual double Masse(const double* centre) const = 0;
    virtual double Distance(const double* ci, double mi, const double* cj, double mj) const = 0;
    virtual double DistanceCentreGeneral(int row) const = 0;
    virtual double DistanceCentreGeneralCentre(const double* centre, double masse) const = 0;
    // What a distance adds to an inertia: its square, or itself for a sum of squares already.
    virtual double Inertie(double distance) const = 0;

    int m_nbLignes;
    int m_nbColActives;
    int m_nbColIllustratives;

private:
    bool Run(bool partitionInitiale, int nbGroupesDepart, unsigned graine);
    bool Fusionner(const std::vector<std::pair<int, int>>& paires, double minimum, int& m);
    double InertieTotale() const;
    bool PartitionInitiale(int k, unsigned graine);
    void InitialiserFusions();
    bool CalculerDistances();
    void FusionnerElements(int i, int j);
    bool RecalculerDistances(int i);
    bool Comparable(double distance);
    double Niveau() const;
    bool Progression(int step);

    const double* Centre(int item) const { return m_centres.data() + static_cast<std::size_t>(item) * m_nbColActives; }
    double* Centre(int item) { return m_centres.data() + static_cast<std::size_t>(item) * m_nbColActives; }
    double DistanceElements(int i, int j) const;

    UserInterface* m_ui = nullptr;
    bool m_partition = false;
    int m_n0 = 0;
    std::unique_ptr<CMatriceTriangulaire> m_matrice;
    std::vector<std::pair<int, int>> m_paires;
    std::vector<std::int32_t> m_tailles; // -1 once merged into another
    std::vector<double> m_masses;
    std::vector<double> m_niveaux;
    std::vector<double> m_centres;       // N0 x nColActives
    double m_inertieTotale = 0.0;
    double m_inertieInter = 0.0;
    double m_niveauDepart = 100.0;
    std::vector<std::vector<std::int32_t>> m_groupesDepart;
    Message m_erreur;
    bool m_annule = false;
};
