#include "shell/QuestionListWindow.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTreeWidget>
#include <vector>

#include "platform/questionnaire/Questionnaire.h"

namespace {

const char* KindText(const CQuestion& q) {
    if (q.kind == 0)
        return "Chapitre";
    if (q.kind == 2)
        return "Boucle";
    switch (q.type) {
    case 1: return q.multipleAnswers ? "Fermée multiple" : "Fermée";
    case 3: return "Date";
    case 4: return "Ouverte";
    case 5: return "Numérique";
    case 6: return "Numérique discrète";
    case 7: return "Numérique par intervalles";
    default: return "Question";
    }
}

std::string CaptionOf(const CQuestionnaire& questionnaire, const CQuestion& q) {
    const std::string& shortCaption = q.GetLocalisedShortCaption(questionnaire.language);
    if (!shortCaption.empty())
        return shortCaption;
    return q.GetLocalisedLongCaption(questionnaire.language);
}

} // namespace

QuestionListWindow::QuestionListWindow(QWidget* parent) : QMainWindow(parent), tree_(new QTreeWidget(this)) {
    tree_->setColumnCount(4);
    tree_->setHeaderLabels({tr("Nom"), tr("Libellé"), tr("Code"), tr("Genre")});
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    setCentralWidget(tree_);
    resize(900, 650);
}

void QuestionListWindow::ShowQuestionnaire(const QString& path, const CQuestionnaire& questionnaire) {
    setWindowTitle(QStringLiteral("Morvane - %1").arg(QFileInfo(path).fileName()));
    tree_->clear();
    // The outline is flat with depths: keep the last item of each depth as the parent of deeper ones.
    std::vector<QTreeWidgetItem*> lastAtDepth;
    for (const auto& question : questionnaire.questions) {
        const auto depth = static_cast<std::size_t>(question->depth < 1 ? 1 : question->depth);
        lastAtDepth.resize(depth);
        QTreeWidgetItem* parent = depth >= 2 ? lastAtDepth[depth - 2] : nullptr;
        const QStringList columns{QString::fromStdString(question->name),
                                  QString::fromStdString(CaptionOf(questionnaire, *question)),
                                  QString::number(question->code), QString::fromUtf8(KindText(*question))};
        auto* item = parent ? new QTreeWidgetItem(parent, columns) : new QTreeWidgetItem(tree_, columns);
        lastAtDepth[depth - 1] = item;
    }
    tree_->expandAll();
}
