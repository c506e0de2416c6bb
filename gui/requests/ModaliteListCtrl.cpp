#include "gui/requests/ModaliteListCtrl.h"

#include "app/ModaliteEtendue.h"

#include <QHeaderView>
#include <QString>

CModaliteListCtrl::CModaliteListCtrl(QWidget* parent) : LineListWidget(parent) {
    setHeaderLabels({QStringLiteral("Libellé"), QStringLiteral("Effectif"), QStringLiteral("Ordre")});
    setColumnWidth(kLibelle, 200);
    setColumnWidth(kEffectif, 120);
    setColumnWidth(kOrdre, 60);
    // The columns keep their widths: the last one stretched would not shrink back below its own.
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &CModaliteListCtrl::TrierParColonne);
}

void CModaliteListCtrl::Initialiser(Lines& lines) {
    m_lines = &lines;
    FillRows();
}

void CModaliteListCtrl::TrierParColonne(int column) {
    if (m_lines == nullptr)
        return;
    switch (column) {
    case kLibelle:
        SortRows([this](int a, int b) {
            return QString::fromStdString(Line(a).GetShortCaption())
                       .compare(QString::fromStdString(Line(b).GetShortCaption()), Qt::CaseInsensitive) < 0;
        });
        break;
    case kEffectif:
        SortRows([this](int a, int b) { return Line(a).extraWord > Line(b).extraWord; });
        break;
    case kOrdre:
        SortRows([](int a, int b) { return a < b; });
        break;
    default:
        break;
    }
}

int CModaliteListCtrl::LineCount() const {
    return m_lines != nullptr ? static_cast<int>(m_lines->size()) : 0;
}

bool CModaliteListCtrl::IsTicked(int line) const {
    return Line(line).selected;
}

void CModaliteListCtrl::SetTicked(int line, bool ticked) {
    Line(line).selected = ticked;
}

LineListWidget::Options CModaliteListCtrl::GetOptions(int line) const {
    return Line(line).displayOptions;
}

void CModaliteListCtrl::SetOptions(int line, const Options& options) {
    Line(line).displayOptions = options;
}

std::string CModaliteListCtrl::GetLabel(int line) const {
    return Line(line).GetShortCaption();
}

void CModaliteListCtrl::SetLabel(int line, const std::string& label) {
    Line(line).SetShortCaption(label);
}

void CModaliteListCtrl::ShowOtherColumns(QTreeWidgetItem& item, int line, int row) {
    item.setText(kEffectif, QString::number(Line(line).extraWord));
    item.setText(kOrdre, QString::number(row + 1));
}

CModaliteEtendue& CModaliteListCtrl::Line(int line) const {
    return *m_lines->at(static_cast<std::size_t>(line));
}
