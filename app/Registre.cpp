#include "app/Registre.h"

#include <array>
#include <cstddef>
#include <optional>

#include "platform/questionnaire/StaticTools.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Single preferences: section, key, type, default, minimum, maximum. Texts have no bounds and an
// empty default; booleans are stored as the integers 0 and 1.

enum class Setting {
    CaptionType,
    EffectifSignificativite,
    SignificanceType,
    SignificanceThreshold3,
    SignificanceThreshold2,
    SignificanceThreshold1,
    ConfidenceIntervalThreshold,
    TotalType,
    UseCompletedOnly,
    CheckInversion,
    GroupSemiOpens,
    MarqueurRTFAvant,
    MarqueurRTFApres,
    MarqueurAvant,
    MarqueurApres,
    MarqueurSurLigne,
    NombreLigneApresTableau,
    NombreLigneApresTitre,
    LinesPerTableInWord,
    LinesPerTableInWordLandscape,
    ColumnsPerTableInWord,
    ColumnsPerTableInWordLandscape,
    IsBreakColumnsFirst,
    IsTotalBefore,
    Langue,
    IterationPerQuestion,
    Accuracy,
    MinWeight,
    MaxWeight,
    IsOneSheetPerTable,
    IsFastExport,
    PostcodePath,
    LabelPath,
    FusionType,
    FusionEstTableauParLigne,
    FusionEstTableauParColonne,
    FusionEstLibelleTraitement,
    FusionEstVersDossier,
    FusionIsEmptyLinePerQuestion,
};

enum class Kind { Integer, Bool, Double, Text };

struct SettingRow {
    Setting id;
    const char* section;
    const char* key;
    Kind kind;
    double defaut;
    double minimum;
    double maximum;
};

