#include "gui/requests/ProfilModalitesDlg.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "framework/MultiTree.h"
#include "framework/WindowSize.h"
#include "gui/requests/NamedProfiles.h"
#include "gui/requests/ModalityTreeMoves.h"
#include "gui/requests/ProfileDialogFrame.h"
#include "tabulation/MoteurTableau.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using Trees = ModalityTreeMoves;

constexpr int kSeparator = Trees::kSeparator;
constexpr int kSeparatorIcon = 20;
// Indexes 0 and 1 of the modality array are never used by an item: -1 marks a separator.
constexpr int kBlankModalities = 2;
constexpr int kNonReponse = -1;
constexpr int kNonInterroge = -2;

int DataOf(const QTreeWidgetItem& item) {
    return Trees::DataOf(item);
}

bool IsModalityItem(const QTreeWidgetItem& item) {
    return Trees::IsModalityItem(item);
}

// The buttons between the trees, from the top.
constexpr ProfileButtonSpec kMoveButtons[] = {
    {CProfilModalitesDlg::kVersProfil, ">", "Ajouter la sélection au profil (Alt+Droite)"},
    {CProfilModalitesDlg::kToutVersProfil, ">>", "Ajouter toutes les questions du niveau"},
    {CProfilModalitesDlg::kRetour, "<", "Retirer la sélection du profil (Alt+Gauche)"},
    {CProfilModalitesDlg::kToutRetour, "<<", "Retirer toutes les lignes du profil"},
};

// The buttons beside the profile tree, from the top.
constexpr ProfileButtonSpec kLineButtons[] = {
    {CProfilModalitesDlg::kMonter, "▲", "Monter la ligne (Alt+Haut)"},
    {CProfilModalitesDlg::kDescendre, "▼", "Descendre la ligne (Alt+Bas)"},
    {CProfilModalitesDlg::kSansManquantes, "NR", "Enlever les non-réponses et les non-interrogés"},
    {CProfilModalitesDlg::kSeparateur, "—", "Insérer une ligne de séparation"},
};

// The display options' toggles, by the modality's option: its letter and its key with Alt.
struct OptionToggle {
    const char* letter;
    Qt::Key key;
    const char* tip;
};
constexpr std::array<OptionToggle, 4> kToggles{{
    {"B", Qt::Key_B, "Gras (Alt+B)"},
    {"I", Qt::Key_I, "Italique (Alt+I)"},
    {"U", Qt::Key_U, "Souligné (Alt+U)"},
    {"S", Qt::Key_S, "Ombré (Alt+S)"},
}};

// The menu "Profil" of the profile tree, in order; null for a separator.
constexpr const char* kMenuItems[] = {
    "Trier par fréquence",      "Trier selon ordre dans questionnaire", "Trier selon ordre alphabétique",
    "Enlever les fréquences nulles", nullptr, "Enlever les non-réponses", "Enlever les non-interrogés", nullptr,
    "Ajouter les non-réponses", "Ajouter les non-interrogés",
};

} // namespace

CProfilModalitesDlg::CProfilModalitesDlg(CContexteEtude& context, int level, const CProfil& profile,
                                         QWidget* parent)
    : QDialog(parent), m_context(context), m_level(level), m_profile(profile) {
    setWindowTitle(QStringLiteral("Profils"));
    setObjectName(QStringLiteral("CProfilModalitesDlg"));
    BuildControls();
    m_trees->FillQuestionnaire(*m_questionnaire, [](const CQuestionEtendue&) { return true; });
    m_named = m_frame->NameProfiles(m_context, NamedProfiles::ProfilsModalites(m_context),
                                    {[this](CProfil& built) { return BuildProfile(built); },
                                     [this](const CProfil& shown) { ShowProfile(shown); }},
                                    *this);
    m_named->Ouvrir(m_profile);
    WindowSize::FitContentsToScreen(*this);
}

CProfilModalitesDlg::~CProfilModalitesDlg() = default;

// ---- Controls ---------------------------------------------------------------------------------

