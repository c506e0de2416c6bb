#include "shell/QuestionListWindow.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTreeWidget>
#include <vector>

#include "app/Enquete.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"

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

QString LevelOf(const CEnquete& survey, const CQuestionEtendue& q) {
    const CQuestionNiveau* level = survey.DonnerNiveau(q.level);
    return level ? QString::fromStdString(level->name) : QString();
}

} // namespace

QuestionListWindow::QuestionListWindow(QWidget* parent) : QMainWindow(parent), tree_(new QTreeWidget(this)) {
    tree_->setColumnCount(5);
    tree_->setHeaderLabels({tr("Nom"), tr("Libellé"), tr("Code"), tr("Genre"), tr("Niveau")});
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    tree_->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    setCentralWidget(tree_);
    resize(900, 650);
}

void QuestionListWindow::ShowSurvey(const QString& path, const CEnquete& survey) {
    setWindowTitle(QStringLiteral("Morvane - %1").arg(QFileInfo(path).fileName()));
    tree_->clear();
    // The outline is flat with depths: keep the last item of each depth as the parent of deeper ones.
    std::vector<QTreeWidgetItem*> lastAtDepth;
    for (const auto& question : survey.questions) {
        const auto depth = static_cast<std::size_t>(question->depth < 1 ? 1 : question->depth);
        lastAtDepth.resize(depth);
        QTreeWidgetItem* parent = depth >= 2 ? lastAtDepth[depth - 2] : nullptr;
        const QStringList columns{QString::fromStdString(question->name),
                                  QString::fromStdString(question->GetCaption()),
                                  QString::number(question->code), QString::fromUtf8(KindText(*question)),
                                  LevelOf(survey, *question)};
        auto* item = parent ? new QTreeWidgetItem(parent, columns) : new QTreeWidgetItem(tree_, columns);
        lastAtDepth[depth - 1] = item;
    }
    tree_->expandAll();
}
