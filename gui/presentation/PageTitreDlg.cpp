#include "gui/presentation/PageTitreDlg.h"

#include "presentation/PresentationTableau.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

using P = CPageTitreDlg;

struct FlagControl {
    int id;
    const char* text;
    bool (CPresentationTableau::*get)() const;
    void (CPresentationTableau::*set)(bool);
};

// The first stands apart: it places the lines, the others choose them.
// clang-format off
constexpr std::array<FlagControl, 5> kFlagControls{{
    {P::kAuDessus,      "Au dessus du tableau", &CPresentationTableau::GetEstTitreAuDessus,      &CPresentationTableau::SetEstTitreAuDessus},
    {P::kBase,          "Base",                 &CPresentationTableau::GetEstTitreBase,          &CPresentationTableau::SetEstTitreBase},
    {P::kChamp,         "Champ d'étude",        &CPresentationTableau::GetEstTitreChamp,         &CPresentationTableau::SetEstTitreChamp},
    {P::kRedressement,  "Redressement",         &CPresentationTableau::GetEstTitreRedressement,  &CPresentationTableau::SetEstTitreRedressement},
    {P::kNiveau,        "Niveau",               &CPresentationTableau::GetEstTitreLevel,         &CPresentationTableau::SetEstTitreLevel},
}};
// clang-format on

} // namespace

CPageTitreDlg::CPageTitreDlg(CPresentationTableau& presentation, QWidget* parent)
    : QWidget(parent), m_presentation(presentation)
{
    auto* layout = new QVBoxLayout(this);
    auto* lines = new QGroupBox(QStringLiteral("Lignes de titre"), this);
    auto* linesLayout = new QVBoxLayout(lines);
    for (std::size_t i = 0; i < kFlagCount; ++i) {
        QWidget* owner = i == 0 ? static_cast<QWidget*>(this) : lines;
        auto* box = new QCheckBox(QString::fromUtf8(kFlagControls[i].text), owner);
        box->setObjectName(QString::number(kFlagControls[i].id));
        if (i == 0)
            layout->addWidget(box);
        else
            linesLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, i](bool checked) { OnFlag(i, checked); });
        m_flags[i] = box;
    }
    layout->addWidget(lines);
    layout->addStretch(1);
    Afficher();
}

void CPageTitreDlg::Afficher()
{
    m_loading = true;
    for (std::size_t i = 0; i < kFlagCount; ++i)
        m_flags[i]->setChecked((m_presentation.*kFlagControls[i].get)());
    m_loading = false;
}

QCheckBox* CPageTitreDlg::GetCheckBox(int id) const
{
    for (std::size_t i = 0; i < kFlagCount; ++i)
        if (kFlagControls[i].id == id)
            return m_flags[i];
    return nullptr;
}

void CPageTitreDlg::OnFlag(std::size_t index, bool checked)
{
    if (m_loading)
        return;
    (m_presentation.*kFlagControls[index].set)(checked);
    emit Modifie();
}