constexpr std::array kSettings{
    //         id                                       section      key                               kind           default  min  max
    SettingRow{Setting::CaptionType,                    "Options",   "CaptionType",                    Kind::Integer, 2,       0,   2},
    SettingRow{Setting::EffectifSignificativite,        "Options",   "EffectifSignificativite",        Kind::Integer, 5,       0,   50},
    SettingRow{Setting::SignificanceType,               "Options",   "SignificanceType",               Kind::Integer, 0,       0,   2},
    SettingRow{Setting::SignificanceThreshold3,         "Options",   "SignificanceThreshold3",         Kind::Double,  2.576,   0,   20},
    SettingRow{Setting::SignificanceThreshold2,         "Options",   "SignificanceThreshold2",         Kind::Double,  1.96,    0,   20},
    SettingRow{Setting::SignificanceThreshold1,         "Options",   "SignificanceThreshold1",         Kind::Double,  1.645,   0,   20},
    SettingRow{Setting::ConfidenceIntervalThreshold,    "Options",   "ConfidenceIntervalThreshold",    Kind::Double,  1.96,    0,   20},
    SettingRow{Setting::TotalType,                      "Options",   "TotalType",                      Kind::Integer, 0,       0,   1},
    SettingRow{Setting::UseCompletedOnly,               "Options",   "UseCompletedOnly",               Kind::Bool,    0,       0,   1},
    SettingRow{Setting::CheckInversion,                 "Options",   "CheckInversion",                 Kind::Bool,    1,       0,   1},
    SettingRow{Setting::GroupSemiOpens,                 "Options",   "GroupSemiOpens",                 Kind::Bool,    0,       0,   1},
    SettingRow{Setting::MarqueurRTFAvant,               "Tableau",   "MarqueurRTFAvant",               Kind::Text,    0,       0,   0},
    SettingRow{Setting::MarqueurRTFApres,               "Tableau",   "MarqueurRTFApres",               Kind::Text,    0,       0,   0},
    SettingRow{Setting::MarqueurAvant,                  "Tableau",   "MarqueurAvant",                  Kind::Text,    0,       0,   0},
    SettingRow{Setting::MarqueurApres,                  "Tableau",   "MarqueurApres",                  Kind::Text,    0,       0,   0},
    SettingRow{Setting::MarqueurSurLigne,               "Tableau",   "MarqueurSurLigne",               Kind::Bool,    0,       0,   1},
    SettingRow{Setting::NombreLigneApresTableau,        "Tableau",   "NombreLigneApresTableau",        Kind::Integer, 1,       0,   10},
    SettingRow{Setting::NombreLigneApresTitre,          "Tableau",   "NombreLigneApresTitre",          Kind::Integer, 1,       0,   10},
    SettingRow{Setting::LinesPerTableInWord,            "Tableau",   "LinesPerTableInWord",            Kind::Integer, 32768,   10,  32768},
    SettingRow{Setting::LinesPerTableInWordLandscape,   "Tableau",   "LinesPerTableInWordLandscape",   Kind::Integer, 32768,   10,  32768},
    SettingRow{Setting::ColumnsPerTableInWord,          "Tableau",   "ColumnsPerTableInWord",          Kind::Integer, 32768,   4,   32768},
    SettingRow{Setting::ColumnsPerTableInWordLandscape, "Tableau",   "ColumnsPerTableInWordLandscape", Kind::Integer, 32768,   4,   32768},
    SettingRow{Setting::IsBreakColumnsFirst,            "Tableau",   "IsBreakColumnsFirst",            Kind::Bool,    1,       0,   1},
    SettingRow{Setting::IsTotalBefore,                  "Tableau",   "IsTotalBefore",                  Kind::Bool,    0,       0,   1},
    SettingRow{Setting::Langue,                         "Libelle",   "Langue",                         Kind::Integer, 1036,    0,   20000},
    SettingRow{Setting::IterationPerQuestion,           "Weighting", "IterationPerQuestion",           Kind::Integer, 30,      1,   1000},
    SettingRow{Setting::Accuracy,                       "Weighting", "Accuracy",                       Kind::Integer, 10,      1,   25},
    SettingRow{Setting::MinWeight,                      "Weighting", "MinWeight",                      Kind::Integer, 0,       0,   90},
    SettingRow{Setting::MaxWeight,                      "Weighting", "MaxWeight",                      Kind::Integer, 500,     110, 9000000},
    SettingRow{Setting::IsOneSheetPerTable,             "Excel",     "IsOneSheetPerTable",             Kind::Bool,    0,       0,   1},
    SettingRow{Setting::IsFastExport,                   "Excel",     "IsFastExport",                   Kind::Bool,    0,       0,   1},
    SettingRow{Setting::PostcodePath,                   "Postcode",  "PostcodePath",                   Kind::Text,    0,       0,   0},
    SettingRow{Setting::LabelPath,                      "Postcode",  "LabelPath%d",                    Kind::Text,    0,       0,   0},
    SettingRow{Setting::FusionType,                     "Fusion",    "Type",                           Kind::Integer, 1,       0,   2},
    SettingRow{Setting::FusionEstTableauParLigne,       "Fusion",    "EstTableauParLigne",             Kind::Bool,    0,       0,   1},
    SettingRow{Setting::FusionEstTableauParColonne,     "Fusion",    "EstTableauParColonne",           Kind::Bool,    0,       0,   1},
    SettingRow{Setting::FusionEstLibelleTraitement,     "Fusion",    "EstLibelleTraitement",           Kind::Bool,    1,       0,   1},
    SettingRow{Setting::FusionEstVersDossier,           "Fusion",    "EstVersDossier",                 Kind::Bool,    0,       0,   1},
    SettingRow{Setting::FusionIsEmptyLinePerQuestion,   "Fusion",    "IsEmptyLinePerQuestion",         Kind::Bool,    0,       0,   1},
};

constexpr bool RowsFollowTheirIds()
{
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        if (static_cast<std::size_t>(kSettings[i].id) != i)
            return false;
    return true;
}
static_assert(RowsFollowTheirIds(), "every preference has its row, in the order of Setting");

constexpr const SettingRow& Row(Setting id)
{
    return kSettings[static_cast<std::size_t>(id)];
}

// The weight bounds are stored in hundredths of a weight.
constexpr double kWeightUnit = 100.0;

// ---------------------------------------------------------------------------------------------
// The classic system's default palette: the sixteen VGA colours and the four extra static
// entries (money green, sky blue, cream, medium grey), as 0x00BBGGRR.

constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue)
{
    return red | (green << 8) | (blue << 16);
}