void CProfilModalitesDlg::BuildControls() {
    m_frame = std::make_unique<ProfileDialogFrame>(*this, kMoveButtons, kLineButtons,
                                                   ProfileDialogFrame::Keys{kVersProfil, kRetour, kMonter, kDescendre});
    m_questionnaire = m_frame->questionnaire;
    m_profileTree = m_frame->profile;
    m_trees = std::make_unique<ModalityTreeMoves>(m_context, *m_questionnaire, false, kBlankModalities,
                                                  [this](const CQuestionEtendue& question) { return IsInLevel(question); });
    m_frame->lineColumn->addSpacing(12);
    for (std::size_t option = 0; option < kToggles.size(); ++option) {
        auto* box = new QToolButton(this);
        box->setText(QString::fromLatin1(kToggles[option].letter));
        box->setToolTip(QString::fromUtf8(kToggles[option].tip));
        box->setCheckable(true);
        box->setFixedWidth(44);
        QFont letterFont = box->font();
        letterFont.setBold(option == 0);
        letterFont.setItalic(option == 1);
        letterFont.setUnderline(option == 2);
        box->setFont(letterFont);
        box->setObjectName(QString::number(kOptionBoxes[option]));
        m_optionBoxes[option] = box;
        m_frame->lineColumn->addWidget(box);
        connect(box, &QToolButton::clicked, this, [this, option] { OnOptionBox(static_cast<int>(option)); });
        auto* key = new QShortcut(QKeySequence(Qt::ALT | kToggles[option].key), this);
        connect(key, &QShortcut::activated, this, [this, box, option] {
            box->toggle();
            OnOptionBox(static_cast<int>(option));
        });
    }

    m_frame->ConnectMoves({kVersProfil, kToutVersProfil, kRetour, kToutRetour, kMonter, kDescendre, kSeparateur},
                          {[this](CMultiTree& source, CMultiTree& target) { MoveSelected(source, target); },
                           [this](CMultiTree& source, CMultiTree& target) { MoveEverything(source, target); },
                           [this](bool up) { MoveLine(up); }, [this] { InsertSeparator(); }});
    connect(&Bouton(kSansManquantes), &QPushButton::clicked, this, [this] { ModalitesManquantes(2, 2); });

    connect(m_profileTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { ShowOptionsOf(current); });
    m_profileTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_profileTree, &QWidget::customContextMenuRequested, this, &CProfilModalitesDlg::OnProfileContextMenu);

    m_menu = new QMenu(QStringLiteral("Profil"), this);
    const std::function<void()> actions[] = {
        [this] { TrierParFrequence(); },
        [this] { TrierSelonQuestionnaire(); },
        [this] { TrierAlphabetique(); },
        [this] { EnleverFrequencesNulles(); },
        {},
        [this] { ModalitesManquantes(2, 0); },
        [this] { ModalitesManquantes(0, 2); },
        {},
        [this] { ModalitesManquantes(1, 0); },
        [this] { ModalitesManquantes(0, 1); },
    };
    for (std::size_t i = 0; i < std::size(kMenuItems); ++i) {
        if (kMenuItems[i] == nullptr)
            m_menu->addSeparator();
        else
            connect(m_menu->addAction(QString::fromUtf8(kMenuItems[i])), &QAction::triggered, this, actions[i]);
    }
}

QPushButton& CProfilModalitesDlg::Bouton(Button id) const {
    return m_frame->Button(id);
}

QMenu& CProfilModalitesDlg::ProfileMenu(QTreeWidgetItem* item) {
    m_menuItem = item;
    return *m_menu;
}

void CProfilModalitesDlg::OnProfileContextMenu(const QPoint& point) {
    ProfileMenu(m_profileTree->itemAt(point)).exec(m_profileTree->viewport()->mapToGlobal(point));
    m_menuItem = nullptr;
}

// ---- Items ------------------------------------------------------------------------------------

QTreeWidgetItem* CProfilModalitesDlg::NewSeparatorItem(int position) const {
    auto* item = new QTreeWidgetItem();
    item->setData(0, Qt::UserRole, kSeparator);
    item->setText(0, QStringLiteral("-"));
    item->setIcon(0, m_icons.GetImage(kSeparatorIcon));
    QTreeWidgetItem& root = *m_profileTree->invisibleRootItem();
    if (position < 0 || position > root.childCount())
        root.addChild(item);
    else
        root.insertChild(position, item);
    return item;
}

