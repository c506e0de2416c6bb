#include "gui/requests/FusionDlg.h"

#include "app/Registre.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdint>

namespace {

// The check boxes and the merge option each one stands for (none for the saving of defaults).
struct CheckEntry {
    const char* text;
    std::int32_t CTypeFusion::*option;
};
constexpr std::array<CheckEntry, CFusionDlg::kCheckCount> kChecks{{
    {"Afficher les lé&gendes des traitements", &CTypeFusion::EstLibelleTraitement},
    {"Un &tableau pour chaque question en ligne", &CTypeFusion::EstTableauParLigne},
    {"Un tableau pour chaque &question en colonne", &CTypeFusion::EstTableauParColonne},
    {"Une ligne d'espace entre les questions", &CTypeFusion::IsEmptyLinePerQuestion},
    {"Définir comme &paramètres par défaut", nullptr},
}};

constexpr std::array<const char*, 2> kDestinations{"&Nouvelle fenêtre", "&Dossier"};
constexpr std::array<const char*, 3> kMergeKinds{"&Un tableau par traitement",
                                                 "Fusionner les traitements en &colonne",
                                                 "Fusionner les traitements en &ligne"};

// A box of radio buttons whose ids are their indexes; the one of `checked` is checked (none when
// no button has that index).
template <std::size_t N>
QGroupBox* RadioBox(const QString& title, const std::array<const char*, N>& texts, QButtonGroup& group,
                    int checked, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    for (std::size_t i = 0; i < N; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), box);
        group.addButton(button, static_cast<int>(i));
        button->setChecked(static_cast<int>(i) == checked);
        layout->addWidget(button);
    }
    return box;
}

} // namespace

CFusionDlg::CFusionDlg(const CTypeFusion& mergeOptions, QWidget* parent)
    : QDialog(parent), m_mergeOptions(mergeOptions), m_destination(new QButtonGroup(this)),
      m_mergeKind(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("Fusion"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioBox(QStringLiteral("D&estination :"), kDestinations, *m_destination,
                               m_mergeOptions.EstVersDossier != 0 ? kDossier : kNouvelleFenetre, this));
    layout->addWidget(
        RadioBox(QStringLiteral("&Fusion :"), kMergeKinds, *m_mergeKind, m_mergeOptions.Type, this));
    for (std::size_t i = 0; i < kChecks.size(); ++i) {
        auto* check = new QCheckBox(QString::fromUtf8(kChecks[i].text), this);
        check->setChecked(kChecks[i].option != nullptr && m_mergeOptions.*kChecks[i].option != 0);
        m_checks[i] = check;
        layout->addWidget(check);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CFusionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFusionDlg::reject);
    layout->addWidget(buttons);
}

QRadioButton& CFusionDlg::DestinationButton(int destination) const {
    return *static_cast<QRadioButton*>(m_destination->button(destination));
}

QRadioButton& CFusionDlg::MergeKindButton(int kind) const {
    return *static_cast<QRadioButton*>(m_mergeKind->button(kind));
}

QCheckBox& CFusionDlg::CheckBox(int check) const {
    return *m_checks.at(static_cast<std::size_t>(check));
}

void CFusionDlg::accept() {
    // A merge kind the dialog does not offer stays as it was when no button was chosen.
    if (const int kind = m_mergeKind->checkedId(); kind >= 0)
        m_mergeOptions.Type = static_cast<std::int16_t>(kind);
    for (std::size_t i = 0; i < kChecks.size(); ++i)
        if (kChecks[i].option != nullptr)
            m_mergeOptions.*kChecks[i].option = m_checks[i]->isChecked() ? 1 : 0;
    m_mergeOptions.EstVersDossier = m_destination->checkedId() == kDossier ? 1 : 0;
    if (CheckBox(kParDefaut).isChecked())
        CRegistre::WriteTypeFusion(m_mergeOptions);
    QDialog::accept();
}
