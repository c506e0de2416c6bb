#pragma once

class CContexteEtude;
class QWidget;

// The two exports of the open survey's data that the File menu offers, each into a new
// questionnaire file the analyst names: the interviews of a study field, and a selection of
// questions with the interviews of the current level. The open questionnaire is never the target.
namespace ExportsDonnees {

// "Exporter les interviews d'un champ d'étude...": the file, then the field.
void ExporterInterviewsChampEtude(CContexteEtude& context, QWidget* parent);
// "Exporter une sélection de questions": the questions, then the file.
void ExporterSelectionQuestions(CContexteEtude& context, QWidget* parent);

} // namespace ExportsDonnees
