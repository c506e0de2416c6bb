#pragma once

#include "app/Message.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CElementDossier;
class CMapping;

// A whole portfolio out of the program: the elements in the order of its tree, each with its
// depth. Files are made whole or not at all, never over the open questionnaire (ExportFile);
// each export answers false with the reason when its file cannot be made.
namespace ExportsDossier {

// What draws a map as a square PNG picture; the windows' layer installs it (the core draws
// nothing). Empty for none: maps then export their heading alone.
using ImageMapping = std::function<std::vector<std::uint8_t>(const CMapping&)>;
void SetImageMapping(ImageMapping draw);

// One RTF document: a heading per element in the style "Titre n" of its depth (n = depth + 1,
// Times New Roman, 15 - n points but never under 8), then each table below its heading (a chart
// element's chart as a picture, when the program has installed its ChartPictures) and each map
// that the portfolio holds as a square picture 158 mm wide; pages landscape when a table's
// presentation asks for it.
bool ExporterWord(const std::vector<const CElementDossier*>& elements, const std::string& path,
                  const std::string& questionnairePath, Message& error);

// One workbook holding the tables (not the charts) under their element's name, which also names
// their sheet when each table has a sheet of its own (the "Excel" settings).
bool ExporterClasseur(const std::vector<const CElementDossier*>& elements, const std::string& path,
                      const std::string& questionnairePath, Message& error);
// What the analyst is told after that export when the portfolio holds more than tables (charts,
// maps, dendrograms): the workbook leaves them out, and they are named one a line. None when
// every element but the chapters went into it.
std::optional<Message> ElementsHorsClasseur(const std::vector<const CElementDossier*>& elements);

// One text file: every element's name on its line; below a table's name, its base line when it
// shows one, "NombreLigneApresTitre" empty lines, then its rows between the markers of the
// "Tableau" settings as the text export of a table writes them. Every line end is CR LF.
bool ExporterAscii(const std::vector<const CElementDossier*>& elements, const std::string& path,
                   const std::string& questionnairePath, Message& error);
// The text ExporterAscii writes.
std::string TexteAscii(const std::vector<const CElementDossier*>& elements);

} // namespace ExportsDossier
