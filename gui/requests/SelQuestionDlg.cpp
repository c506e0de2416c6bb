#include "gui/requests/SelQuestionDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "framework/MultiTree.h"
#include "gui/requests/SelectionButtons.h"

#include <QApplication>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <map>

namespace {

struct FilterEntry {
    std::int16_t filter;
    bool (*allows)(const CQuestionEtendue& question);
};

bool IsClosedWithoutRanking(const CQuestionEtendue& question) {
    return question.EstFermee() && question.ranking == 0;
}

constexpr std::array kFilters{
    FilterEntry{CSelQuestionDlg::kFermees, [](const CQuestionEtendue& q) { return q.EstFermee(); }},
    FilterEntry{CSelQuestionDlg::kTout, [](const CQuestionEtendue&) { return true; }},
    FilterEntry{CSelQuestionDlg::kNumeriques, [](const CQuestionEtendue& q) { return q.EstNumerique(); }},
    FilterEntry{CSelQuestionDlg::kFermeesSansClassement, IsClosedWithoutRanking},
    FilterEntry{CSelQuestionDlg::kFermeesSansClassementOuNumeriques,
                [](const CQuestionEtendue& q) {
                    return IsClosedWithoutRanking(q) || (q.EstNumerique() && !q.EstFermee());
                }},
    FilterEntry{CSelQuestionDlg::kHorsChapitres, [](const CQuestionEtendue& q) { return q.kind != 0; }},
    FilterEntry{CSelQuestionDlg::kOuvertes, [](const CQuestionEtendue& q) { return q.EstOuverte(); }},
};

CQuestionEtendue* QuestionAt(int index) {
    const CContexteEtude* context = GetContexte();
    return context != nullptr ? context->DonnerQuestion(index) : nullptr;
}

// The index of an item that names no question and is not "Aucune".
constexpr int kNoQuestion = -2;

int IndexOf(const QTreeWidgetItem& item) {
    bool ok = false;
    // The stored index itself, not what an item that reads its question answers.
    const int index = item.QTreeWidgetItem::data(0, Qt::UserRole).toInt(&ok);
    return ok ? index : kNoQuestion;
}

// An item of a question: its data is the question's index; its text and icon are read from the
// survey whenever they are shown, the icon telling whether the filter lets it be chosen.
class QuestionItem : public QTreeWidgetItem {
public:
    QuestionItem(int index, const CSelQuestionDlg& dialog) : QTreeWidgetItem(UserType), m_dialog(dialog) {
        setData(0, Qt::UserRole, index);
    }