bool CProfilModalitesDlg::IsInLevel(const CQuestionEtendue& question) const {
    return m_level < 0 ? question.level == 0 : EstDansNiveau(question, m_level, m_context);
}

// ---- Moves ------------------------------------------------------------------------------------

void CProfilModalitesDlg::MoveQuestion(QTreeWidgetItem* item, CMultiTree& source, CMultiTree& target, bool show,
                                       std::vector<int>& moved) {
    const std::size_t before = moved.size();
    m_trees->MoveQuestion(item, source, target, moved);
    if (!show)
        return;
    // Every line moved, the one asked for or the questions of the level in its place.
    for (std::size_t i = before; i < moved.size(); ++i)
        if (QTreeWidgetItem* line = Trees::RootWithData(target, moved[i])) {
            target.SetItemState(line, CMultiTree::kSelected, CMultiTree::kSelected);
            target.scrollToItem(line);
        }
}

void CProfilModalitesDlg::MoveModality(QTreeWidgetItem* item, CMultiTree& target, bool show) {
    QTreeWidgetItem* placed = m_trees->MoveModality(item, target);
    if (placed != nullptr && show) {
        target.SetItemState(placed, CMultiTree::kSelected, CMultiTree::kSelected);
        target.scrollToItem(placed);
    }
}

// An item taken for a transfer, found again by its itemData once earlier moves have rebuilt the trees.
struct TakenItem {
    int line;
    int modality; // 0 for the line itself
};

void CProfilModalitesDlg::MoveSelected(CMultiTree& source, CMultiTree& target) {
    std::vector<TakenItem> taken;
    for (QTreeWidgetItem* item = source.GetFirstSelectedItem(); item != nullptr; item = source.GetNextSelectedItem(item)) {
        if (!IsModalityItem(*item)) {
            taken.push_back({DataOf(*item), 0});
            continue;
        }
        const int line = DataOf(*item->parent());
        const bool lineTaken = std::any_of(taken.begin(), taken.end(),
                                           [line](const TakenItem& t) { return t.line == line && t.modality == 0; });
        if (!lineTaken)
            taken.push_back({line, DataOf(*item)});
    }
    if (&source == m_questionnaire)
        source.SelectAll(false);
    else
        target.SelectAll(false);
    std::vector<int> moved;
    for (const TakenItem& t : taken) {
        if (t.modality == 0 && t.line == kSeparator) {
            // Separators are not found again by their itemData: the selected ones go, first first.
            for (QTreeWidgetItem* item = source.GetFirstSelectedItem(); item != nullptr;
                 item = source.GetNextSelectedItem(item))
                if (!IsModalityItem(*item) && DataOf(*item) == kSeparator) {
                    delete item;
                    break;
                }
            continue;
        }
        QTreeWidgetItem* line = Trees::RootWithData(source, t.line);
        if (line == nullptr)
            continue;
        if (t.modality == 0) {
            if (std::find(moved.begin(), moved.end(), t.line) == moved.end())
                MoveQuestion(line, source, target, true, moved);
            continue;
        }
        for (int i = 0; i < line->childCount(); ++i)
            if (DataOf(*line->child(i)) == t.modality) {
                MoveModality(line->child(i), target, true);
                break;
            }
    }
    Modified();
}

void CProfilModalitesDlg::MoveEverything(CMultiTree& source, CMultiTree& target) {
    m_trees->MoveEverything(source, target);
    Modified();
}

void CProfilModalitesDlg::MoveLine(bool up) {
    if (QTreeWidgetItem* moved = m_trees->MoveLine(*m_profileTree, up)) {
        m_profileTree->SelectItem(moved);
        Modified();
    }
}

void CProfilModalitesDlg::InsertSeparator() {
    QTreeWidgetItem* current = m_profileTree->currentItem();
    if (current != nullptr && current->parent() != nullptr)
        current = current->parent();
    const int position = current != nullptr ? m_profileTree->indexOfTopLevelItem(current) + 1 : -1;
    m_profileTree->SelectItem(NewSeparatorItem(position));
    Modified();
}

// ---- Display options ------------------------------------------------------------------------

