#include "gui/requests/SelectionnerDlg.h"

#include "app/StringTable.h"
#include "gui/requests/ChosenLine.h"
#include "gui/requests/SelectionButtons.h"

#include <QCollator>
#include <QListWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

// An entry of the list, in the order of a dictionary: neither case nor accents come first.
class NameItem : public QListWidgetItem {
public:
    NameItem(const CIdName& item, QListWidget& list)
        : QListWidgetItem(QString::fromStdString(item.name), &list) {
        setData(Qt::UserRole, item.id);
    }

    bool operator<(const QListWidgetItem& other) const override {
        return Collator().compare(text(), other.text()) < 0;
    }

private:
    static const QCollator& Collator() {
        static const QCollator collator = [] {
            QCollator french{QLocale(QLocale::French, QLocale::France)};
            french.setCaseSensitivity(Qt::CaseInsensitive);
            return french;
        }();
        return collator;
    }
};

} // namespace

CSelectionnerDlg::CSelectionnerDlg(std::vector<CIdName> items, QWidget* parent)
    : QDialog(parent), m_items(std::move(items)), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Sélectionner"));
    m_list->setSortingEnabled(true);
    for (const CIdName& item : m_items)
        new NameItem(item, *m_list);
    m_list->sortItems();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    AddOkCancelButtons(*this, *layout);
}

void CSelectionnerDlg::accept() {
    const std::optional<std::int32_t> id = ChosenLineId(*m_list, StringTable::kSelectionnerElement);
    if (!id)
        return;
    m_chosenId = *id;
    QDialog::accept();
}
