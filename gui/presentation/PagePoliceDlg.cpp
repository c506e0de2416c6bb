#include "gui/presentation/PagePoliceDlg.h"

#include "framework/ComboCouleur.h"
#include "presentation/PoliceAna.h"
#include "gui/presentation/ExemplePolice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <string>

namespace {

using P = CPagePoliceDlg;

struct FlagControl {
    int id;
    const char* text;
    bool (CPoliceAna::*get)() const;
    void (CPoliceAna::*set)(bool);
};

// clang-format off
constexpr std::array<FlagControl, 4> kFlagControls{{
    {P::kGras,      "&Gras",      &CPoliceAna::GetGras,      &CPoliceAna::SetGras},
    {P::kItalique,  "&Italique",  &CPoliceAna::GetItalique,  &CPoliceAna::SetItalique},
    {P::kSouligne,  "&Souligné",  &CPoliceAna::GetSouligne,  &CPoliceAna::SetSouligne},
    {P::kOmbre,     "Om&bré",     &CPoliceAna::GetOmbre,     &CPoliceAna::SetOmbre},
}};
// clang-format on

constexpr std::array<int, 16> kSizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

CPagePoliceDlg::CPagePoliceDlg(CPoliceAna& police, QWidget* parent) : QWidget(parent), m_police(police)
{
    BuildControls();
    Afficher();
}

void CPagePoliceDlg::BuildControls()
{
    m_face = new QComboBox(this);
    m_face->setObjectName(QString::number(kPolice));
    // A face the system lacks stays written in the box, and in the font, as it came.
    m_face->setEditable(true);
    m_face->setInsertPolicy(QComboBox::NoInsert);
    m_face->addItems(QFontDatabase::families());
    m_face->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_face->setMinimumContentsLength(18);

    m_size = new QComboBox(this);
    m_size->setObjectName(QString::number(kTaille));
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (int size : kSizes)
        m_size->addItem(QString::number(size));
    m_size->setMinimumContentsLength(5);

    m_colour = new CComboCouleur(this);
    m_colour->setObjectName(QString::number(kCouleur));

    auto* grid = new QGridLayout;
    const auto addRow = [&](int row, const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(0, "&Police :", m_face);
    addRow(1, "&Taille :", m_size);
    addRow(2, "&Couleur :", m_colour);

    auto* flags = new QGridLayout;
    for (std::size_t i = 0; i < kFlagCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kFlagControls[i].text), this);
        box->setObjectName(QString::number(kFlagControls[i].id));
        flags->addWidget(box, static_cast<int>(i % 2), static_cast<int>(i / 2));
        connect(box, &QCheckBox::toggled, this, [this, i](bool checked) { OnFlag(i, checked); });
        m_flags[i] = box;
    }

    m_sample = new CExemplePolice(m_police, this);
    m_sample->setObjectName(QString::number(kExemple));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(flags);
    layout->addWidget(m_sample, 1);

    connect(m_face, &QComboBox::currentTextChanged, this, &CPagePoliceDlg::OnFace);
    connect(m_size, &QComboBox::currentTextChanged, this, &CPagePoliceDlg::OnSize);
    connect(m_colour, &QComboBox::currentIndexChanged, this, &CPagePoliceDlg::OnColour);
}

void CPagePoliceDlg::Afficher()
{
    m_loading = true;
    const QString face = QString::fromStdString(m_police.GetNom());
    m_face->setCurrentIndex(m_face->findText(face, Qt::MatchExactly | Qt::MatchCaseSensitive));
    m_face->setEditText(face);
    m_size->setCurrentIndex(m_size->findText(FormaterTaille(m_police.GetTaille()), Qt::MatchExactly));
    m_size->setEditText(FormaterTaille(m_police.GetTaille()));
    m_colour->Initialiser(m_police.GetCouleur());
    for (std::size_t i = 0; i < kFlagCount; ++i)
        m_flags[i]->setChecked((m_police.*kFlagControls[i].get)());
    m_loading = false;
    m_sample->update();
}

std::optional<double> CPagePoliceDlg::LireTaille(const QString& text)
{
    std::string size = text.toStdString();
    std::size_t start = 0;
    while (start < size.size() && IsBlank(size[start]))
        ++start;
    for (char& c : size)
        if (c == ',')
            c = '.';
    double value = 0;
    const char* end = size.data() + size.size();
    const auto [rest, error] = std::from_chars(size.data() + start, end, value);
    if (error != std::errc() || start == size.size())
        return std::nullopt;
    for (const char* c = rest; c != end; ++c)
        if (!IsBlank(*c))
            return std::nullopt;
    if (!(value > 0) || value > kTailleMaximum)
        return std::nullopt;
    return value;
}

QString CPagePoliceDlg::FormaterTaille(double taille)
{
    if (taille == std::trunc(taille) && std::abs(taille) < 1e9)
        return QString::number(static_cast<long long>(taille));
    return QString::number(taille, 'f', 1);
}

QCheckBox* CPagePoliceDlg::GetCheckBox(int id) const
{
    for (std::size_t i = 0; i < kFlagCount; ++i)
        if (kFlagControls[i].id == id)
            return m_flags[i];
    return nullptr;
}

void CPagePoliceDlg::OnFace(const QString& face)
{
    // An emptied box names no face: the font keeps the one it has.
    if (m_loading || face.isEmpty())
        return;
    m_police.SetNom(face.toStdString());
    Changed();
}

void CPagePoliceDlg::OnSize(const QString& text)
{
    if (m_loading)
        return;
    const std::optional<double> size = LireTaille(text);
    if (!size)
        return;
    m_police.SetTaille(*size);
    Changed();
}

void CPagePoliceDlg::OnColour()
{
    if (m_loading)
        return;
    m_police.SetCouleur(m_colour->GetCouleur());
    Changed();
}

void CPagePoliceDlg::OnFlag(std::size_t index, bool checked)
{
    if (m_loading)
        return;
    (m_police.*kFlagControls[index].set)(checked);
    Changed();
}

void CPagePoliceDlg::Changed()
{
    m_sample->update();
    emit Modifie();
}
