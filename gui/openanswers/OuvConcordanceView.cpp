#include "gui/openanswers/OuvConcordanceView.h"

#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "gui/openanswers/OuvConcordanceDoc.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/ConcordanceOrder.h"
#include "tabulation/Tableau.h"

#include <QHeaderView>
#include <algorithm>
#include <vector>

namespace {

struct ColumnLayout {
    int width;
    Qt::Alignment alignment;
};

constexpr ColumnLayout kColumns[] = {
    {30, Qt::AlignLeft | Qt::AlignVCenter},
    {200, Qt::AlignRight | Qt::AlignVCenter},
    {120, Qt::AlignHCenter | Qt::AlignVCenter},
    {200, Qt::AlignLeft | Qt::AlignVCenter},
};

constexpr int kPlaceRole = Qt::UserRole;

} // namespace

const CommandEntry<COuvConcordanceView> COuvConcordanceView::kCommandMap[] = {
    {kExporterWord, &COuvConcordanceView::OnExporterWord, nullptr},
    {kAjouterAuDossier, &COuvConcordanceView::OnAjouterAuDossier, &COuvConcordanceView::OnUpdateAjouterAuDossier},
};

COuvConcordanceView::COuvConcordanceView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    setColumnCount(static_cast<int>(std::size(kColumns)));
    setHeaderLabels({QString(), QString(), QString(), QString()});
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(true);
    header()->setResizeContentsPrecision(-1);
    for (int c = 0; c < columnCount(); ++c)
        header()->resizeSection(c, kColumns[c].width);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { Trier(column); });
}

COuvConcordanceView::~COuvConcordanceView() = default;

COuvConcordanceDoc* COuvConcordanceView::GetDoc() const {
    return dynamic_cast<COuvConcordanceDoc*>(GetDocument());
}

void COuvConcordanceView::OnInitialUpdate() {
    clear();
    const COuvConcordanceDoc* document = GetDoc();
    if (document == nullptr)
        return;
    const QString entry = QString::fromStdString(document->GetTexte());
    for (std::size_t i = 0; i < document->GetInterviews().size(); ++i) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(kInterview, QString::number(document->GetInterviews()[i]));
        item->setText(kGauche, QString::fromStdString(document->GetGauches()[i]));
        item->setText(kEntree, entry);
        item->setText(kDroite, QString::fromStdString(document->GetDroites()[i]));
        item->setData(kInterview, kPlaceRole, static_cast<int>(i));
        for (int c = 0; c < columnCount(); ++c)
            item->setTextAlignment(c, kColumns[c].alignment);
    }
    // The widths are the least a column takes: a context of ten words, a long segment or a
    // four-digit interview number is shown whole rather than cut in the middle of a word.
    for (int c = 0; c < columnCount(); ++c)
        header()->resizeSection(c, std::max(kColumns[c].width, sizeHintForColumn(c)));
}

void COuvConcordanceView::Trier(int column) {
    const COuvConcordanceDoc* document = GetDoc();
    if (document == nullptr || column == kEntree)
        return;
    std::vector<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0)
        items.push_back(takeTopLevelItem(0));
    const auto place = [](const QTreeWidgetItem* item) {
        return static_cast<std::size_t>(item->data(kInterview, kPlaceRole).toInt());
    };
    const auto before = [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        switch (column) {
        case kInterview: return document->GetInterviews()[place(a)] < document->GetInterviews()[place(b)];
        case kGauche: return ConcordanceOrder::ComparerGauche(document->GetGauches()[place(a)],
                                                            document->GetGauches()[place(b)]) < 0;
        default: return ConcordanceOrder::ComparerDroite(document->GetDroites()[place(a)],
                                                        document->GetDroites()[place(b)]) < 0;
        }
    };
    std::stable_sort(items.begin(), items.end(), before);
    for (QTreeWidgetItem* item : items)
        addTopLevelItem(item);
}

std::unique_ptr<CTableau> COuvConcordanceView::TableauDeLaListe() const {
    const COuvConcordanceDoc* document = GetDoc();
    const auto rows = static_cast<std::int32_t>(topLevelItemCount());
    auto table = std::make_unique<CTableau>(1, 3, rows, 0, CTableauBase::kMarqueParColonne);
    table->title = StringTable::Format(
        Message(StringTable::kConcordanceDe, {document != nullptr ? document->GetTexte() : std::string()}));
    table->base = 0;
    for (std::int32_t row = 0; row < rows; ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        for (const int level : {0, 1, 2}) {
            const CLigne label(item->text(level + 1).toStdString());
            table->SetLibelleLigne(level, row, &label);
        }
    }
    return table;
}

void COuvConcordanceView::OnExporterWord() {
    OuvFenetres::ExporterWord(*TableauDeLaListe(), this);
}

void COuvConcordanceView::OnUpdateAjouterAuDossier(CCmdUI& ui) {
    ui.Enable(OuvFenetres::PeutAjouterAuDossier());
}

void COuvConcordanceView::OnAjouterAuDossier() {
    OuvFenetres::AjouterAuDossier(*TableauDeLaListe());
}

bool COuvConcordanceView::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CView::HandleOwnCommand(id, kind, ui);
}
