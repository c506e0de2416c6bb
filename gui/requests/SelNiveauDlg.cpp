#include "gui/requests/SelNiveauDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "framework/UtilArbre.h"
#include "gui/requests/SelectionButtons.h"

#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

namespace {

// The icon of a level type: a box of as many rows as the type's rank, in the type's colour.
struct LevelIcon {
    QRgb colour;
    int rows;
};

constexpr std::array<LevelIcon, 4> kLevelIcons{
    LevelIcon{0x2F6DB5, 1},
    LevelIcon{0x2E8B3A, 2},
    LevelIcon{0xD07018, 3},
    LevelIcon{0x7A3FA0, 4},
};

QIcon DrawLevelIcon(const LevelIcon& drawing) {
    QPixmap pixmap(CUtilArbre::kImageSize, CUtilArbre::kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor colour = QColor::fromRgb(drawing.colour);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawRect(1, 1, 13, 13);
    painter.setPen(Qt::white);
    for (int row = 0; row < drawing.rows; ++row)
        painter.drawLine(4, 4 + 2 * row, 11, 4 + 2 * row);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

CSelNiveauDlg::CSelNiveauDlg(int currentLevel, QWidget* parent)
    : CSelNiveauDlg(currentLevel, kAucunNiveau, parent) {}

CSelNiveauDlg::CSelNiveauDlg(int currentLevel, int referenceLevel, QWidget* parent)
    : QDialog(parent), m_tree(new QTreeWidget(this)), m_chosenLevel(currentLevel),
      m_referenceLevel(referenceLevel) {
    setWindowTitle(QStringLiteral("Sélection d'un niveau"));
    for (std::size_t i = 0; i < kLevelIcons.size(); ++i)
        m_images[i] = DrawLevelIcon(kLevelIcons[i]);
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(CUtilArbre::kImageSize, CUtilArbre::kImageSize));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    AddOkCancelButtons(*this, *layout);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &CSelNiveauDlg::accept);
    Remplir();
}

void CSelNiveauDlg::Remplir() {
    const CContexteEtude* context = GetContexte();
    const int count = context != nullptr ? context->DonnerNbreNiveaux() : 0;
    // The most recent item of each depth.
    std::map<int, QTreeWidgetItem*> lastOfDepth;
    for (int index = 0; index < count; ++index) {
        const CQuestionNiveau& level = *context->DonnerNiveau(index);
        auto* item = new QTreeWidgetItem();
        item->setText(0, QString::fromStdString(level.name));
        if (level.type >= 1 && level.type <= static_cast<int>(m_images.size()))
            item->setIcon(0, m_images[static_cast<std::size_t>(level.type - 1)]);
        item->setData(0, Qt::UserRole, index);
        const auto parent = level.depth >= 1 ? lastOfDepth.find(level.depth - 1) : lastOfDepth.end();
        if (parent != lastOfDepth.end())
            parent->second->addChild(item);
        else
            m_tree->addTopLevelItem(item);
        lastOfDepth[level.depth] = item;
        if (index == m_chosenLevel)
            m_tree->setCurrentItem(item);
    }
    CUtilArbre::DeplierTout(*m_tree, nullptr);
}

void CSelNiveauDlg::accept() {
    const QTreeWidgetItem* item = m_tree->currentItem();
    const CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return;
    if (item == nullptr || !item->isSelected()) {
        context->GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerQuestion),
                                                UserInterface::Icon::Warning);
        return;
    }
    const int level = item->data(0, Qt::UserRole).toInt();
    if (m_referenceLevel != kAucunNiveau && !EstNiveauParent(level)) {
        context->GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerNiveauParent),
                                                UserInterface::Icon::Warning);
        return;
    }
    m_chosenLevel = level;
    QDialog::accept();
}

bool CSelNiveauDlg::EstNiveauParent(int level) const {
    if (m_referenceLevel < 1)
        return false;
    const CEnquete& survey = *GetContexte();
    for (int ancestor = DonnerNiveauParent(m_referenceLevel, survey);;
         ancestor = DonnerNiveauParent(ancestor, survey)) {
        if (ancestor == level)
            return true;
        if (ancestor < 1)
            return false;
    }
}
