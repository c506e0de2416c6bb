#include "gui/openanswers/BibliothequeMotsOutilsDlg.h"

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "openanswers/Tokenizer.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace {
constexpr int kWordRole = Qt::UserRole;
constexpr int kMaximumLength = 50;
} // namespace

CBibliothequeMotsOutilsDlg::CBibliothequeMotsOutilsDlg(SaisieMot askWord, Confirmation confirm, QWidget* parent)
    : QDialog(parent), m_askWord(std::move(askWord)), m_confirm(std::move(confirm)), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Bibliothèque des mots outils"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* add = new QPushButton(this);
    add->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    add->setToolTip(QStringLiteral("Ajouter"));
    auto* remove = new QPushButton(this);
    remove->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    remove->setToolTip(QStringLiteral("Enlever"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Annuler"), QDialogButtonBox::RejectRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 3, 1);
    layout->addWidget(add, 0, 1);
    layout->addWidget(remove, 1, 1);
    layout->setRowStretch(2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    connect(add, &QPushButton::clicked, this, [this] { OnAjouter(); });
    connect(remove, &QPushButton::clicked, this, [this] { OnEnlever(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CBibliothequeMotsOutilsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBibliothequeMotsOutilsDlg::reject);

    CDBQuestionnaire::LireMotsVides(m_words);
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(m_words[i]), m_list);
        item->setData(kWordRole, static_cast<int>(i));
    }
}

CBibliothequeMotsOutilsDlg::~CBibliothequeMotsOutilsDlg() = default;

void CBibliothequeMotsOutilsDlg::OnAjouter() {
    std::string typed;
    if (!m_askWord || !m_askWord(typed))
        return;
    const std::string word = Tokenizer::ReplierTexte(QString::fromStdString(typed).left(kMaximumLength).toStdString());
    if (word.empty())
        return;
    const QString text = QString::fromStdString(word);
    QListWidgetItem* found = nullptr;
    for (int i = 0; i < m_list->count() && found == nullptr; ++i)
        if (m_list->item(i)->text() == text)
            found = m_list->item(i);
    if (found == nullptr) {
        m_added.push_back(word);
        m_words.push_back(word);
        found = new QListWidgetItem(text, m_list);
        found->setData(kWordRole, static_cast<int>(m_words.size() - 1));
    }
    m_list->clearSelection();
    found->setSelected(true);
    m_list->setCurrentItem(found, QItemSelectionModel::NoUpdate);
    m_list->scrollToItem(found);
}

void CBibliothequeMotsOutilsDlg::OnEnlever() {
    if (m_list->selectedItems().isEmpty() || !m_confirm || !m_confirm())
        return;
    for (int i = m_list->count() - 1; i >= 0; --i) {
        QListWidgetItem* item = m_list->item(i);
        if (!item->isSelected())
            continue;
        const std::string& word = m_words[static_cast<std::size_t>(item->data(kWordRole).toInt())];
        const auto added = std::find(m_added.begin(), m_added.end(), word);
        if (added != m_added.end())
            m_added.erase(added);
        else
            m_removed.push_back(word);
        delete item;
    }
}

// A library that cannot be written keeps the dialog open, the changes still to be written.
void CBibliothequeMotsOutilsDlg::accept() {
    if (!CDBQuestionnaire::SauverMotsVides(m_added, m_removed)) {
        if (CContexteEtude* context = GetContexte())
            context->GetUserInterface().ShowMessage(Message(StringTable::kBibliothequeMotsOutilsImpossible),
                                                    UserInterface::Icon::Warning);
        return;
    }
    QDialog::accept();
}

void CBibliothequeMotsOutilsDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert) {
        OnAjouter();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        OnEnlever();
        return;
    }
    QDialog::keyPressEvent(event);
}
