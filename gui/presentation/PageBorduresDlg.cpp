#include "gui/presentation/PageBorduresDlg.h"

#include "framework/ComboTrait.h"
#include "presentation/PresentationTableau.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

using P = CPageBorduresDlg;
using Word = std::uint16_t;

struct BorderRow {
    const char* text;
    int sizeId;
    int styleId;
    Word (CPresentationTableau::*getSize)() const;
    void (CPresentationTableau::*setSize)(Word);
    Word (CPresentationTableau::*getStyle)() const;
    void (CPresentationTableau::*setStyle)(Word);
};

// clang-format off
constexpr std::array<BorderRow, 3> kRows{{
    {"A l'intérieur des cellules:", P::kTailleInterieur, P::kStyleInterieur,
     &CPresentationTableau::GetThinBorderSize, &CPresentationTableau::SetThinBorderSize,
     &CPresentationTableau::GetThinBorderType, &CPresentationTableau::SetThinBorderType},
    {"Entre les cellules:", P::kTailleEntre, P::kStyleEntre,
     &CPresentationTableau::GetNormalBorderSize, &CPresentationTableau::SetNormalBorderSize,
     &CPresentationTableau::GetNormalBorderType, &CPresentationTableau::SetNormalBorderType},
    {"Contour du tableau:", P::kTailleContour, P::kStyleContour,
     &CPresentationTableau::GetThickBorderSize, &CPresentationTableau::SetThickBorderSize,
     &CPresentationTableau::GetThickBorderType, &CPresentationTableau::SetThickBorderType},
}};
// clang-format on

} // namespace

CPageBorduresDlg::CPageBorduresDlg(CPresentationTableau& presentation, QWidget* parent)
    : QWidget(parent), m_presentation(presentation)
{
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Taille"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Style"), this), 0, 2);
    for (std::size_t row = 0; row < kRowCount; ++row) {
        const BorderRow& border = kRows[row];
        auto* size = new QSpinBox(this);
        size->setObjectName(QString::number(border.sizeId));
        size->setRange(0, kTailleMaximum);
        auto* style = new CComboTrait(this);
        style->setObjectName(QString::number(border.styleId));
        auto* label = new QLabel(QString::fromUtf8(border.text), this);
        label->setBuddy(size);
        const int line = static_cast<int>(row) + 1;
        grid->addWidget(label, line, 0);
        grid->addWidget(size, line, 1);
        grid->addWidget(style, line, 2);
        connect(size, &QSpinBox::valueChanged, this, [this, row](int value) { OnSize(row, value); });
        connect(style, &QComboBox::currentIndexChanged, this, [this, row] { OnStyle(row); });
        m_sizes[row] = size;
        m_styles[row] = style;
    }
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    Afficher();
}

void CPageBorduresDlg::Afficher()
{
    m_loading = true;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        m_sizes[row]->setValue((m_presentation.*kRows[row].getSize)());
        m_styles[row]->Initialiser((m_presentation.*kRows[row].getStyle)());
    }
    m_loading = false;
}

QSpinBox* CPageBorduresDlg::GetSizeBox(int id) const
{
    for (std::size_t row = 0; row < kRowCount; ++row)
        if (kRows[row].sizeId == id)
            return m_sizes[row];
    return nullptr;
}

CComboTrait* CPageBorduresDlg::GetStyleBox(int id) const
{
    for (std::size_t row = 0; row < kRowCount; ++row)
        if (kRows[row].styleId == id)
            return m_styles[row];
    return nullptr;
}

void CPageBorduresDlg::OnSize(std::size_t row, int size)
{
    if (m_loading)
        return;
    (m_presentation.*kRows[row].setSize)(static_cast<Word>(size));
    emit Modifie();
}

void CPageBorduresDlg::OnStyle(std::size_t row)
{
    if (m_loading)
        return;
    (m_presentation.*kRows[row].setStyle)(static_cast<Word>(m_styles[row]->GetStyle()));
    emit Modifie();
}
