#include "gui/presentation/PresentationTableauDlg.h"

#include "app/Registre.h"
#include "gui/presentation/PageBorduresDlg.h"
#include "gui/presentation/PagePoliceDlg.h"
#include "gui/presentation/PageTitreDlg.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/TableauView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

namespace {

using D = CPresentationTableauDlg;
using Word = std::uint16_t;

// A list beside the tabs: its entries stand for the values 0, 1, 2... of one word of the record.
struct ListControl {
    int id;
    const char* label;
    std::vector<const char*> entries;
    Word (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(Word);
    // The page's layout changes no drawing on screen.
    bool refreshesPreview;
};

const std::array<ListControl, 5>& ListControls()
{
    static const std::array<ListControl, 5> lists{{
        {D::kOrientation, "Orie&ntation:", {"Réponses en ligne", "Réponses en colonne"},
         &CPresentationTableau::GetOrientation, &CPresentationTableau::SetOrientation, true},
        {D::kPage, "Pag&e:", {"Portrait", "Paysage"}, &CPresentationTableau::GetTypePage,
         &CPresentationTableau::SetTypePage, false},
        {D::kEffectifs, "E&ffectifs:", {"0", "1", "2", "3", "4"}, &CPresentationTableau::GetEffectif,
         &CPresentationTableau::SetEffectif, true},
        {D::kPourcentages, "Po&urcentages:", {"0", "1", "2", "3", "4"}, &CPresentationTableau::GetPourcentage,
         &CPresentationTableau::SetPourcentage, true},
        {D::kReels, "&Réels:", {"0", "1", "2", "3", "4"}, &CPresentationTableau::GetReel,
         &CPresentationTableau::SetReel, true},
    }};
    return lists;
}

struct FontPage {
    const char* tab;
    const CPoliceAna& (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(const CPoliceAna&);
};

constexpr std::array<FontPage, 4> kFontPages{{
    {"Questions", &CPresentationTableau::GetQuestion, &CPresentationTableau::SetQuestion},
    {"Lignes", &CPresentationTableau::GetLigne, &CPresentationTableau::SetLigne},
    {"Colonnes", &CPresentationTableau::GetColonne, &CPresentationTableau::SetColonne},
    {"Cellules", &CPresentationTableau::GetCellule, &CPresentationTableau::SetCellule},
}};

} // namespace

CPresentationTableauDlg::CPresentationTableauDlg(QWidget* parent) : CPresentationTableauDlg(CPresentationTableau(), parent) {}

CPresentationTableauDlg::CPresentationTableauDlg(const CPresentationTableau& presentation, QWidget* parent)
    : QDialog(parent), m_presentation(presentation)
{
    setWindowTitle(QStringLiteral("Présentation des tableaux"));
    BuildControls();
    AfficherControles();
    RafraichirApercu();
}

CPresentationTableauDlg::~CPresentationTableauDlg() = default;

bool CPresentationTableauDlg::Editer(QWidget* parent, CPresentationTableau& presentation)
{
    CPresentationTableauDlg dialog(presentation, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    presentation = dialog.GetPresentation();
    return true;
}

void CPresentationTableauDlg::BuildPages()
{
    m_tabs = new QTabWidget(this);
    // Every tab in sight: the dialog widens rather than scroll its tabs.
    m_tabs->setUsesScrollButtons(false);
    for (std::size_t i = 0; i < kFontPageCount; ++i) {
        m_polices[i] = (m_presentation.*kFontPages[i].get)();
        auto* page = new CPagePoliceDlg(m_polices[i], m_tabs);
        m_tabs->addTab(page, QString::fromUtf8(kFontPages[i].tab));
        connect(page, &CPagePoliceDlg::Modifie, this, [this, i] { OnPolice(i); });
        m_pagesPolice[i] = page;
    }
    m_pageTitre = new CPageTitreDlg(m_presentation, m_tabs);
    m_tabs->addTab(m_pageTitre, QStringLiteral("Titre"));
    connect(m_pageTitre, &CPageTitreDlg::Modifie, this, &CPresentationTableauDlg::RafraichirApercu);
    m_pageBordures = new CPageBorduresDlg(m_presentation, m_tabs);
    m_tabs->addTab(m_pageBordures, QStringLiteral("Bordures"));
    connect(m_pageBordures, &CPageBorduresDlg::Modifie, this, &CPresentationTableauDlg::RafraichirApercu);
    m_tabs->setCurrentIndex(0);
}

void CPresentationTableauDlg::BuildControls()
{
    BuildPages();

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kListCount; ++i) {
        const ListControl& control = ListControls()[i];
        auto* list = new QComboBox(this);
        list->setObjectName(QString::number(control.id));
        for (const char* entry : control.entries)
            list->addItem(QString::fromUtf8(entry));
        auto* label = new QLabel(QString::fromUtf8(control.label), this);
        label->setBuddy(list);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(list, static_cast<int>(i), 1);
        connect(list, &QComboBox::currentIndexChanged, this, [this, i] { OnList(i); });
        m_lists[i] = list;
    }
    // "%" goes with the digits of percentages.
    m_pourcent = new QCheckBox(QStringLiteral("%"), this);
    m_pourcent->setObjectName(QString::number(kPourcent));
    grid->addWidget(m_pourcent, 3, 2);
    connect(m_pourcent, &QCheckBox::toggled, this, &CPresentationTableauDlg::OnPourcent);

    auto* side = new QVBoxLayout;
    side->addLayout(grid);
    side->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_tabs, 1);
    top->addLayout(side);

