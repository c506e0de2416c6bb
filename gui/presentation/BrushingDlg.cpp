#include "gui/presentation/BrushingDlg.h"

#include "gui/presentation/DessinSymbole.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

namespace {

struct Echantillon {
    int niveau;
    const char* texte;
};

constexpr Echantillon kEchantillons[] = {
    {CBrushingDlg::kBasse, "Valeurs faibles:"},
    {CBrushingDlg::kMoyenne, "Valeurs moyennes:"},
    {CBrushingDlg::kHaute, "Valeurs fortes:"},
};

// A rectangle painted by a function of its painter and size.
class Surface : public QWidget {
public:
    Surface(std::function<void(QPainter&, const QSize&)> paint, QWidget* parent)
        : QWidget(parent), m_paint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        m_paint(painter, size());
    }

private:
    std::function<void(QPainter&, const QSize&)> m_paint;
};

// Channel by channel a + (b - a)·num/den, truncated toward zero.
std::uint32_t Melange(std::uint32_t a, std::uint32_t b, long long num, long long den) {
    std::uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const long long ca = (a >> shift) & 0xFF;
        const long long cb = (b >> shift) & 0xFF;
        const long long mixed = den != 0 ? ca + (cb - ca) * num / den : ca;
        colour |= static_cast<std::uint32_t>(std::clamp(mixed, 0LL, 255LL)) << shift;
    }
    return colour;
}

} // namespace

CBrushingDlg::CBrushingDlg(const CParamBrushing& param, bool question, bool qualite, bool contribution,
                           int axes, QWidget* parent)
    : ModeMappingDlg(QStringLiteral("Brushing"), question, qualite, contribution, axes, parent),
      m_param(param) {
    auto* grid = new QGridLayout();
    int row = 0;
    for (const Echantillon& echantillon : kEchantillons) {
        const int niveau = echantillon.niveau;
        grid->addWidget(new QLabel(QString::fromUtf8(echantillon.texte), this), row, 0);
        auto* sample = new Surface(
            [this, niveau](QPainter& painter, const QSize& size) {
                painter.fillRect(QRect(QPoint(0, 0), size), DessinSymbole::Couleur(Couleur(niveau)));
            },
            this);
        sample->setMinimumSize(60, 20);
        m_samples[static_cast<std::size_t>(niveau)] = sample;
        grid->addWidget(sample, row, 1);
        auto* button = new QPushButton(QStringLiteral("..."), this);
        m_buttons[static_cast<std::size_t>(niveau)] = button;
        connect(button, &QPushButton::clicked, this, [this, niveau] { OnCouleur(niveau); });
        grid->addWidget(button, row, 2);
        ++row;
    }
    m_gradient = new Surface(
        [this](QPainter& painter, const QSize& size) {
            for (int y = 0; y < size.height(); ++y) {
                painter.setPen(DessinSymbole::Couleur(CouleurDegrade(m_param, y, size.height())));
                painter.drawLine(0, y, size.width() - 1, y);
            }
        },
        this);
    m_gradient->setMinimumSize(30, 3 * 20);
    grid->addWidget(m_gradient, 0, 3, 3, 1);
    Corps().addLayout(grid);
    Terminer();
    Initialiser(param.mode, 1, param.question);
    GetAxeEdit().setValue(param.axe);
}

CBrushingDlg::~CBrushingDlg() = default;

std::uint32_t& CBrushingDlg::Couleur(int niveau) {
    switch (niveau) {
    case kBasse:
        return m_param.couleurBasse;
    case kMoyenne:
        return m_param.couleurMoyenne;
    default:
        return m_param.couleurHaute;
    }
}

std::uint32_t CBrushingDlg::CouleurDegrade(const CParamBrushing& param, int y, int h) {
    if (y < h / 2)
        return Melange(param.couleurBasse, param.couleurMoyenne, 2LL * y, h);
    return Melange(param.couleurMoyenne, param.couleurHaute, 2LL * (y - h / 2), h);
}

void CBrushingDlg::OnCouleur(int niveau) {
    const QColor chosen = QColorDialog::getColor(DessinSymbole::Couleur(Couleur(niveau)), this);
    if (!chosen.isValid())
        return;
    Couleur(niveau) = static_cast<std::uint32_t>(chosen.red()) |
                      (static_cast<std::uint32_t>(chosen.green()) << 8) |
                      (static_cast<std::uint32_t>(chosen.blue()) << 16);
    update();
    for (QWidget* sample : m_samples)
        sample->update();
    m_gradient->update();
}

void CBrushingDlg::Enregistrer() {
    m_param.mode = GetMode();
    m_param.axe = GetAxe();
    m_param.question = GetQuestion();
}