constexpr std::array<std::uint32_t, 20> kDefaultPalette{
    Rgb(0x00, 0x00, 0x00), // 0 black
    Rgb(0x80, 0x00, 0x00), // 1 dark red
    Rgb(0x00, 0x80, 0x00), // 2 dark green
    Rgb(0x80, 0x80, 0x00), // 3 dark yellow
    Rgb(0x00, 0x00, 0x80), // 4 dark blue
    Rgb(0x80, 0x00, 0x80), // 5 dark magenta
    Rgb(0x00, 0x80, 0x80), // 6 dark cyan
    Rgb(0xC0, 0xC0, 0xC0), // 7 light grey
    Rgb(0xC0, 0xDC, 0xC0), // 8 money green
    Rgb(0xA6, 0xCA, 0xF0), // 9 sky blue
    Rgb(0xFF, 0xFB, 0xF0), // 10 cream
    Rgb(0xA0, 0xA0, 0xA4), // 11 medium grey
    Rgb(0x80, 0x80, 0x80), // 12 dark grey
    Rgb(0xFF, 0x00, 0x00), // 13 red
    Rgb(0x00, 0xFF, 0x00), // 14 green
    Rgb(0xFF, 0xFF, 0x00), // 15 yellow
    Rgb(0x00, 0x00, 0xFF), // 16 blue
    Rgb(0xFF, 0x00, 0xFF), // 17 magenta
    Rgb(0x00, 0xFF, 0xFF), // 18 cyan
    Rgb(0xFF, 0xFF, 0xFF), // 19 white
};

constexpr std::uint32_t kWindowTextColor = Rgb(0x00, 0x00, 0x00);

// ---------------------------------------------------------------------------------------------

std::unique_ptr<SettingsStore>& InstalledStore()
{
    static std::unique_ptr<SettingsStore> store;
    return store;
}

std::string KeyWithNumber(const char* pattern, int numero)
{
    std::string key(pattern);
    const auto placeholder = key.find("%d");
    if (placeholder != std::string::npos)
        key.replace(placeholder, 2, std::to_string(numero));
    return key;
}

int ReadIntegerSetting(Setting id)
{
    const SettingRow& row = Row(id);
    return CRegistre::GetIntBorne(row.section, row.key, static_cast<int>(row.defaut), static_cast<int>(row.minimum),
                                  static_cast<int>(row.maximum));
}

bool ReadBoolSetting(Setting id)
{
    const SettingRow& row = Row(id);
    return CRegistre::GetBool(row.section, row.key, row.defaut != 0);
}

double ReadDoubleSetting(Setting id)
{
    const SettingRow& row = Row(id);
    return CRegistre::GetDoubleBorne(row.section, row.key, row.defaut, row.minimum, row.maximum);
}

std::string ReadTextSetting(Setting id)
{
    const SettingRow& row = Row(id);
    return CRegistre::GetString(row.section, row.key, std::string());
}

void WriteIntegerSetting(Setting id, int value)
{
    CRegistre::SetInt(Row(id).section, Row(id).key, value);
}

void WriteBoolSetting(Setting id, bool value)
{
    CRegistre::SetBool(Row(id).section, Row(id).key, value);
}

void WriteDoubleSetting(Setting id, double value)
{
    CRegistre::SetDouble(Row(id).section, Row(id).key, value);
}

Setting LinesSetting(bool paysage)
{
    return paysage ? Setting::LinesPerTableInWordLandscape : Setting::LinesPerTableInWord;
}

