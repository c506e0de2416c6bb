#include "gui/recodes/StoredEntryDialog.h"

#include "app/ContexteEtude.h"
#include "app/Message.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

StoredEntryDialog::StoredEntryDialog(CContexteEtude& context, std::int32_t idWithoutEntry, QWidget* parent)
    : QDialog(parent), m_context(context), m_names(new QComboBox(this)), m_idWithoutEntry(idWithoutEntry) {
    m_names->setEditable(true);
}

std::int32_t StoredEntryDialog::IdAt(int index) const {
    return index >= 0 && index < m_names->count() ? m_names->itemData(index).toInt() : m_idWithoutEntry;
}

void StoredEntryDialog::SelectQuietly(int index) {
    const QSignalBlocker quiet(m_names);
    m_names->setCurrentIndex(index);
    m_current = index;
}

bool StoredEntryDialog::SettleChanges() {
    if (!m_modified)
        return true;
    switch (m_context.GetUserInterface().AskYesNoCancel(Message(StringTable::kSauvegarderModifications))) {
    case UserInterface::Reply::Cancel:
        return false;
    case UserInterface::Reply::Yes:
        return Enregistrer();
    case UserInterface::Reply::No:
        DropNewEntry();
        m_modified = false;
        return true;
    }
    return false;
}

void StoredEntryDialog::DropNewEntry() {
    if (m_current < 0 || IdAt(m_current) != kNotStored)
        return;
    const QSignalBlocker quiet(m_names);
    m_names->removeItem(m_current);
    m_current = -1;
}

void StoredEntryDialog::OnSelection(int index) {
    if (index == m_current)
        return;
    // The list shows the entry left until the changes are settled.
    SelectQuietly(m_current);
    m_names->lineEdit()->setText(QString::fromStdString(NomAffiche()));
    const std::int32_t wanted = IdAt(index);
    if (!SettleChanges())
        return;
    // A new entry dropped was the last one: the entry wanted keeps its place.
    SelectQuietly(m_names->findData(wanted));
    Charger();
}

void StoredEntryDialog::OnSupprimer() {
    const std::int32_t id = IdAt(m_current);
    if (m_current < 0 || id == m_idWithoutEntry) {
        QApplication::beep();
        return;
    }
    if (!m_context.GetUserInterface().AskYesNo(Message(StringTable::kSupprimerEnregistrement)))
        return;
    std::string error;
    if (!Effacer(id, error)) {
        m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
        return;
    }
    {
        const QSignalBlocker quiet(m_names);
        m_names->removeItem(m_current);
    }
    SelectQuietly(m_names->count() > 0 ? 0 : -1);
    Charger();
}
