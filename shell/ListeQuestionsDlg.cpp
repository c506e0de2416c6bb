#include "shell/ListeQuestionsDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "gui/requests/SelectionButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kListHeight = 300;

int PositionOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toInt();
}

QPushButton* NewMoveButton(QStyle::StandardPixmap icon, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CListeQuestionsDlg::CListeQuestionsDlg(CContexteEtude& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_available(NewList(QStringLiteral("Non sélectionné"))),
      m_chosen(NewList(QStringLiteral("Sélectionné"))), m_add(NewMoveButton(QStyle::SP_ArrowRight, this)),
      m_remove(NewMoveButton(QStyle::SP_ArrowLeft, this)), m_addAll(NewMoveButton(QStyle::SP_MediaSeekForward, this)),
      m_removeAll(NewMoveButton(QStyle::SP_MediaSeekBackward, this)),
      m_addVersion(new QCheckBox(QStringLiteral("Ajouter une question pour le numero de &version"), this)),
      m_version(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("Liste de questions"));
    m_version->setRange(kVersionMinimum, kVersionMaximum);
    m_version->setValue(kVersionMinimum);
    m_version->setEnabled(false);

    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* button : {m_add, m_remove, m_addAll, m_removeAll})
        moves->addWidget(button);
    moves->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_available);
    lists->addLayout(moves);
    lists->addWidget(m_chosen);
    auto* version = new QHBoxLayout;
    version->addWidget(m_addVersion);
    version->addWidget(m_version);
    version->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(version);
    QDialogButtonBox* buttons = AddOkCancelButtons(*this, *layout);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);

    connect(m_add, &QPushButton::clicked, this, [this] { Deplacer(*m_available, *m_chosen, false); });
    connect(m_remove, &QPushButton::clicked, this, [this] { Deplacer(*m_chosen, *m_available, false); });
    connect(m_addAll, &QPushButton::clicked, this, [this] { Deplacer(*m_available, *m_chosen, true); });
    connect(m_removeAll, &QPushButton::clicked, this, [this] { Deplacer(*m_chosen, *m_available, true); });
    connect(m_addVersion, &QCheckBox::toggled, m_version, &QSpinBox::setEnabled);
    Remplir();
}

QTreeWidget* CListeQuestionsDlg::NewList(const QString& title) {
    auto* list = new QTreeWidget(this);
    list->setColumnCount(1);
    list->setHeaderLabels({title});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    list->setMinimumSize(kColumnWidth + 2 * list->frameWidth(), kListHeight);
    return list;
}

void CListeQuestionsDlg::Remplir() {
    for (int position = 0; position < m_context.DonnerNbreQuestions(); ++position) {
        const CQuestionEtendue& question = *m_context.DonnerQuestion(position);
        if (question.kind == 0 || !EstDansNiveauDe(question, m_context))
            continue;
        auto* item = new QTreeWidgetItem(m_available, {QString::fromStdString(question.name)});
        item->setIcon(0, m_images.GetImage(CUtilArbre::GetImageQuestion(question)));
        item->setData(0, Qt::UserRole, position);
    }
}

void CListeQuestionsDlg::Deplacer(QTreeWidget& from, QTreeWidget& to, bool all) {
    std::vector<QTreeWidgetItem*> moving;
    for (int row = 0; row < from.topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = from.topLevelItem(row);
        if (all || item->isSelected())
            moving.push_back(item);
    }
    to.clearSelection();
    for (QTreeWidgetItem* item : moving) {
        from.takeTopLevelItem(from.indexOfTopLevelItem(item));
        to.addTopLevelItem(item);
        item->setSelected(false);
    }
    TrierParIndex(to);
}

void CListeQuestionsDlg::TrierParIndex(QTreeWidget& list) {
    std::vector<QTreeWidgetItem*> items;
    while (list.topLevelItemCount() > 0)
        items.push_back(list.takeTopLevelItem(0));
    std::stable_sort(items.begin(), items.end(),
                     [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return PositionOf(*a) < PositionOf(*b); });
    for (QTreeWidgetItem* item : items)
        list.addTopLevelItem(item);
}

void CListeQuestionsDlg::accept() {
    if (m_chosen->topLevelItemCount() == 0) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneQuestion),
                                                 UserInterface::Icon::Warning);
        return;
    }
    m_result.clear();
    for (int row = 0; row < m_chosen->topLevelItemCount(); ++row)
        m_result.push_back(static_cast<std::uint32_t>(PositionOf(*m_chosen->topLevelItem(row))));
    QDialog::accept();
}

void CListeQuestionsDlg::GetResult(std::vector<std::uint32_t>& positions, bool& addVersion, int& version) const {
    positions = m_result;
    addVersion = m_addVersion->isChecked();
    version = m_version->value();
}