    QVariant data(int column, int role) const override {
        const CQuestionEtendue* question = column == 0 ? QuestionAt(IndexOf(*this)) : nullptr;
        if (question == nullptr)
            return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(question->name);
        case CSelQuestionDlg::kImageRole:
            return Image(*question);
        case Qt::DecorationRole:
            return m_dialog.GetIcons().GetImage(Image(*question));
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    int Image(const CQuestionEtendue& question) const {
        return m_dialog.EstAutorisee(question) ? CUtilArbre::GetImageQuestion(question)
                                               : CSelQuestionDlg::kImageInterdite;
    }

    const CSelQuestionDlg& m_dialog;
};

} // namespace

CSelQuestionDlg::CSelQuestionDlg(std::int16_t filter, QWidget* parent)
    : CSelQuestionDlg(filter, nullptr, parent) {}

CSelQuestionDlg::CSelQuestionDlg(std::int16_t filter, CQuestionEtendue* initialQuestion, QWidget* parent)
    : QDialog(parent), m_tree(new CMultiTree(this)), m_filter(filter), m_initialQuestion(initialQuestion) {
    setWindowTitle(QStringLiteral("Sélection d'une question"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    AddOkCancelButtons(*this, *layout);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &CSelQuestionDlg::accept);
    resize(320, 420);
}

CSelQuestionDlg::~CSelQuestionDlg() = default;

bool CSelQuestionDlg::EstAutorisee(const CQuestionEtendue& question) const {
    const auto entry = std::find_if(kFilters.begin(), kFilters.end(), [this](const FilterEntry& candidate) {
        return candidate.filter == m_filter;
    });
    return entry == kFilters.end() || entry->allows(question);
}

void CSelQuestionDlg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CSelQuestionDlg::OnInitDialog() {
    if (!m_title.isEmpty())
        setWindowTitle(m_title);
    m_tree->SetMultiSelect(m_multipleSelection);
    Remplir();
}

void CSelQuestionDlg::Remplir() {
    m_tree->clear();
    QTreeWidgetItem* initial = nullptr;
    if (m_withNone) {
        auto* none = new QTreeWidgetItem(m_tree);
        none->setText(0, QStringLiteral("Aucune"));
        none->setIcon(0, m_icons.GetImage(kImageAucune));
        none->setData(0, Qt::UserRole, kAucune);
        none->setData(0, kImageRole, kImageAucune);
    }
    // The most recent item of each outline depth.
    std::map<int, QTreeWidgetItem*> lastOfDepth;
    const CContexteEtude* context = GetContexte();
    const int count = context != nullptr ? context->DonnerNbreQuestions() : 0;
    for (int index = 0; index < count; ++index) {
        const CQuestionEtendue& question = *context->DonnerQuestion(index);
        auto* item = new QuestionItem(index, *this);
        const auto parent = question.depth > 1 ? lastOfDepth.find(question.depth - 1) : lastOfDepth.end();
        if (parent != lastOfDepth.end())
            parent->second->addChild(item);
        else
            m_tree->addTopLevelItem(item);
        lastOfDepth[question.depth] = item;
        if (&question == m_initialQuestion)
            initial = item;
    }
    CUtilArbre::DeplierTout(*m_tree, nullptr);
    if (initial == nullptr)
        initial = m_tree->topLevelItem(0);
    if (initial != nullptr)
        m_tree->SelectItem(initial);
}

void CSelQuestionDlg::accept() {
    if (m_multipleSelection)
        AcceptSeveral();
    else
        AcceptOne();
}

void CSelQuestionDlg::AcceptOne() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr || !item->isSelected()) {
        if (!m_withNone) {
            Refuse(StringTable::kSelectionnerQuestionAutorisee, true);
            return;
        }
        m_chosenQuestion = nullptr;
        QDialog::accept();
        return;
    }
    if (IndexOf(*item) == kAucune) {
        m_chosenQuestion = nullptr;
        QDialog::accept();
        return;
    }
    CQuestionEtendue* question = AcceptableQuestion(*item);
    if (question == nullptr)
        return;
    m_chosenQuestion = question;
    QDialog::accept();
}

void CSelQuestionDlg::AcceptSeveral() {
    std::vector<CQuestionEtendue*> chosen;
    for (QTreeWidgetItem* item = m_tree->GetFirstSelectedItem(); item != nullptr;
         item = m_tree->GetNextSelectedItem(item)) {
        // "Aucune" among other items stands for nothing.
        if (IndexOf(*item) == kAucune)
            continue;
        CQuestionEtendue* question = AcceptableQuestion(*item);
        if (question == nullptr)
            return;
        chosen.push_back(question);
    }
    m_chosenQuestions = std::move(chosen);
    QDialog::accept();
}

CQuestionEtendue* CSelQuestionDlg::AcceptableQuestion(const QTreeWidgetItem& item) const {
    CQuestionEtendue* question = QuestionAt(IndexOf(item));
    bool imageRead = false;
    const int image = item.data(0, kImageRole).toInt(&imageRead);
    if (question == nullptr || !imageRead || image == kImageInterdite) {
        Refuse(StringTable::kSelectionnerQuestionAutorisee, true);
        return nullptr;
    }
    if (!EstDansNiveauDe(*question, *GetContexte())) {
        Refuse(StringTable::kQuestionHorsNiveauCourant, false);
        return nullptr;
    }
    return question;
}

void CSelQuestionDlg::Refuse(int messageId, bool beep) const {
    if (beep)
        QApplication::beep();
    if (const CContexteEtude* context = GetContexte())
        context->GetUserInterface().ShowMessage(Message(messageId), UserInterface::Icon::Warning);
}
