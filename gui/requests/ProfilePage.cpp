#include "gui/requests/ProfilePage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/UserInterface.h"
#include "tabulation/Traitement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSeparatorIcon = 20;

} // namespace

ProfilePage::ProfilePage(CContexteEtude& context, const std::int32_t& level, const QString& buttonText,
                         int emptyMessage, QWidget* parent)
    : QWidget(parent), m_context(context), m_level(level), m_emptyMessage(emptyMessage),
      m_layout(new QVBoxLayout(this)), m_button(new QPushButton(buttonText, this)), m_tree(new QTreeWidget(this)) {
    m_layout->setContentsMargins(6, 6, 6, 6);
    // The same width whatever the side, so that the trees of two pages line up.
    m_button->setMinimumWidth(m_button->fontMetrics().horizontalAdvance(QStringLiteral("&Sélection des colonnes...")) + 24);
    m_tree->setObjectName(QStringLiteral("1067"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(320, 120);
    auto* row = new QHBoxLayout();
    row->addWidget(m_tree, 1);
    auto* buttons = new QVBoxLayout();
    buttons->addWidget(m_button);
    buttons->addStretch();
    row->addLayout(buttons);
    m_layout->addLayout(row, 1);
    connect(m_button, &QPushButton::clicked, this, &ProfilePage::OnSelection);
}

ProfilePage::~ProfilePage() = default;

void ProfilePage::OnSelection() {
    CProfil edited(m_profile);
    if (!EditProfile(edited))
        return;
    SetProfil(edited);
}

void ProfilePage::SetProfil(const CProfil& profile) {
    m_profile = profile;
    FillTree();
}

void ProfilePage::FillTree() {
    m_tree->clear();
    for (int i = 0; i < m_profile.GetCount(); ++i) {
        auto* item = new QTreeWidgetItem(m_tree);
        item->setData(0, Qt::UserRole, i);
        const CQuestionEtendue* question = m_profile.GetQuestion(i);
        if (question == nullptr) {
            item->setText(0, QStringLiteral("-"));
            item->setIcon(0, m_icons.GetImage(kSeparatorIcon));
            continue;
        }
        item->setText(0, QString::fromStdString(question->name));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*question)));
    }
}

void ProfilePage::LireTraitement(const CTraitement& request, int axis) {
    if (const CProfil* profile = request.GetProfilAxe(axis))
        SetProfil(*profile);
}

void ProfilePage::EcrireTraitement(CTraitement& request, int axis) const {
    request.SetProfilAxe(&m_profile, axis);
}

bool ProfilePage::Valider() const {
    if (m_profile.GetCount() > 0)
        return true;
    m_context.GetUserInterface().ShowMessage(Message(m_emptyMessage), UserInterface::Icon::Warning);
    return false;
}
