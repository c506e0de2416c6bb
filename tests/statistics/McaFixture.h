#pragma once

#include <cstdint>
#include <vector>

// The disjunctive table of the small survey of the multiple correspondence tests: 12 interviews
// (10 active, 2 illustrative) answering SEXE (2 modalities), AGE (3), LOISIRS (4, up to two
// answers) as active questions and REGION (3) as the illustrative one.
//
// Reference values: R 4.2.2, a correspondence analysis of the active 10 × 9 block written
// independently of the engine: S = D_r^-1/2 (P - r cᵀ) D_c^-1/2, svd(S); row principal
// coordinates D_r^-1/2 U Σ, column principal coordinates D_c^-1/2 V Σ; illustrative rows
// (x / r) D_c^-1/2 V, illustrative columns (x / c)ᵀ D_r^-1/2 U; contributions 100 · mass ·
// coordinate² / λ; qualities 100 · coordinate² / squared distance to the centroid.
namespace mca_fixture {

inline const std::vector<std::uint8_t> kTable = {
    1, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, //
    1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0, //
    0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, //
    0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, //
    1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, //
    0, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, //
    1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 0, //
    0, 1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, //
    1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1, //
    0, 1, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, //
    1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, //
    0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1,
};

inline const double kEigenvalues[] = {5.53143042150e-01, 4.78903876792e-01, 3.13838830231e-01,
                                      1.21952998129e-01, 2.47817046189e-02, 1.15462147448e-02};

// Axes 1 and 2 of the active rows, then of the two illustrative rows.
inline const double kRows[12][2] = {
    {-0.4218412737908, 0.779933670061},  {-1.2810092888170, -0.379712074489}, {0.7898276512634, -0.710146507419},
    {0.5510707921617, 1.098510571708},   {0.0370060274859, -0.649510980176},  {-0.2772471237804, -0.460559444146},
    {-0.1980808667955, 0.758697842181},  {1.1628671938640, -0.807415628609},  {-1.0430797107474, -0.389368841829},
    {0.7194069925132, 0.622277248833},   {-0.358797161208, -0.5972070669704}, {-0.134428628193, 0.0799553578151},
};

// Axes 1 and 2 of the 9 active modalities, then of the 3 illustrative ones.
inline const double kColumns[12][2] = {
    {-0.781730513651, 0.0346920861234},  {0.792196700641, -0.0743708224653},  {0.218678321031, 1.1774868602792},
    {-1.165887081417, -0.5922876518738}, {0.891759631693, -1.0438260557349},  {0.218678321031, 1.1774868602792},
    {-0.910580073002, -0.2307195218088}, {-0.244905510438, -0.2895027407771}, {0.910641794933, -0.5580677568386},
    {0.2186783210307, 1.177486860279},   {-0.0363641945568, -0.884663880622}, {-0.2377632551672, -0.751449826987},
};

inline const double kRowContributionsAxis1[10] = {3.5745236607203,  24.7221284097053, 12.5309704154103, 4.5750525456829,
                                                  0.0275083771976,  1.1580182368044,  0.7881431263531,  20.3723691631606,
                                                  21.8552124468816, 10.3960736180839};
inline const double kColumnContributionsAxis1[9] = {15.344197447009, 15.757819022022, 0.960575483994,
                                                    20.478317888815, 11.980554457594, 0.960575483994,
                                                    16.655448072116, 1.204806080330,  16.657706064127};
inline const double kRowQualitiesAxis1[10] = {15.643961342721, 76.921162407914, 47.081337260395, 16.871056554095,
                                              0.103354420399,  3.603092233337,  3.449321300258,  63.387192682741,
                                              82.114360979083, 45.498586450710};

} // namespace mca_fixture
