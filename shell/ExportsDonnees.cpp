#include "shell/ExportsDonnees.h"

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "framework/FileDialog.h"
#include "recodes/AppliquerChampEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "shell/ListeQuestionsDlg.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <string>

namespace ExportsDonnees {
namespace {

// Whatever way the two paths are written (links, "..").
bool MemeFichier(const std::string& left, const std::string& right) {
    const QString a = QFileInfo(QString::fromStdString(left)).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(QString::fromStdString(right)).canonicalFilePath();
}

void Signaler(CContexteEtude& context, const Message& message) {
    context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Error);
}

// The new questionnaire file the analyst names; none on Cancel. The open questionnaire is
// refused before anything else is asked; replacing another file is asked in the program's words.
std::optional<std::string> ChoisirFichier(CContexteEtude& context, QWidget* parent) {
    CFileDialog dialog(CFileDialog::Mode::kSave, QStringLiteral("qes"),
                       QString::fromStdString(StringTable::Text(StringTable::kFichiersQes)), parent);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.GetPathName().isEmpty())
        return std::nullopt;
    const std::string path = QDir::toNativeSeparators(dialog.GetPathName()).toStdString();
    if (MemeFichier(path, context.DonnerCheminBase())) {
        Signaler(context, Message(StringTable::kSelectionnerFichierDifferent));
        return std::nullopt;
    }
    if (QFileInfo::exists(QString::fromStdString(path)) &&
        !context.GetUserInterface().AskYesNo(Message(StringTable::kRemplacerFichier, {path})))
        return std::nullopt;
    return path;
}

} // namespace

void ExporterInterviewsChampEtude(CContexteEtude& context, QWidget* parent) {
    const std::optional<std::string> target = ChoisirFichier(context, parent);
    if (!target)
        return;
    CChampEtudeDlg fields(context, context.universeCode, parent);
    if (fields.exec() != QDialog::Accepted)
        return;
    CVecteurDouble membership(context.DonnerNbreInterviews());
    membership.Remplir(1.0);
    std::string error;
    if (!AppliquerChampEtude(fields.DonnerChampChoisi().id, 0, membership, context, error)) {
        Signaler(context, Message::Text(error));
        return;
    }
    // The export tells the user of its own failures.
    CDataAccess access(context, false);
    access.ExporterInterviewsChampEtude(*target, membership);
}

void ExporterSelectionQuestions(CContexteEtude& context, QWidget* parent) {
    CListeQuestionsDlg questions(context, parent);
    if (questions.exec() != QDialog::Accepted)
        return;
    std::vector<std::uint32_t> positions;
    bool withVersion = false;
    int version = 0;
    questions.GetResult(positions, withVersion, version);
    const std::optional<std::string> target = ChoisirFichier(context, parent);
    if (!target)
        return;
    CDataAccess access(context, false);
    access.ExporterSelectionQuestions(*target, positions, withVersion, version, context.currentLevel);
}

} // namespace ExportsDonnees