Setting ColumnsSetting(bool paysage)
{
    return paysage ? Setting::ColumnsPerTableInWordLandscape : Setting::ColumnsPerTableInWord;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The store.

std::unique_ptr<SettingsStore> CRegistre::InstallStore(std::unique_ptr<SettingsStore> store)
{
    std::unique_ptr<SettingsStore> previous = std::move(InstalledStore());
    InstalledStore() = std::move(store);
    return previous;
}

SettingsStore* CRegistre::GetStore()
{
    return InstalledStore().get();
}

// ---------------------------------------------------------------------------------------------
// Generic readers and writers.

int CRegistre::GetIntBorne(const std::string& section, const std::string& key, int defaut, int minimum, int maximum)
{
    const SettingsStore* store = GetStore();
    const std::optional<int> stored = store ? store->ReadInteger(section, key) : std::nullopt;
    if (!stored || *stored < minimum || *stored > maximum)
        return defaut;
    return *stored;
}

bool CRegistre::GetBool(const std::string& section, const std::string& key, bool defaut)
{
    const SettingsStore* store = GetStore();
    const std::optional<int> stored = store ? store->ReadInteger(section, key) : std::nullopt;
    if (stored == 0)
        return false;
    if (stored == 1)
        return true;
    return defaut;
}

double CRegistre::GetDoubleBorne(const std::string& section, const std::string& key, double defaut, double minimum,
                                 double maximum)
{
    const SettingsStore* store = GetStore();
    const std::optional<std::string> text = store ? store->ReadString(section, key) : std::nullopt;
    if (!text)
        return defaut;
    double value = 0.0;
    if (!CStaticTools::EstDouble(*text, value) || value < minimum || value > maximum)
        return defaut;
    return value;
}

std::string CRegistre::GetString(const std::string& section, const std::string& key, const std::string& defaut)
{
    const SettingsStore* store = GetStore();
    const std::optional<std::string> text = store ? store->ReadString(section, key) : std::nullopt;
    return text ? *text : defaut;
}

void CRegistre::SetDouble(const std::string& section, const std::string& key, double value)
{
    SetString(section, key, CStaticTools::FormatG(value));
}

void CRegistre::SetInt(const std::string& section, const std::string& key, int value)
{
    if (SettingsStore* store = GetStore())
        store->WriteInteger(section, key, value);
}

void CRegistre::SetBool(const std::string& section, const std::string& key, bool value)
{
    SetInt(section, key, value ? 1 : 0);
}

void CRegistre::SetString(const std::string& section, const std::string& key, const std::string& value)
{
    if (SettingsStore* store = GetStore())
        store->WriteString(section, key, value);
}

std::uint32_t CRegistre::GetPaletteColor(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= kDefaultPalette.size())
        return kWindowTextColor;
    return kDefaultPalette[static_cast<std::size_t>(index)];
}

// ---------------------------------------------------------------------------------------------
// Single preferences.

int CRegistre::GetCaptionType() { return ReadIntegerSetting(Setting::CaptionType); }
int CRegistre::GetEffectifSignificativite() { return ReadIntegerSetting(Setting::EffectifSignificativite); }
int CRegistre::GetSignificanceType() { return ReadIntegerSetting(Setting::SignificanceType); }
void CRegistre::SetSignificanceType(int value) { WriteIntegerSetting(Setting::SignificanceType, value); }
double CRegistre::GetSignificanceThreshold3() { return ReadDoubleSetting(Setting::SignificanceThreshold3); }
void CRegistre::SetSignificanceThreshold3(double value) { WriteDoubleSetting(Setting::SignificanceThreshold3, value); }
double CRegistre::GetSignificanceThreshold2() { return ReadDoubleSetting(Setting::SignificanceThreshold2); }
void CRegistre::SetSignificanceThreshold2(double value) { WriteDoubleSetting(Setting::SignificanceThreshold2, value); }
double CRegistre::GetSignificanceThreshold1() { return ReadDoubleSetting(Setting::SignificanceThreshold1); }
void CRegistre::SetSignificanceThreshold1(double value) { WriteDoubleSetting(Setting::SignificanceThreshold1, value); }
double CRegistre::GetConfidenceIntervalThreshold() { return ReadDoubleSetting(Setting::ConfidenceIntervalThreshold); }
void CRegistre::SetConfidenceIntervalThreshold(double value)
{
    WriteDoubleSetting(Setting::ConfidenceIntervalThreshold, value);
}
int CRegistre::GetTotalType() { return ReadIntegerSetting(Setting::TotalType); }
void CRegistre::SetTotalType(int value) { WriteIntegerSetting(Setting::TotalType, value); }
bool CRegistre::GetUseCompletedOnly() { return ReadBoolSetting(Setting::UseCompletedOnly); }
void CRegistre::SetUseCompletedOnly(bool value) { WriteBoolSetting(Setting::UseCompletedOnly, value); }
bool CRegistre::GetCheckInversion() { return ReadBoolSetting(Setting::CheckInversion); }
void CRegistre::SetCheckInversion(bool value) { WriteBoolSetting(Setting::CheckInversion, value); }
bool CRegistre::GetGroupSemiOpens() { return ReadBoolSetting(Setting::GroupSemiOpens); }

