#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/SettingsStore.h"

class CPoliceAna;
class CPresentationTableau;
class CPresentationGraphique;
class CPresGraphSerie;
class CPresentationMapping;
class CPresentationMappingLigne;
class CTypeFusion;

// The user's preferences kept between runs. Every preference has one static reader that applies
// the key's default and, for numbers, its bounds: a value that is missing, unreadable or out of
// bounds reads as the default, silently. Most have a static writer. Nothing is stored in a
// CRegistre object; it is only a scope for the statics.
//
// Values go through one process-wide SettingsStore that the program installs at start-up. Until
// one is installed every reader answers its default and every writer does nothing, so the core
// and its tests run without any settings file.
class CRegistre {
public:
    // Makes `store` the place of every later read and write; answers the store it replaces
    // (null when there was none). Passing null uninstalls.
    static std::unique_ptr<SettingsStore> InstallStore(std::unique_ptr<SettingsStore> store);
    static SettingsStore* GetStore();

    // Generic readers and writers. Bounds are inclusive.
    static int GetIntBorne(const std::string& section, const std::string& key, int defaut, int minimum, int maximum);
    static bool GetBool(const std::string& section, const std::string& key, bool defaut);
    static double GetDoubleBorne(const std::string& section, const std::string& key, double defaut, double minimum,
                                 double maximum);
    static std::string GetString(const std::string& section, const std::string& key, const std::string& defaut);
    // Doubles are stored as text written like "%g" with "." as decimal point whatever the
    // locale, so that a settings file reads back the same on every machine.
    static void SetDouble(const std::string& section, const std::string& key, double value);
    static void SetInt(const std::string& section, const std::string& key, int value);
    static void SetBool(const std::string& section, const std::string& key, bool value);
    static void SetString(const std::string& section, const std::string& key, const std::string& value);

    // Entry `index` of the classic system's default 20-colour palette as 0x00BBGGRR, or the
    // window-text colour (black) for an index outside it.
    static std::uint32_t GetPaletteColor(int index);

    // Section "Options".
    static int GetCaptionType();
    static int GetEffectifSignificativite();
    static int GetSignificanceType();
    static void SetSignificanceType(int value);
    static double GetSignificanceThreshold3();
    static void SetSignificanceThreshold3(double value);
    static double GetSignificanceThreshold2();
    static void SetSignificanceThreshold2(double value);
    static double GetSignificanceThreshold1();
    static void SetSignificanceThreshold1(double value);
    static double GetConfidenceIntervalThreshold();
    static void SetConfidenceIntervalThreshold(double value);
    static int GetTotalType();
    static void SetTotalType(int value);
    static bool GetUseCompletedOnly();
    static void SetUseCompletedOnly(bool value);
    static bool GetCheckInversion();
    static void SetCheckInversion(bool value);
    static bool GetGroupSemiOpens();

    // Section "Tableau": markers and spacing of the exports, paging of the Word export.
    static std::string GetMarqueurRTFAvant();
    static std::string GetMarqueurRTFApres();
    static std::string GetMarqueurAvant();
    static std::string GetMarqueurApres();
    static bool GetMarqueurSurLigne();
    static int GetNombreLigneApresTableau();
    static int GetNombreLigneApresTitre();
    static int GetLinesPerTableInWord(bool paysage);
    static void SetLinesPerTableInWord(bool paysage, int value);
    static int GetColumnsPerTableInWord(bool paysage);
    static void SetColumnsPerTableInWord(bool paysage, int value);
    static bool GetIsBreakColumnsFirst();
    static void SetIsBreakColumnsFirst(bool value);
    static bool GetIsTotalBefore();
    static void SetIsTotalBefore(bool value);

    // Section "Libelle".
    static int GetLangue();

    // Section "Weighting". The weight bounds are stored in hundredths and answered as weights.
    static int GetIterationPerQuestion();
    static int GetAccuracy();
    static double GetMinWeight();
    static double GetMaxWeight();

    // Section "Excel".
    static bool GetIsOneSheetPerTable();
    static void SetIsOneSheetPerTable(bool value);
    static bool GetIsFastExport();
    static void SetIsFastExport(bool value);

    // Section "Postcode": the files of the postcode classification.
    static std::string GetPostcodePath();
    static std::string GetLabelPath(int numero);

    // Section "Fusion": how the sub-tables of a request are merged, key by key.
    static int GetFusionType();
    static void SetFusionType(int value);
    static bool GetFusionEstTableauParLigne();
    static void SetFusionEstTableauParLigne(bool value);
    static bool GetFusionEstTableauParColonne();
    static void SetFusionEstTableauParColonne(bool value);
    static bool GetFusionEstLibelleTraitement();
    static void SetFusionEstLibelleTraitement(bool value);
    static bool GetFusionEstVersDossier();
    static void SetFusionEstVersDossier(bool value);
    static bool GetFusionIsEmptyLinePerQuestion();
    static void SetFusionIsEmptyLinePerQuestion(bool value);
    // The merge options as a whole, through the keys above. Defined beside the merge options
    // (tabulation/RegistreTypeFusion.cpp), which sit above this library; whoever calls these
    // links morvane_tabulation.
    static void ReadTypeFusion(CTypeFusion& fusion);
    static void WriteTypeFusion(const CTypeFusion& fusion);

    // Presentation defaults, read and written field by field; each reader starts from the
    // defaults of every key, independently of the others.
    //
    // These are declared here, with the other preferences, but defined in
    // presentation/RegistreEnregistrements.cpp beside the records: the records sit above this
    // library (their constructors read their defaults through CRegistre), so this library cannot
    // see their definitions. Whoever calls these links morvane_presentation.
    static void ReadPolice(const std::string& section, CPoliceAna& police);
    static void WritePolice(const std::string& section, const CPoliceAna& police);
    static void ReadPresentationTableau(CPresentationTableau& presentation);
    static void WritePresentationTableau(const CPresentationTableau& presentation);
    static void ReadPresentationGraphique(CPresentationGraphique& presentation);
    static void WritePresentationGraphique(const CPresentationGraphique& presentation);
    static void ReadPresGraphSerie(int numero, std::uint32_t couleurDefaut, CPresGraphSerie& serie);
    static void WritePresGraphSerie(int numero, const CPresGraphSerie& serie);
    static void ReadPresentationMapping(CPresentationMapping& presentation);
    static void WritePresentationMapping(const CPresentationMapping& presentation);
    static void ReadPointsMapping(const std::string& section, CPresentationMappingLigne& points,
                                  std::int16_t typeSymboleDefaut, std::uint32_t couleurDefaut,
                                  bool libelleVisibleDefaut);
    static void WritePointsMapping(const std::string& section, const CPresentationMappingLigne& points);
};
