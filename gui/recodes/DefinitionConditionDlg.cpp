#include "gui/recodes/DefinitionConditionDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/WindowSize.h"
#include "gui/recodes/ConditionModaliteDlg.h"
#include "gui/recodes/ConditionNumeriqueDlg.h"
#include "gui/recodes/ListesEntieres.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

namespace {

int IndexOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, Qt::UserRole).toInt() : CDefinitionConditionDlg::kAucune;
}

} // namespace

CDefinitionConditionDlg::CDefinitionConditionDlg(CContexteEtude& context, const CChampCondition& condition,
                                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_condition(condition), m_tree(new QTreeWidget(this)),
      m_pages(new QStackedWidget(this)), m_none(new QWidget(m_pages)),
      m_numeric(new CConditionNumeriqueDlg(m_condition, m_pages)),
      m_modality(new CConditionModaliteDlg(m_condition, m_pages)) {
    setWindowTitle(QStringLiteral("Définition d'une condition"));
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    m_pages->addWidget(m_none);
    m_pages->addWidget(m_numeric);
    m_pages->addWidget(m_modality);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("A&nnuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDefinitionConditionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDefinitionConditionDlg::reject);

    auto* body = new QHBoxLayout();
    body->addWidget(m_tree);
    body->addWidget(m_pages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    Remplir();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CDefinitionConditionDlg::OnSelection);
    OnSelection();
    WindowSize::FitContentsToScreen(*this);
}

CDefinitionConditionDlg::~CDefinitionConditionDlg() = default;

void CDefinitionConditionDlg::Remplir() {
    auto* none = new QTreeWidgetItem(m_tree);
    none->setText(0, QStringLiteral("Aucune"));
    none->setIcon(0, m_icons.GetImage(kImageAucune));
    none->setData(0, Qt::UserRole, kAucune);
    QTreeWidgetItem* current = none;
    // The most recent item of each outline depth: a question goes under the last one above it.
    std::map<int, QTreeWidgetItem*> lastOfDepth;
    for (int index = 0; index < m_context.DonnerNbreQuestions(); ++index) {
        const CQuestionEtendue& question = *m_context.DonnerQuestion(index);
        auto* item = new QTreeWidgetItem();
        item->setText(0, QString::fromStdString(question.name));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(question)));
        item->setData(0, Qt::UserRole, index);
        const auto parent = lastOfDepth.find(question.depth - 1);
        if (question.depth > 1 && parent != lastOfDepth.end())
            parent->second->addChild(item);
        else
            m_tree->addTopLevelItem(item);
        lastOfDepth[question.depth] = item;
        if (&question == m_condition.question)
            current = item;
    }
    CUtilArbre::DeplierTout(*m_tree, nullptr);
    m_tree->setCurrentItem(current);
    ListesEntieres::Ajuster(*m_tree);
}

void CDefinitionConditionDlg::SelectionnerQuestion(const CQuestionEtendue* question) {
    int wanted = kAucune;
    if (question != nullptr && !m_context.TrouverIndexQuestion(question, wanted))
        wanted = kAucune;
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it)
        if (IndexOf(*it) == wanted) {
            m_tree->setCurrentItem(*it);
            return;
        }
}

QWidget* CDefinitionConditionDlg::PageAffichee() const {
    QWidget* shown = m_pages->currentWidget();
    return shown == m_none ? nullptr : shown;
}

void CDefinitionConditionDlg::OnSelection() {
    CQuestionEtendue* question = m_context.DonnerQuestion(IndexOf(m_tree->currentItem()));
    if (question != nullptr && question->EstFermee()) {
        m_condition.SetQuestion(question);
        m_modality->Afficher();
        m_pages->setCurrentWidget(m_modality);
    } else if (question != nullptr && question->EstNumeriqueLibre()) {
        m_condition.SetQuestion(question);
        m_numeric->Afficher();
        m_pages->setCurrentWidget(m_numeric);
    } else {
        m_condition.SetQuestion(nullptr);
        m_pages->setCurrentWidget(m_none);
    }
}

void CDefinitionConditionDlg::accept() {
    UserInterface& ui = m_context.GetUserInterface();
    if (m_condition.question == nullptr) {
        if (IndexOf(m_tree->currentItem()) != kAucune) {
            ui.ShowMessage(Message(StringTable::kSelectionnerQuestionAutorisee),
                           UserInterface::Icon::Warning);
            return;
        }
    } else if (m_condition.question->EstNumeriqueLibre() && !m_numeric->Valider(ui)) {
        return;
    }
    QDialog::accept();
}