std::string CRegistre::GetMarqueurRTFAvant() { return ReadTextSetting(Setting::MarqueurRTFAvant); }
std::string CRegistre::GetMarqueurRTFApres() { return ReadTextSetting(Setting::MarqueurRTFApres); }
std::string CRegistre::GetMarqueurAvant() { return ReadTextSetting(Setting::MarqueurAvant); }
std::string CRegistre::GetMarqueurApres() { return ReadTextSetting(Setting::MarqueurApres); }
bool CRegistre::GetMarqueurSurLigne() { return ReadBoolSetting(Setting::MarqueurSurLigne); }
int CRegistre::GetNombreLigneApresTableau() { return ReadIntegerSetting(Setting::NombreLigneApresTableau); }
int CRegistre::GetNombreLigneApresTitre() { return ReadIntegerSetting(Setting::NombreLigneApresTitre); }
int CRegistre::GetLinesPerTableInWord(bool paysage) { return ReadIntegerSetting(LinesSetting(paysage)); }
void CRegistre::SetLinesPerTableInWord(bool paysage, int value) { WriteIntegerSetting(LinesSetting(paysage), value); }
int CRegistre::GetColumnsPerTableInWord(bool paysage) { return ReadIntegerSetting(ColumnsSetting(paysage)); }
void CRegistre::SetColumnsPerTableInWord(bool paysage, int value)
{
    WriteIntegerSetting(ColumnsSetting(paysage), value);
}
bool CRegistre::GetIsBreakColumnsFirst() { return ReadBoolSetting(Setting::IsBreakColumnsFirst); }
void CRegistre::SetIsBreakColumnsFirst(bool value) { WriteBoolSetting(Setting::IsBreakColumnsFirst, value); }
bool CRegistre::GetIsTotalBefore() { return ReadBoolSetting(Setting::IsTotalBefore); }
void CRegistre::SetIsTotalBefore(bool value) { WriteBoolSetting(Setting::IsTotalBefore, value); }

int CRegistre::GetLangue() { return ReadIntegerSetting(Setting::Langue); }

int CRegistre::GetIterationPerQuestion() { return ReadIntegerSetting(Setting::IterationPerQuestion); }
int CRegistre::GetAccuracy() { return ReadIntegerSetting(Setting::Accuracy); }
double CRegistre::GetMinWeight() { return ReadIntegerSetting(Setting::MinWeight) / kWeightUnit; }
double CRegistre::GetMaxWeight() { return ReadIntegerSetting(Setting::MaxWeight) / kWeightUnit; }

bool CRegistre::GetIsOneSheetPerTable() { return ReadBoolSetting(Setting::IsOneSheetPerTable); }
void CRegistre::SetIsOneSheetPerTable(bool value) { WriteBoolSetting(Setting::IsOneSheetPerTable, value); }
bool CRegistre::GetIsFastExport() { return ReadBoolSetting(Setting::IsFastExport); }
void CRegistre::SetIsFastExport(bool value) { WriteBoolSetting(Setting::IsFastExport, value); }

std::string CRegistre::GetPostcodePath() { return ReadTextSetting(Setting::PostcodePath); }

std::string CRegistre::GetLabelPath(int numero)
{
    const SettingRow& row = Row(Setting::LabelPath);
    return GetString(row.section, KeyWithNumber(row.key, numero), std::string());
}

int CRegistre::GetFusionType() { return ReadIntegerSetting(Setting::FusionType); }
void CRegistre::SetFusionType(int value) { WriteIntegerSetting(Setting::FusionType, value); }
bool CRegistre::GetFusionEstTableauParLigne() { return ReadBoolSetting(Setting::FusionEstTableauParLigne); }
void CRegistre::SetFusionEstTableauParLigne(bool value) { WriteBoolSetting(Setting::FusionEstTableauParLigne, value); }
bool CRegistre::GetFusionEstTableauParColonne() { return ReadBoolSetting(Setting::FusionEstTableauParColonne); }
void CRegistre::SetFusionEstTableauParColonne(bool value)
{
    WriteBoolSetting(Setting::FusionEstTableauParColonne, value);
}
bool CRegistre::GetFusionEstLibelleTraitement() { return ReadBoolSetting(Setting::FusionEstLibelleTraitement); }
void CRegistre::SetFusionEstLibelleTraitement(bool value)
{
    WriteBoolSetting(Setting::FusionEstLibelleTraitement, value);
}
bool CRegistre::GetFusionEstVersDossier() { return ReadBoolSetting(Setting::FusionEstVersDossier); }
void CRegistre::SetFusionEstVersDossier(bool value) { WriteBoolSetting(Setting::FusionEstVersDossier, value); }
bool CRegistre::GetFusionIsEmptyLinePerQuestion() { return ReadBoolSetting(Setting::FusionIsEmptyLinePerQuestion); }
void CRegistre::SetFusionIsEmptyLinePerQuestion(bool value)
{
    WriteBoolSetting(Setting::FusionIsEmptyLinePerQuestion, value);
}