    auto* preview = new QGroupBox(QStringLiteral("Aperçu"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    m_apercu = new CTableauView(preview);
    m_apercu->setObjectName(QString::number(kApercu));
    m_apercu->setFrameShape(QFrame::Box);
    m_apercu->setMinimumHeight(170);
    previewLayout->addWidget(m_apercu);
    CTableau sample;
    sample.RemplirExemple();
    m_apercu->SetTableau(sample);

    m_default = new QCheckBox(QStringLiteral("&Définir par défaut"), this);
    m_default->setObjectName(QString::number(kDefinirParDefaut));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPresentationTableauDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPresentationTableauDlg::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_default);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(preview, 1);
    layout->addLayout(bottom);
}

void CPresentationTableauDlg::SetPresentation(const CPresentationTableau& presentation)
{
    m_presentation = presentation;
    for (std::size_t i = 0; i < kFontPageCount; ++i) {
        m_polices[i] = (m_presentation.*kFontPages[i].get)();
        m_pagesPolice[i]->Afficher();
    }
    m_pageTitre->Afficher();
    m_pageBordures->Afficher();
    AfficherControles();
    RafraichirApercu();
}

void CPresentationTableauDlg::AfficherControles()
{
    m_loading = true;
    for (std::size_t i = 0; i < kListCount; ++i) {
        const int value = (m_presentation.*ListControls()[i].get)();
        // A value the list does not offer shows no entry and stays as it is until one is chosen.
        m_lists[i]->setCurrentIndex(value < m_lists[i]->count() ? value : -1);
    }
    m_pourcent->setChecked(m_presentation.GetEstPourcent());
    m_loading = false;
}

CPagePoliceDlg& CPresentationTableauDlg::PagePolice(int index) const
{
    return *m_pagesPolice.at(static_cast<std::size_t>(index));
}

QComboBox* CPresentationTableauDlg::GetComboBox(int id) const
{
    for (std::size_t i = 0; i < kListCount; ++i)
        if (ListControls()[i].id == id)
            return m_lists[i];
    return nullptr;
}

void CPresentationTableauDlg::OnList(std::size_t index)
{
    const int chosen = m_lists[index]->currentIndex();
    if (m_loading || chosen < 0)
        return;
    const ListControl& control = ListControls()[index];
    (m_presentation.*control.set)(static_cast<Word>(chosen));
    if (control.refreshesPreview)
        RafraichirApercu();
}

void CPresentationTableauDlg::OnPolice(std::size_t index)
{
    (m_presentation.*kFontPages[index].set)(m_polices[index]);
    RafraichirApercu();
}

void CPresentationTableauDlg::OnPourcent(bool checked)
{
    if (m_loading)
        return;
    m_presentation.SetEstPourcent(checked);
    RafraichirApercu();
}

void CPresentationTableauDlg::RafraichirApercu()
{
    m_apercu->SetPresentation(m_presentation);
}

void CPresentationTableauDlg::accept()
{
    if (m_default->isChecked())
        CRegistre::WritePresentationTableau(m_presentation);
    QDialog::accept();
}
