#include "gui/requests/PageArbreTotalDlg.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "tabulation/Traitement.h"

#include <QCheckBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kModalityIcon = 10;
constexpr int kSeparatorIcon = 20;

} // namespace

CPageArbreTotalDlg::CPageArbreTotalDlg(CContexteEtude& context, const std::int32_t& level, bool totalShown,
                                       bool rowSide, QWidget* parent)
    : ProfilePage(context, level,
                  rowSide ? QStringLiteral("&Sélection des lignes...") : QStringLiteral("Sélection des colonnes..."),
                  StringTable::kSelectionnerUneModalite, parent),
      m_total(new QCheckBox(QStringLiteral("Total"), this)) {
    setObjectName(QStringLiteral("CPageArbreTotalDlg"));
    m_total->setObjectName(QStringLiteral("1157"));
    m_total->setChecked(totalShown);
    m_total->setVisible(totalShown);
    Layout().addWidget(m_total);
}

CPageArbreTotalDlg::~CPageArbreTotalDlg() = default;

bool CPageArbreTotalDlg::EditProfile(CProfil& edited) {
    CProfilModalitesDlg dialog(m_context, m_level, edited, this);
    dialog.SetMemeNombreModalites(m_sameNumber);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edited = dialog.GetProfil();
    return true;
}

void CPageArbreTotalDlg::FillTree() {
    QTreeWidget& tree = GetTree();
    tree.clear();
    m_displayed.clear();
    m_displayed.push_back(std::make_unique<CModaliteEtendue>(&m_context));
    for (int i = 0; i < m_profile.GetCount(); ++i) {
        auto* item = new QTreeWidgetItem(&tree);
        item->setData(0, Qt::UserRole, i);
        const CSousProfil* line = m_profile.GetSousProfil(i);
        if (line == nullptr || line->IsSeparator()) {
            item->setText(0, QStringLiteral("-"));
            item->setIcon(0, m_icons.GetImage(kSeparatorIcon));
            continue;
        }
        item->setText(0, QString::fromStdString(line->GetQuestion()->GetCaption()));
        item->setIcon(0, m_icons.GetImage(CUtilArbre::GetImageQuestion(*line->GetQuestion())));
        for (const auto& modality : line->Modalites()) {
            auto* child = new QTreeWidgetItem(item);
            child->setData(0, Qt::UserRole, -static_cast<int>(m_displayed.size()));
            child->setText(0, QString::fromStdString(modality->GetShortCaption()));
            child->setIcon(0, m_icons.GetImage(kModalityIcon));
            m_displayed.push_back(std::make_unique<CModaliteEtendue>(*modality));
        }
    }
    // The modalities chosen are what the analyst checks before OK.
    CUtilArbre::DeplierTout(tree, nullptr);
}

void CPageArbreTotalDlg::LireTraitement(const CTraitement& request, int axis) {
    if (request.GetProfilAxe(axis) == nullptr)
        return;
    ProfilePage::LireTraitement(request, axis);
    m_total->setChecked(request.GetTotalAxe(axis) != 0);
}

void CPageArbreTotalDlg::EcrireTraitement(CTraitement& request, int axis) const {
    ProfilePage::EcrireTraitement(request, axis);
    request.SetTotalAxe(axis, m_total->isChecked() ? 1 : 0);
}

bool CPageArbreTotalDlg::EstToutNumerique() const {
    for (int i = 0; i < m_profile.GetCount(); ++i)
        if (const CQuestionEtendue* question = m_profile.GetQuestion(i); question != nullptr && !question->EstNumerique())
            return false;
    return true;
}
