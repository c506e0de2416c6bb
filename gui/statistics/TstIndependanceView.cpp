#include "gui/statistics/TstIndependanceView.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "gui/statistics/SelModalitesDlg.h"
#include "gui/statistics/TstIndependanceDoc.h"
#include "statistics/IndependenceTest.h"

#include <QColor>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

constexpr double kManquante = -999999.99;

// The tabs' captions, in the order of the test's planes.
constexpr const char* kTabCaptions[IndependenceTest::kOngletCount] = {
    "Effectif", "Profils lignes", "Profils colonnes", "Contribution au Khi 2", "Effectif à l'indépendance"};

QColor ColourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

// A count with two decimals, a percentage with one and its sign; the missing value shows empty.
QString CellText(double value, int marker) {
    if (value == kManquante)
        return {};
    char text[48];
    std::snprintf(text, sizeof text, marker == 1 ? "%.1f %%" : "%.2f", value);
    return QString::fromUtf8(text);
}

QStringList Captions(const IndependenceTest::Modalites& modalities) {
    QStringList captions;
    for (const auto& modality : modalities)
        captions << QString::fromStdString(modality->GetShortCaption());
    return captions;
}

QLineEdit* ReadOnlyEdit(int id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setReadOnly(true);
    edit->setMaximumWidth(140);
    return edit;
}

} // namespace

CTstIndependanceView::CTstIndependanceView(QWidget* parent)
    : QWidget(parent), m_chiSquare(ReadOnlyEdit(kKhiDeux, this)), m_degrees(ReadOnlyEdit(kDegresLibertes, this)),
      m_verdict(new QLabel(this)), m_rowsButton(new QPushButton(QStringLiteral("Lignes"), this)),
      m_columnsButton(new QPushButton(QStringLiteral("&Colonnes"), this)), m_tabs(new QTabBar(this)),
      m_table(new QTableWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Hypothèse : On suppose que les questions sont indépendantes"), this));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Valeur du Khi 2 :"), this), 0, 0);
    grid->addWidget(m_chiSquare, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Degrés de liberté :"), this), 1, 0);
    grid->addWidget(m_degrees, 1, 1);
    grid->addWidget(m_rowsButton, 0, 3);
    grid->addWidget(m_columnsButton, 1, 3);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    // The sentence as it is: word-wrapped, no mnemonic or rich-text processing.
    m_verdict->setObjectName(QString::number(kVerdict));
    m_verdict->setTextFormat(Qt::PlainText);
    m_verdict->setWordWrap(true);
    layout->addWidget(m_verdict);
    m_tabs->setObjectName(QString::number(kOnglets));
    for (const char* caption : kTabCaptions)
        m_tabs->addTab(QString::fromUtf8(caption));
    layout->addWidget(m_tabs);
    m_table->setObjectName(QString::number(kTableau));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_table, 1);
    m_rowsButton->setObjectName(QString::number(kLignes));
    m_columnsButton->setObjectName(QString::number(kColonnes));
    connect(m_rowsButton, &QPushButton::clicked, this, [this] { OnModalites(IndependenceTest::kLignes); });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { OnModalites(IndependenceTest::kColonnes); });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int onglet) { AfficherOnglet(onglet); });
}

CTstIndependanceView::~CTstIndependanceView() = default;

QPushButton& CTstIndependanceView::GetBouton(int side) const {
    return side == IndependenceTest::kLignes ? *m_rowsButton : *m_columnsButton;
}

void CTstIndependanceView::OnInitialUpdate() {
    auto* document = dynamic_cast<CTstIndependanceDoc*>(GetDocument());
    CContexteEtude* context = GetContexte();
    if (document == nullptr || context == nullptr || document->GetQuestionLigne() == nullptr)
        return;
    document->SetTitle(QStringLiteral("Test d'indépendance"));
    m_test = std::make_unique<IndependenceTest>(*context, *document->GetQuestionLigne(), *document->GetQuestionColonne());
    Calculer();
}

void CTstIndependanceView::Calculer() {
    // A cross that cannot be computed leaves the screen as it was.
    if (m_test != nullptr && m_test->Calculer())
        AfficherResultats();
}

void CTstIndependanceView::AfficherResultats() {
    m_chiSquare->setText(QString::fromStdString(m_test->GetTexteKhiDeux()));
    m_degrees->setText(QString::number(m_test->GetDegresLibertes()));
    m_verdict->setText(QString::fromStdString(m_test->GetVerdict()));
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, ColourOf(m_test->GetCouleur()));
    m_verdict->setPalette(palette);
    m_table->setRowCount(m_test->GetLignes());
    m_table->setColumnCount(m_test->GetColonnes());
    m_table->setVerticalHeaderLabels(Captions(m_test->GetModalites(IndependenceTest::kLignes)));
    m_table->setHorizontalHeaderLabels(Captions(m_test->GetModalites(IndependenceTest::kColonnes)));
    AfficherOnglet(m_tabs->currentIndex());
}

void CTstIndependanceView::AfficherOnglet(int onglet) {
    if (m_test == nullptr || onglet < 0 || onglet >= IndependenceTest::kOngletCount)
        return;
    const std::vector<double>& plane = m_test->GetPlan(onglet);
    const int marker = IndependenceTest::DonnerMarqueur(onglet);
    const int columns = m_test->GetColonnes();
    for (int i = 0; i < m_test->GetLignes(); ++i)
        for (int j = 0; j < columns; ++j) {
            const std::size_t cell = static_cast<std::size_t>(i) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(j);
            auto* item = new QTableWidgetItem(CellText(cell < plane.size() ? plane[cell] : 0.0, marker));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(i, j, item);
        }
    m_table->resizeColumnsToContents();
}

void CTstIndependanceView::OnModalites(int side) {
    CContexteEtude* context = GetContexte();
    if (m_test == nullptr || context == nullptr)
        return;
    CSelModalitesDlg::Selection selection;
    for (const auto& modality : m_test->GetModalites(side))
        selection.push_back(std::make_unique<CModaliteEtendue>(*modality));
    CSelModalitesDlg dialog(*context, m_test->GetQuestion(side), selection, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_test->SetModalites(side, std::move(selection));
    Calculer();
}
