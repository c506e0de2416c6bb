#include "gui/requests/NamedProfiles.h"

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "tabulation/Profil.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

using ListFn = bool (CDBQuestionnaire::*)(std::vector<std::unique_ptr<CIdName>>&);
using ReadFn = bool (CDBQuestionnaire::*)(std::int32_t, CProfil&);
using SaveFn = bool (CDBQuestionnaire::*)(std::int32_t&, CProfil&);
using RemoveFn = bool (CDBQuestionnaire::*)(std::int32_t);

// Each operation on a database object of its own, made for the call.
NamedProfiles::Store StoreOf(CContexteEtude& context, ListFn list, ReadFn read, SaveFn save, RemoveFn remove) {
    NamedProfiles::Store store;
    store.list = [&context, list](std::vector<std::unique_ptr<CIdName>>& out, std::string& error) {
        CDBQuestionnaire db(context);
        const bool done = (db.*list)(out);
        error = db.GetLastError();
        return done;
    };
    store.read = [&context, read](std::int32_t id, CProfil& profile, std::string& error) {
        CDBQuestionnaire db(context);
        const bool done = (db.*read)(id, profile);
        error = db.GetLastError();
        return done;
    };
    store.save = [&context, save](std::int32_t& id, CProfil& profile, std::string& error) {
        CDBQuestionnaire db(context);
        const bool done = (db.*save)(id, profile);
        error = db.GetLastError();
        return done;
    };
    store.remove = [&context, remove](std::int32_t id, std::string& error) {
        CDBQuestionnaire db(context);
        const bool done = (db.*remove)(id);
        error = db.GetLastError();
        return done;
    };
    return store;
}

using ReadPairFn = bool (CDBQuestionnaire::*)(std::int32_t, CProfil&, CProfil&);
using SavePairFn = bool (CDBQuestionnaire::*)(std::int32_t&, CProfil&, CProfil&);

NamedProfiles::Store PairStoreOf(CContexteEtude& context, CProfil& illustrative, ListFn list, ReadPairFn read,
                                 SavePairFn save, RemoveFn remove) {
    NamedProfiles::Store store = StoreOf(context, list, nullptr, nullptr, remove);
    store.read = [&context, &illustrative, read](std::int32_t id, CProfil& profile, std::string& error) {
        // Both are read after what they hold: they are emptied first.
        profile.RemoveAll();
        illustrative.RemoveAll();
        CDBQuestionnaire db(context);
        const bool done = (db.*read)(id, profile, illustrative);
        error = db.GetLastError();
        return done;
    };
    store.save = [&context, &illustrative, save](std::int32_t& id, CProfil& profile, std::string& error) {
        CDBQuestionnaire db(context);
        const bool done = (db.*save)(id, profile, illustrative);
        error = db.GetLastError();
        return done;
    };
    return store;
}

} // namespace

NamedProfiles::Store NamedProfiles::ProfilsModalites(CContexteEtude& context) {
    return StoreOf(context, &CDBQuestionnaire::GetProfileList, &CDBQuestionnaire::ReadProfile,
                   &CDBQuestionnaire::SaveProfile, &CDBQuestionnaire::DeleteProfile);
}

NamedProfiles::Store NamedProfiles::ProfilsQuestions(CContexteEtude& context) {
    Store store = StoreOf(context, &CDBQuestionnaire::GetNumericProfileList, &CDBQuestionnaire::ReadNumericProfile,
                          &CDBQuestionnaire::SaveNumericProfile, &CDBQuestionnaire::DeleteNumericProfile);
    // The numeric lists are read after what the profile holds: it is emptied first.
    store.read = [read = store.read](std::int32_t id, CProfil& profile, std::string& error) {
        profile.RemoveAll();
        return read(id, profile, error);
    };
    return store;
}

NamedProfiles::Store NamedProfiles::PairesModalites(CContexteEtude& context, CProfil& illustrative) {
    return PairStoreOf(context, illustrative, &CDBQuestionnaire::GetProfileList, &CDBQuestionnaire::ReadAnalysisProfile,
                       &CDBQuestionnaire::SaveAnalysisProfile, &CDBQuestionnaire::DeleteProfile);
}

