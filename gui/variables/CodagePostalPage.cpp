#include "gui/variables/CodagePostalPage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "gui/requests/SelQuestionDlg.h"
#include "variables/CodagePostal.h"
#include "variables/ConstructionVariable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

constexpr int kShortWidth = 50;
constexpr int kLongWidth = 320;

const char* const kLevelCaptions[] = {"Catégorie", "Groupe", "Type"};

} // namespace

CCodagePostalPage::CCodagePostalPage(CContexteEtude& context, QWidget* parent)
    : CPanneauVariable(parent), m_context(context), m_level(CodagePostal::kType), m_name(new QLabel(this)),
      m_pick(new QPushButton(QStringLiteral("..."), this)),
      m_longTexts(new QCheckBox(QStringLiteral("Utiliser le libellé long"), this)),
      m_list(new QTreeWidget(this)) {
    m_pick->setObjectName(QStringLiteral("question"));
    m_pick->setAutoDefault(false);
    m_name->setFrameShape(QFrame::StyledPanel);
    m_name->setMinimumWidth(240);
    auto* question = new QHBoxLayout();
    auto* caption = new QLabel(QStringLiteral("&Question des codes postaux :"), this);
    caption->setBuddy(m_pick);
    question->addWidget(caption);
    question->addWidget(m_name, 1);
    question->addWidget(m_pick);

    auto* levels = new QGroupBox(QStringLiteral("Type de classification"), this);
    auto* levelRow = new QHBoxLayout(levels);
    auto* group = new QButtonGroup(this);
    for (int level = 0; level < 3; ++level) {
        m_levels[level] = new QRadioButton(QString::fromUtf8(kLevelCaptions[level]), levels);
        group->addButton(m_levels[level], level);
        levelRow->addWidget(m_levels[level]);
    }
    levelRow->addStretch(1);
    m_levels[m_level]->setChecked(true);
    m_longTexts->setChecked(true);

    m_list->setHeaderLabels({QStringLiteral("Court"), QStringLiteral("Long")});
    m_list->setRootIsDecorated(false);
    m_list->header()->resizeSection(0, kShortWidth);
    m_list->header()->resizeSection(1, kLongWidth);
    m_list->header()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(question);
    layout->addWidget(levels);
    layout->addWidget(m_longTexts);
    layout->addWidget(m_list, 1);

    connect(m_pick, &QPushButton::clicked, this, &CCodagePostalPage::OnChoisir);
    connect(group, &QButtonGroup::idClicked, this, &CCodagePostalPage::OnNiveau);
    // The dialog builds every page when it opens: a file that cannot be read is reported only
    // once this page is used.
    Remplir(false);
}

QRadioButton& CCodagePostalPage::NiveauButton(int level) const {
    return *m_levels[std::clamp(level, 0, 2)];
}

// The captions of the current level; a file that cannot be read leaves the list empty.
void CCodagePostalPage::Remplir(bool report) {
    m_list->clear();
    if (CRegistre::GetPostcodePath().empty())
        return;
    std::vector<CodagePostal::Libelle> entries;
    Message error;
    if (!CodagePostal::LireLibelles(CRegistre::GetLabelPath(m_level + 1), entries, error)) {
        if (report)
            m_context.GetUserInterface().ShowMessage(error, UserInterface::Icon::Warning);
        return;
    }
    for (const CodagePostal::Libelle& entry : entries)
        new QTreeWidgetItem(m_list,
                            {QString::fromStdString(entry.court), QString::fromStdString(entry.long_)});
    // Codes longer than the column's width are shown whole.
    m_list->resizeColumnToContents(0);
    m_list->header()->resizeSection(0, std::max(kShortWidth, m_list->header()->sectionSize(0)));
}

void CCodagePostalPage::OnNiveau(int level) {
    m_level = level;
    Remplir(true);
}

void CCodagePostalPage::OnChoisir() {
    CSelQuestionDlg picker(CSelQuestionDlg::kOuvertes, m_question, this);
    if (picker.exec() != QDialog::Accepted || picker.GetQuestion() == nullptr)
        return;
    m_question = picker.GetQuestion();
    m_name->setText(QString::fromStdString(m_question->name));
}

void CCodagePostalPage::Charger(const CQuestionCalculee& definition) {
    std::int32_t stored = 0;
    if (!CStaticTools::EstLong(definition.definition, stored))
        return;
    m_question = definition.source1;
    m_name->setText(m_question != nullptr ? QString::fromStdString(m_question->name) : QString());
    const CodagePostal::Choix choice = CodagePostal::LireDefinition(stored);
    m_level = choice.niveau;
    m_levels[m_level]->setChecked(true);
    m_longTexts->setChecked(choice.libelleLong);
    Remplir(true);
}

bool CCodagePostalPage::Verifier() {
    UserInterface& ui = m_context.GetUserInterface();
    int refused = 0;
    if (m_question == nullptr)
        refused = StringTable::kSelectionnerQuestion;
    else if (!m_question->EstOuverte())
        refused = StringTable::kSelectionnerQuestionOuverte;
    else if (!EstDansNiveau(*m_question, 0, m_context))
        refused = StringTable::kQuestionNiveauInterviews;
    if (refused != 0)
        ui.ShowMessage(Message(refused), UserInterface::Icon::Warning);
    return refused == 0;
}

void CCodagePostalPage::DonnerParties(PartiesVariable& parts) const {
    parts.source1 = m_question;
    const bool longTexts = m_longTexts->isChecked();
    parts.definition = std::to_string(CodagePostal::EcrireDefinition({m_level, longTexts}));
    parts.themes.clear();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        std::string caption = m_list->topLevelItem(i)->text(longTexts ? 1 : 0).toStdString();
        std::replace(caption.begin(), caption.end(), '|', '/');
        parts.themes += caption + "|";
    }
}
