#include "export/TableExports.h"

#include <cerrno>
#include <system_error>

#include "app/StringTable.h"
#include "export/ExportFile.h"
#include "export/ExporterTableauExcel.h"
#include "export/FichierRtf.h"
#include "export/TableListExports.h"
#include "export/XlsxSheet.h"
#include "export/XlsxWorkbook.h"
#include "presentation/PoliceAna.h"
#include "tabulation/TableauBase.h"

bool ExporterTableauWord(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                         Message& error) {
    return ExporterTableauxWord({&table}, path, questionnairePath, error);
}

bool ExporterGraphiqueWord(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                           Message& error) {
    CFichierRtf rtf(path);
    if (!rtf.Ouvrir(questionnairePath)) {
        error = rtf.GetErreur();
        return false;
    }
    const std::string normalStyle = StringTable::Text(StringTable::kStyleNormal);
    rtf.AjouterStyle(normalStyle, CFichierRtf::PoliceDeStyle(CFichierRtf::kTailleNormal));
    rtf.EcrireEntete(true);
    rtf.EcrireParagraphe(normalStyle);
    rtf.EcrireFinParagraphe();
    // The writer going away before EcrireFin removes the partial file.
    if (!rtf.EcrireGraphique(table)) {
        error = Message(StringTable::kGraphiqueNonDessine, {table.title, path});
        return false;
    }
    if (!rtf.EcrireFin()) {
        error = rtf.GetErreur();
        return false;
    }
    return true;
}

bool ExporterTableauClasseur(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                             Message& error) {
    ExportFile file(path);
    if (!file.Open(questionnairePath)) {
        error = file.GetError();
        return false;
    }
    XlsxWorkbook workbook(file.TemporaryPath());
    file.HandOver();
    XlsxSheet* sheet = workbook.AddSheet(StringTable::Format(Message(StringTable::kNomFeuilleClasseur, {"1"})));
    std::int32_t row = 0;
    std::string reason;
    if (!sheet) {
        file.Fail(Message(StringTable::kEcritureFichierImpossible, {path, std::generic_category().message(ENOMEM)}));
    } else if (!ExporterTableauExcel(*sheet, table, row)) {
        file.Fail(Message(StringTable::kTableauTropGrandClasseur,
                          {table.title, std::to_string(XlsxWorkbook::kMaxRows), std::to_string(XlsxWorkbook::kMaxColumns)}));
    } else if (!workbook.Close(reason)) {
        file.Fail(Message(StringTable::kEcritureFichierImpossible, {path, reason}));
    }
    if (!file.Commit()) {
        error = file.GetError();
        return false;
    }
    return true;
}

bool ExporterTableauAscii(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                          Message& error) {
    return ExporterTableauxAscii({&table}, path, questionnairePath, error);
}
