#include "export/TableListExports.h"

#include <cerrno>
#include <memory>
#include <system_error>

#include "app/Registre.h"
#include "app/StringTable.h"
#include "export/ExportFile.h"
#include "export/ExporterTableauExcel.h"
#include "export/FichierRtf.h"
#include "export/SheetNames.h"
#include "export/TableTextExport.h"
#include "export/XlsxSheet.h"
#include "export/XlsxWorkbook.h"
#include "presentation/PoliceAna.h"
#include "tabulation/Cellule.h"
#include "tabulation/TableauBase.h"

namespace {

// The last row a sheet of tables one below the other is filled to before a new sheet starts.
constexpr std::int32_t kRowsPerSheet = 32768;

Message TooLarge(const CTableauBase& table) {
    return Message(StringTable::kTableauTropGrandClasseur, {table.title, std::to_string(XlsxWorkbook::kMaxRows),
                                                            std::to_string(XlsxWorkbook::kMaxColumns)});
}

// The look of a table's title in a workbook: the presentation's question font, without lines.
XlsxFormat TitleLook(const CTableauBase& table) {
    const CPoliceAna& font = table.GetPresentation().GetQuestion();
    XlsxFormat look;
    look.face = font.GetNom();
    look.size = font.GetTaille() > 0 ? font.GetTaille() : CPoliceAna::kDefaultSize;
    look.bold = font.GetGras();
    look.italic = font.GetItalique();
    look.underline = font.GetSouligne();
    return look;
}

// Writes the workbook at the export file's temporary name and closes it; the failure of either
// goes to the export file.
bool CloseWorkbook(XlsxWorkbook& workbook, ExportFile& file, const std::string& path) {
    std::string reason;
    if (workbook.Close(reason))
        return true;
    file.Fail(Message(StringTable::kEcritureFichierImpossible, {path, reason}));
    return false;
}

} // namespace

bool ExporterTableauxWord(const std::vector<const CTableauBase*>& tables, const std::string& path,
                          const std::string& questionnairePath, Message& error) {
    CFichierRtf rtf(path);
    if (!rtf.Ouvrir(questionnairePath)) {
        error = rtf.GetErreur();
        return false;
    }
    rtf.AjouterStyle(StringTable::Format(Message(StringTable::kStyleTitre, {"1"})), CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleTitre));
    rtf.AjouterStyle(StringTable::Text(StringTable::kStyleNormal), CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleNormal));
    bool portrait = true;
    std::vector<CPoliceAna> fonts;
    std::vector<CCellule> cells;
    for (const CTableauBase* table : tables) {
        table->DonnerTablePolices(fonts, cells);
        for (const CPoliceAna& font : fonts)
            rtf.FormaterPolice(font);
        portrait = portrait && table->GetPresentation().GetTypePage() == 0;
    }
    cells.clear();
    rtf.EcrireEntete(portrait);
    for (const CTableauBase* table : tables)
        rtf.EcrireTableau(*table, std::string(), std::string());
    if (!rtf.EcrireFin()) {
        error = rtf.GetErreur();
        return false;
    }
    return true;
}

bool ExporterTableauxClasseur(const std::vector<const CTableauBase*>& tables, const std::string& path,
                              const std::string& questionnairePath, Message& error) {
    std::vector<TableauTitre> titled;
    titled.reserve(tables.size());
    for (const CTableauBase* table : tables)
        titled.push_back({table->title, table});
    return ExporterTableauxClasseur(titled, path, questionnairePath, error);
}

bool ExporterTableauxClasseur(const std::vector<TableauTitre>& tables, const std::string& path,
                              const std::string& questionnairePath, Message& error) {
    ExportFile file(path);
    if (!file.Open(questionnairePath)) {
        error = file.GetError();
        return false;
    }
    XlsxWorkbook workbook(file.TemporaryPath());
    file.HandOver();
    const bool sheetPerTable = CRegistre::GetIsOneSheetPerTable();
    SheetNames names;
    int sheetNumber = 0;
    XlsxSheet* sheet = nullptr;
    std::int32_t row = 0;
    for (const TableauTitre& titled : tables) {
        const CTableauBase* table = titled.table;
        const std::int32_t rows = table->DonnerNbLignesEnTete() + table->DonnerNbLignes();
        if (sheetPerTable) {
            sheet = workbook.AddSheet(names.Choose(titled.title));
            row = 0;
        } else if (!sheet || (row > 0 && row + rows + 2 > kRowsPerSheet)) {
            sheet = workbook.AddSheet(StringTable::Format(
                Message(StringTable::kNomFeuilleClasseur, {std::to_string(++sheetNumber)})));
            row = 0;
        }
        if (!sheet) {
            file.Fail(Message(StringTable::kEcritureFichierImpossible, {path, std::generic_category().message(ENOMEM)}));
            break;
        }
        sheet->WriteText(row, 0, titled.title, TitleLook(*table));
        ++row;
        if (!ExporterTableauExcel(*sheet, *table, row)) {
            file.Fail(TooLarge(*table));
            break;
        }
        ++row;
    }
    if (!file.Failed())
        CloseWorkbook(workbook, file, path);
    if (!file.Commit()) {
        error = file.GetError();
        return false;
    }
    return true;
}

bool ExporterTableauxAscii(const std::vector<const CTableauBase*>& tables, const std::string& path,
                           const std::string& questionnairePath, Message& error) {
    ExportFile file(path);
    if (!file.Open(questionnairePath)) {
        error = file.GetError();
        return false;
    }
    std::string text;
    for (const CTableauBase* table : tables) {
        text.clear();
        TableTextExport::Append(*table, text);
        if (!file.Write(text))
            break;
    }
    if (!file.Commit()) {
        error = file.GetError();
        return false;
    }
    return true;
}