NamedProfiles::Store NamedProfiles::PairesQuestions(CContexteEtude& context, CProfil& illustrative) {
    return PairStoreOf(context, illustrative, &CDBQuestionnaire::GetNumericProfileList,
                       &CDBQuestionnaire::ReadAnalysisNumericProfile, &CDBQuestionnaire::SaveAnalysisNumericProfile,
                       &CDBQuestionnaire::DeleteNumericProfile);
}

NamedProfiles::NamedProfiles(CContexteEtude& context, Store store, Trees trees, QComboBox& names,
                             QPushButton& nouveau, QPushButton& supprimer, QWidget& dialog)
    : QObject(&dialog), m_context(context), m_store(std::move(store)), m_trees(std::move(trees)), m_names(names),
      m_dialog(dialog) {
    m_names.setEditable(true);
    m_names.setInsertPolicy(QComboBox::NoInsert);
    m_names.lineEdit()->setMaxLength(kMaxName);
    connect(&m_names, &QComboBox::currentIndexChanged, this, &NamedProfiles::OnSelection);
    connect(m_names.lineEdit(), &QLineEdit::textEdited, this, &NamedProfiles::OnNameEdited);
    connect(&nouveau, &QPushButton::clicked, this, &NamedProfiles::Nouveau);
    connect(&supprimer, &QPushButton::clicked, this, &NamedProfiles::Supprimer);
}

void NamedProfiles::Warn(const std::string& text) const {
    m_context.GetUserInterface().ShowMessage(Message::Text(text), UserInterface::Icon::Warning);
}

std::int32_t NamedProfiles::IdAt(int index) const {
    return index >= 0 && index < m_names.count() ? m_names.itemData(index).toInt() : kAucun;
}

void NamedProfiles::SelectQuietly(int index) {
    const QSignalBlocker quiet(&m_names);
    m_names.setCurrentIndex(index);
    m_currentIndex = index;
}

void NamedProfiles::RestoreName() {
    const QSignalBlocker quiet(&m_names);
    const int index = m_names.findText(QString::fromStdString(m_currentName), Qt::MatchExactly);
    m_names.setCurrentIndex(index >= 0 ? index : m_currentIndex);
    m_names.lineEdit()->setText(QString::fromStdString(m_currentName));
}

// ---- Opening and loading ----------------------------------------------------------------------

bool NamedProfiles::Ouvrir(const CProfil& given) {
    std::vector<std::unique_ptr<CIdName>> entries;
    std::string error;
    const bool listed = m_store.list(entries, error);
    if (!listed) {
        Warn(error);
        entries.clear();
        entries.push_back(std::make_unique<CIdName>(kAucun, "{Aucun}"));
    }
    int chosen = 0;
    {
        const QSignalBlocker quiet(&m_names);
        m_names.clear();
        for (const auto& entry : entries) {
            if (entry->id == given.id && given.id != kAucun)
                chosen = m_names.count();
            m_names.addItem(QString::fromStdString(entry->name), entry->id);
        }
    }
    SelectQuietly(chosen);
    const bool named = given.id != kAucun && IdAt(chosen) == given.id;
    if (!named)
        m_trees.show(given);
    Charger();
    return listed;
}

void NamedProfiles::Charger() {
    m_currentId = IdAt(m_currentIndex);
    QLineEdit& name = *m_names.lineEdit();
    if (m_currentId == kAucun) {
        m_currentName = m_names.count() > 0 ? m_names.itemText(0).toStdString() : std::string();
        name.setText(QString::fromStdString(m_currentName));
        name.setReadOnly(true);
        m_modified = false;
        return;
    }
    name.setReadOnly(false);
    if (m_currentId == kNouveau) {
        m_currentName = m_names.itemText(m_currentIndex).toStdString();
        name.setText(QString::fromStdString(m_currentName));
        return;
    }
    CProfil stored;
    std::string error;
    if (!m_store.read(m_currentId, stored, error)) {
        Warn(error);
        return;
    }
    m_currentName = stored.label;
    name.setText(QString::fromStdString(m_currentName));
    m_trees.show(stored);
    m_modified = false;
}

// ---- Changes ----------------------------------------------------------------------------------

void NamedProfiles::Modifier() {
    if (m_currentId != kAucun)
        m_modified = true;
}

