#pragma once

#include <string>

#include "app/Message.h"

class CTableauBase;

// The exports of one result table, as the table window, the portfolio and qesrun call them.
//
// Each writes the whole file under a temporary name in the target's folder and renames it over the
// target when complete; on failure it removes the partial file and answers false with `error` set
// (message id and arguments: the path and the system's reason). A target that is the open
// questionnaire (same canonical path as `questionnairePath`, which may be empty) or a folder is
// refused.

// An RTF document for a word processor: the styles "Titre 1" (Times New Roman 12) and "Normal"
// (Times New Roman 10), every font of the table, portrait pages when the presentation's TypePage
// is 0 (landscape otherwise), then the table cut into the pieces that the "Tableau" settings of
// lines and columns per table allow.
bool ExporterTableauWord(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                         Message& error);

// The table's chart as an RTF document: the chart as a picture of 158 x 105 mm drawn by the
// installed ChartPictures, on a portrait page. Without a painter, or when the picture cannot be
// drawn, nothing is written and the answer is false with the reason (a document without its
// chart would pass for the export).
bool ExporterGraphiqueWord(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                           Message& error);

// A workbook (.xlsx) of one sheet, "Feuil1", holding the table from its first row.
bool ExporterTableauClasseur(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                             Message& error);

// Tab-separated text with CR LF line ends and the markers of the "Tableau" settings
// (TableTextExport).
bool ExporterTableauAscii(const CTableauBase& table, const std::string& path, const std::string& questionnairePath,
                          Message& error);