void CProfilModalitesDlg::OnOptionBox(int option) {
    const bool on = m_optionBoxes[static_cast<std::size_t>(option)]->isChecked();
    auto apply = [this, option, on](QTreeWidgetItem& modalityItem) {
        if (CModaliteEtendue* modality = m_trees->ModalityOf(modalityItem)) {
            modality->displayOptions[static_cast<std::size_t>(option)] = on;
            m_trees->StyleModalityItem(modalityItem);
        }
    };
    for (QTreeWidgetItem* item = m_profileTree->GetFirstSelectedItem(); item != nullptr;
         item = m_profileTree->GetNextSelectedItem(item)) {
        if (IsModalityItem(*item)) {
            apply(*item);
        } else {
            for (int i = 0; i < item->childCount(); ++i)
                apply(*item->child(i));
        }
    }
}

void CProfilModalitesDlg::ShowOptionsOf(QTreeWidgetItem* item) {
    const CModaliteEtendue* modality = item != nullptr ? m_trees->ModalityOf(*item) : nullptr;
    for (std::size_t option = 0; option < m_optionBoxes.size(); ++option)
        m_optionBoxes[option]->setChecked(modality != nullptr && modality->displayOptions[option]);
}

// ---- The menu "Profil" ----------------------------------------------------------------------

std::vector<QTreeWidgetItem*> CProfilModalitesDlg::LinesOfMenu() const {
    std::vector<QTreeWidgetItem*> lines;
    if (m_menuItem != nullptr) {
        QTreeWidgetItem* line = m_menuItem->parent() != nullptr ? m_menuItem->parent() : m_menuItem;
        if (DataOf(*line) != kSeparator)
            lines.push_back(line);
        return lines;
    }
    for (int i = 0; i < m_profileTree->topLevelItemCount(); ++i)
        if (DataOf(*m_profileTree->topLevelItem(i)) != kSeparator)
            lines.push_back(m_profileTree->topLevelItem(i));
    return lines;
}

void CProfilModalitesDlg::SortLine(QTreeWidgetItem& line,
                                   const std::function<bool(const QTreeWidgetItem&, const QTreeWidgetItem&)>& before) {
    // Ordered while still under their line, where they are known as modalities.
    QList<QTreeWidgetItem*> children;
    for (int i = 0; i < line.childCount(); ++i)
        children.append(line.child(i));
    std::stable_sort(children.begin(), children.end(),
                     [&before](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return before(*a, *b); });
    line.takeChildren();
    line.addChildren(children);
    for (QTreeWidgetItem* child : children)
        m_trees->StyleModalityItem(*child);
}

