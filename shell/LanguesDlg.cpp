#include "shell/LanguesDlg.h"

#include "app/LanguageNames.h"
#include "gui/requests/SelectionButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CLanguesDlg::CLanguesDlg(const std::vector<CLanguage>& languages, std::int32_t current, QWidget* parent)
    : QDialog(parent), m_languages(languages), m_chosen(current), m_list(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Langues"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Langue"), QStringLiteral("Abbr.")});
    m_list->setRootIsDecorated(false);
    m_list->setColumnWidth(0, kColumnWidth);
    m_list->setColumnWidth(1, kColumnWidth);
    m_list->header()->setStretchLastSection(false);
    m_list->setMinimumWidth(2 * kColumnWidth + 2 * m_list->frameWidth() + 4);
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const std::int32_t id = languages[i].id;
        auto* item = new QTreeWidgetItem(m_list, {QString::fromStdString(LanguageNames::Nom(id)),
                                                  QString::fromStdString(LanguageNames::Abreviation(id))});
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        if (id == current) {
            m_list->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    QDialogButtonBox* buttons = AddOkCancelButtons(*this, *layout);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CLanguesDlg::accept);
}

void CLanguesDlg::accept() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = selected.front()->data(0, Qt::UserRole).toInt();
    m_chosen = m_languages.at(static_cast<std::size_t>(index)).id;
    QDialog::accept();
}
