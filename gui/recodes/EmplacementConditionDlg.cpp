#include "gui/recodes/EmplacementConditionDlg.h"

#include "app/ChampCondition.h"
#include "recodes/AppliquerChampEtude.h"
#include "gui/recodes/DefinitionConditionDlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A description shows whole up to this many characters; a longer one scrolls in its box and
// shows whole as the box's tip.
constexpr int kCharactersShown = 80;

} // namespace

CEmplacementConditionDlg::CEmplacementConditionDlg(CContexteEtude& context, CChampCondition& condition,
                                                   QWidget* parent)
    : QWidget(parent), m_context(context), m_condition(condition), m_description(new QLineEdit(this)),
      m_define(new QPushButton(QStringLiteral("&Définir..."), this)) {
    m_description->setReadOnly(true);
    m_description->setMinimumWidth(m_description->fontMetrics().averageCharWidth() * kCharactersShown);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_description, 1);
    layout->addWidget(m_define);
    connect(m_define, &QPushButton::clicked, this, &CEmplacementConditionDlg::OnDefinir);
    Rafraichir();
}

void CEmplacementConditionDlg::Rafraichir() {
    const QString text = QString::fromStdString(DecrireCondition(m_condition));
    m_description->setText(text);
    m_description->setCursorPosition(0);
    m_description->setToolTip(text);
}

void CEmplacementConditionDlg::OnDefinir() {
    CDefinitionConditionDlg dialog(m_context, m_condition, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_condition = dialog.GetCondition();
    Rafraichir();
    emit Modifie();
}
