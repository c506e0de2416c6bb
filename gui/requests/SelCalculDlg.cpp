#include "gui/requests/SelCalculDlg.h"

#include "app/Calcul.h"
#include "app/StringTable.h"
#include "gui/requests/ChosenLine.h"
#include "gui/requests/SelectionButtons.h"

#include <QListWidget>
#include <QVBoxLayout>

CSelCalculDlg::CSelCalculDlg(const Calculs& calculations, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Sélectionner un calcul"));
    for (const auto& calculation : calculations) {
        if (!calculation)
            continue;
        auto* line = new QListWidgetItem(QString::fromStdString(calculation->label), m_list);
        line->setData(Qt::UserRole, calculation->code);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    AddOkCancelButtons(*this, *layout);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CSelCalculDlg::accept);
}

void CSelCalculDlg::accept() {
    const std::optional<std::int32_t> id = ChosenLineId(*m_list, StringTable::kSelectionnerUnCalcul);
    if (!id)
        return;
    m_code = *id;
    QDialog::accept();
}
