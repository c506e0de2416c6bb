#include "gui/presentation/SizingDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CSizingDlg::CSizingDlg(const CParamSizing& param, bool question, bool qualite, bool contribution, int axes,
                       QWidget* parent)
    : ModeMappingDlg(QStringLiteral("Sizing"), question, qualite, contribution, axes, parent),
      m_param(param) {
    auto* group = new QGroupBox(QStringLiteral("Taille du symbole pour"), this);
    auto* grid = new QGridLayout(group);
    m_low = new QSpinBox(group);
    m_high = new QSpinBox(group);
    int row = 0;
    for (auto [texte, edit] : {std::pair{"Valeurs faibles:", m_low}, std::pair{"Valeurs fortes:", m_high}}) {
        edit->setRange(kTailleMin, kTailleMax);
        auto* label = new QLabel(QString::fromUtf8(texte), group);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    // A record outside the range shows its nearest allowed size.
    m_low->setValue(param.tailleMin);
    m_high->setValue(param.tailleMax);
    Corps().addWidget(group);
    Terminer();
    Initialiser(param.mode, 1, param.question);
    GetAxeEdit().setValue(param.axe);
}

CSizingDlg::~CSizingDlg() = default;

void CSizingDlg::Enregistrer() {
    m_param.mode = GetMode();
    m_param.axe = GetAxe();
    m_param.question = GetQuestion();
    m_param.tailleMin = m_low->value();
    m_param.tailleMax = m_high->value();
}
