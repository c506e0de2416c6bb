#include "gui/presentation/PanneauPolice.h"

#include "framework/ComboCouleur.h"
#include "gui/presentation/DessinSymbole.h"
#include "gui/presentation/PagePoliceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <charconv>
#include <cmath>
#include <cstdio>

PanneauPolice::PanneauPolice(const QString& faceCaption, const CPoliceAna& font, QWidget* parent)
    : QWidget(parent), m_font(font) {
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_face = new QComboBox(this);
    m_face->addItems(QFontDatabase::families());
    // A face the system lacks stays shown by its name, so that the reader sees what is kept.
    m_face->setEditable(true);
    m_face->setInsertPolicy(QComboBox::NoInsert);
    m_face->setCurrentIndex(m_face->findText(QString::fromStdString(font.GetNom()), Qt::MatchExactly));
    m_face->setEditText(QString::fromStdString(font.GetNom()));
    m_size = new QComboBox(this);
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (int size : kTailles)
        m_size->addItem(QString::number(size));
    m_size->setCurrentIndex(-1);
    m_size->setEditText(CPagePoliceDlg::FormaterTaille(font.GetTaille()));
    m_colour = new CComboCouleur(this);
    m_colour->Initialiser(font.GetCouleur());
    m_bold = new QCheckBox(QStringLiteral("&Gras"), this);
    m_italic = new QCheckBox(QStringLiteral("&Italique"), this);
    m_underline = new QCheckBox(QStringLiteral("&Souligné"), this);
    m_bold->setChecked(font.GetGras());
    m_italic->setChecked(font.GetItalique());
    m_underline->setChecked(font.GetSouligne());

    int row = 0;
    for (auto [caption, box] : {std::pair<QString, QComboBox*>{faceCaption, m_face},
                                std::pair<QString, QComboBox*>{QStringLiteral("&Taille :"), m_size},
                                std::pair<QString, QComboBox*>{QStringLiteral("&Couleur :"), m_colour}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        m_grid->addWidget(label, row, 0);
        m_grid->addWidget(box, row, 1);
        ++row;
    }
    auto* checks = new QHBoxLayout();
    checks->addWidget(m_bold);
    checks->addWidget(m_italic);
    checks->addWidget(m_underline);
    checks->addStretch();
    m_grid->addLayout(checks, row, 0, 1, 2);
    m_grid->setColumnStretch(1, 1);

    connect(m_face, &QComboBox::currentTextChanged, this, [this](const QString& face) {
        m_font.SetNom(face.toStdString());
        Changer();
    });
    connect(m_size, &QComboBox::currentTextChanged, this, &PanneauPolice::OnTaille);
    connect(m_colour, &QComboBox::currentIndexChanged, this, [this] {
        m_font.SetCouleur(m_colour->GetCouleur());
        Changer();
    });
    for (auto [check, setter] :
         {std::pair{m_bold, &CPoliceAna::SetGras}, std::pair{m_italic, &CPoliceAna::SetItalique},
          std::pair{m_underline, &CPoliceAna::SetSouligne}})
        connect(check, &QCheckBox::toggled, this, [this, setter = setter](bool on) {
            (m_font.*setter)(on);
            Changer();
        });
    m_starting = false;
}

void PanneauPolice::OnTaille() {
    const std::optional<double> size = CPagePoliceDlg::LireTaille(m_size->currentText());
    if (!size)
        return;
    m_font.SetTaille(*size);
    Changer();
}

void PanneauPolice::Changer() {
    if (!m_starting)
        emit changed();
}