void NamedProfiles::OnNameEdited() {
    if (m_currentId == kAucun)
        return;
    m_currentName = m_names.lineEdit()->text().toStdString();
    m_modified = true;
}

bool NamedProfiles::SettleChanges(bool forOk) {
    if (!m_modified)
        return true;
    switch (m_context.GetUserInterface().AskYesNoCancel(Message(StringTable::kSauvegarderModifications))) {
    case UserInterface::Reply::Cancel:
        RestoreName();
        return false;
    case UserInterface::Reply::Yes:
        if (!Sauvegarder()) {
            RestoreName();
            return false;
        }
        return true;
    case UserInterface::Reply::No:
        DropNewEntry();
        if (forOk) {
            SelectQuietly(0);
            m_modified = false;
            Charger();
        }
        return true;
    }
    return false;
}

void NamedProfiles::DropNewEntry() {
    if (m_currentIndex < 0 || IdAt(m_currentIndex) != kNouveau)
        return;
    const QSignalBlocker quiet(&m_names);
    m_names.removeItem(m_currentIndex);
    m_currentIndex = -1;
}

void NamedProfiles::OnSelection(int index) {
    if (index == m_currentIndex)
        return;
    // The list shows the entry left until its changes are settled.
    const std::int32_t wanted = IdAt(index);
    const QString wantedName = m_names.itemText(index);
    SelectQuietly(m_currentIndex);
    m_names.lineEdit()->setText(QString::fromStdString(m_currentName));
    if (!SettleChanges(false))
        return;
    int found = -1;
    for (int i = 0; i < m_names.count() && found < 0; ++i)
        if (IdAt(i) == wanted && m_names.itemText(i) == wantedName)
            found = i;
    SelectQuietly(found);
    m_modified = false;
    Charger();
}

// ---- Buttons ----------------------------------------------------------------------------------

bool NamedProfiles::Sauvegarder() {
    for (int i = 0; i < m_names.count(); ++i) {
        if (i != m_currentIndex && m_names.itemText(i).toStdString() == m_currentName) {
            m_context.GetUserInterface().ShowMessage(Message(StringTable::kNomDejaUtilise),
                                                     UserInterface::Icon::Warning);
            return false;
        }
    }
    CProfil profile;
    if (!m_trees.build(profile))
        return false;
    profile.label = m_currentName;
    profile.id = m_currentId;
    std::int32_t id = m_currentId;
    std::string error;
    if (!m_store.save(id, profile, error)) {
        Warn(error);
        return false;
    }
    {
        const QSignalBlocker quiet(&m_names);
        m_names.setItemText(m_currentIndex, QString::fromStdString(m_currentName));
        m_names.setItemData(m_currentIndex, id);
    }
    m_names.lineEdit()->setText(QString::fromStdString(m_currentName));
    m_currentId = id;
    m_modified = false;
    return true;
}

void NamedProfiles::Nouveau() {
    if (!SettleChanges(false))
        return;
    const QString caption = QString::fromStdString(StringTable::Text(StringTable::kNouveauProfil));
    {
        const QSignalBlocker quiet(&m_names);
        m_names.addItem(caption, kNouveau);
    }
    SelectQuietly(m_names.count() - 1);
    m_names.setFocus();
    Charger();
    m_modified = true;
}

void NamedProfiles::Supprimer() {
    if (m_currentIndex < 0 || m_currentId == kAucun) {
        QApplication::beep();
        return;
    }
    if (!m_context.GetUserInterface().AskYesNo(Message(StringTable::kSupprimerEnregistrement)))
        return;
    if (m_currentId != kNouveau) {
        std::string error;
        if (!m_store.remove(m_currentId, error)) {
            Warn(error);
            return;
        }
    }
    {
        const QSignalBlocker quiet(&m_names);
        m_names.removeItem(m_currentIndex);
    }
    SelectQuietly(0);
    m_modified = false;
    Charger();
}

bool NamedProfiles::Terminer(CProfil& result) {
    if (!SettleChanges(true))
        return false;
    CProfil built;
    if (!m_trees.build(built))
        return false;
    built.label = m_currentName;
    built.id = m_currentId;
    result = built;
    return true;
}
