#pragma once

#include <cstdint>
#include <vector>

#include "app/Message.h"

// The typology by moving centres: k groups of the rows of a data table, over a provider of
// distances and centres (the chi-square profiles of a disjunctive table, or the standardised
// values of a numeric one). The table has nActifs active rows then nIllustratifs illustrative
// ones, nColActives active columns then nColIllustratives further ones; only the active columns
// enter distances and centres, only the active rows draw and move the centres. Illustrative
// rows are put in their nearest group at the end.
//
// A run draws its start rows with the engine's own generator, seeded by the run, so one seed
// gives the same groups on every machine. The engine borrows the table; it keeps no group after
// a run.
//
// Results of a run, in two arrays of doubles the caller receives:
// - per row, in row order: group number (1 .. k) and distance to its centre x 1000;
// - per group g: members (active and illustrative), their share of all rows x 100, the inertia of
//   its active members x 1000 and -999999.99; then a last record: all rows, 100, the total
//   inertia of the active rows x 1000 and the explained share in percent (-999999.99 when the
//   total inertia is 0).
// A distance enters an inertia through Inertie: squared for the Euclidean distance, as it is for
// the chi-square distance, which is already a sum of squares.
class CCentresMobiles {
public:
    CCentresMobiles(int nActifs, int nIllustratifs, int nColActives, int nColIllustratives);
    virtual ~CCentresMobiles() = default;
    CCentresMobiles(const CCentresMobiles&) = delete;
    CCentresMobiles& operator=(const CCentresMobiles&) = delete;

    // Without the stability check, one run with the seed n. With it, the seeds 0 .. n: the first
    // successful run is kept, and a later one replaces it only when its explained share is
    // strictly greater (a missing share is below any other), so the earliest seed wins ties. The
    // first failing run ends the call: false, the arrays left empty, GetErreur says why.
    bool Executer(int k, std::vector<double>& parIndividu, std::vector<double>& parGroupe, bool stabilite, int n);
    bool ExecuterUneFois(int k, std::vector<double>& parIndividu, std::vector<double>& parGroupe, unsigned graine);

    const Message& GetErreur() const { return m_erreur; }
    // The assignment loops of the last run, the final assignment not counted.
    int GetIterations() const { return m_iterations; }
    // The rows drawn as start centres by the last run, in the order of their groups.
    const std::vector<int>& GetLignesDepart() const { return m_lignesDepart; }

    // Assignment loops a run may make: far beyond what a typology needs; a run that reaches it
    // cycles and fails.
    static constexpr int kIterationsMax = 1000;

    // The provider's operations. Distances and centres read the active columns only; a centre is
    // a vector of nColActives doubles.
    virtual bool Initialiser() = 0;
    virtual double DistanceIndividus(int i, int l) const = 0;
    virtual double DistanceCentre(int i, const double* centre) const = 0;
    virtual double DistanceCentreGeneral(int i) const = 0;
    virtual void CalculerCentre(double* centre, const std::vector<std::int32_t>& membres) const = 0;
    virtual double InertieCentre(const double* centre) const = 0;
    virtual double Inertie(double distance) const = 0;
    virtual void Nettoyer();
    // For rows first .. last - 1, the group whose centre is nearest (the first of equal
    // distances) and the distance to it: what DistanceCentre gives, compared as it gives it.
    // Runs on several threads at once, on disjoint ranges.
    virtual void PlusProchesCentres(int first, int last, const double* centres, int k, std::int32_t* groupe,
                                    double* distance) const;
    // Every centre from the group (0-based) of each of the rows 0 .. nActifs - 1; the group lists
    // hold the same rows. The default asks CalculerCentre group by group.
    virtual void CalculerCentres(double* centres, int k, const std::int32_t* groupeLigne) const;

protected:
    int nActifs;
    int nIllustratifs;
    int nColActives;
    int nColIllustratives;

private:
    bool TirerCentres(unsigned graine);
    // Puts rows 0 .. rows - 1 in their nearest group (groups emptied first, refilled in row
    // order); answers how many rows changed group.
    long long Affecter(int rows, const std::vector<double>& centres);
    void RecalculerCentres(std::vector<double>& centres) const;
    double InertieInterclasses(const std::vector<double>& centres) const;
    bool Boucler(std::vector<double>& centres);
    void Resultats(std::vector<double>& parIndividu, std::vector<double>& parGroupe) const;

    int nGroupes = 0;
    std::vector<std::vector<std::int32_t>> groupes;
    std::vector<std::int32_t> m_groupeLigne;  // per row, 0-based
    std::vector<double> m_distanceLigne;      // per row, to its centre
    int m_iterations = 0;
    std::vector<int> m_lignesDepart;
    Message m_erreur;
};