// The weighted count of each modality of the line's question, into the modalities' extra word.
bool CProfilModalitesDlg::CountLine(QTreeWidgetItem& line) {
    CQuestionEtendue* question = m_trees->QuestionOf(line);
    if (question == nullptr)
        return false;
    const int count = question->GetNbreModalite();
    std::vector<std::uint16_t> map(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        map[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
    std::vector<double> counts;
    double respondents = 0.0;
    double total = 0.0;
    std::string error;
    CMoteurTableau engine(m_context);
    if (!engine.CompterModalites(*question, counts, respondents, total, map, m_context.currentLevel,
                                 m_context.universeCode, m_context.weightingCode, error)) {
        m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
        return false;
    }
    for (int i = 0; i < line.childCount(); ++i) {
        CModaliteEtendue* modality = m_trees->ModalityOf(*line.child(i));
        const int found = modality != nullptr ? question->TrouverModalite(modality->code) : -1;
        if (found >= 0 && static_cast<std::size_t>(found) < counts.size())
            modality->extraWord = static_cast<std::int32_t>(counts[static_cast<std::size_t>(found)]);
    }
    return true;
}

void CProfilModalitesDlg::TrierParFrequence() {
    for (QTreeWidgetItem* line : LinesOfMenu()) {
        if (!CountLine(*line))
            return;
        SortLine(*line, [this](const QTreeWidgetItem& a, const QTreeWidgetItem& b) {
            return m_trees->ModalityOf(a)->extraWord > m_trees->ModalityOf(b)->extraWord;
        });
    }
    Modified();
}

void CProfilModalitesDlg::TrierSelonQuestionnaire() {
    for (QTreeWidgetItem* line : LinesOfMenu())
        SortLine(*line, [](const QTreeWidgetItem& a, const QTreeWidgetItem& b) { return -DataOf(a) < -DataOf(b); });
    Modified();
}

void CProfilModalitesDlg::TrierAlphabetique() {
    for (QTreeWidgetItem* line : LinesOfMenu())
        SortLine(*line, [](const QTreeWidgetItem& a, const QTreeWidgetItem& b) {
            return QString::compare(a.text(0), b.text(0), Qt::CaseInsensitive) < 0;
        });
    Modified();
}

void CProfilModalitesDlg::EnleverFrequencesNulles() {
    for (QTreeWidgetItem* line : LinesOfMenu()) {
        if (!CountLine(*line))
            return;
        std::vector<QTreeWidgetItem*> empty;
        for (int i = 0; i < line->childCount(); ++i)
            if (m_trees->ModalityOf(*line->child(i))->extraWord == 0)
                empty.push_back(line->child(i));
        // The last modality moved back takes its line with it.
        for (QTreeWidgetItem* modality : empty)
            MoveModality(modality, *m_questionnaire, false);
    }
    Modified();
}

void CProfilModalitesDlg::ModalitesManquantes(int nonResponse, int notAsked) {
    const std::pair<int, int> kinds[] = {{kNonReponse, nonResponse}, {kNonInterroge, notAsked}};
    for (const auto& [code, mode] : kinds) {
        if (mode == 0)
            continue;
        std::vector<int> lines;
        for (int i = 0; i < m_profileTree->topLevelItemCount(); ++i)
            if (DataOf(*m_profileTree->topLevelItem(i)) != kSeparator)
                lines.push_back(DataOf(*m_profileTree->topLevelItem(i)));
        for (int itemData : lines) {
            QTreeWidgetItem* line = Trees::RootWithData(*m_profileTree, itemData);
            if (line == nullptr)
                continue;
            QTreeWidgetItem* from = mode == 2 ? line : Trees::RootWithData(*m_questionnaire, itemData);
            if (from == nullptr)
                continue;
            for (int i = 0; i < from->childCount(); ++i) {
                const CModaliteEtendue* modality = m_trees->ModalityOf(*from->child(i));
                if (modality != nullptr && modality->code == code) {
                    if (mode == 2)
                        DropMissingModality(from->child(i));
                    else
                        MoveModality(from->child(i), *m_profileTree, true);
                    break;
                }
            }
        }
    }
    Modified();
}

// A question chosen whole is no longer among the available ones: its missing modality leaves the
// profile without bringing the question back there. One partly chosen takes it back.
void CProfilModalitesDlg::DropMissingModality(QTreeWidgetItem* item) {
    QTreeWidgetItem* line = item->parent();
    if (line == nullptr || Trees::RootWithData(*m_questionnaire, DataOf(*line)) != nullptr) {
        MoveModality(item, *m_questionnaire, false);
        return;
    }
    delete item;
    if (line->childCount() == 0)
        delete line;
}

// ---- The profile and the trees ------------------------------------------------------------

bool CProfilModalitesDlg::BuildProfile(CProfil& profile) {
    profile.RemoveAll();
    if (!m_trees->Build(*m_profileTree, profile, true)) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneModalite),
                                                 UserInterface::Icon::Warning);
        return false;
    }
    return true;
}

void CProfilModalitesDlg::ShowProfile(const CProfil& profile) {
    MoveEverything(*m_profileTree, *m_questionnaire);
    m_trees->Show(profile, *m_profileTree, false, [this] { NewSeparatorItem(-1); });
}

bool CProfilModalitesDlg::SameNumberOfModalities() {
    int expected = -1;
    for (int i = 0; i < m_profileTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = m_profileTree->topLevelItem(i);
        if (DataOf(*line) == kSeparator)
            continue;
        if (expected < 0) {
            expected = line->childCount();
        } else if (line->childCount() != expected) {
            m_profileTree->SelectItem(line);
            m_context.GetUserInterface().ShowMessage(Message(StringTable::kMemeNombreModalites),
                                                     UserInterface::Icon::Warning);
            return false;
        }
    }
    return true;
}

void CProfilModalitesDlg::Modified() {
    m_named->Modifier();
}

void CProfilModalitesDlg::accept() {
    if (m_sameNumber && !SameNumberOfModalities())
        return;
    if (!m_named->Terminer(m_profile))
        return;
    QDialog::accept();
}
