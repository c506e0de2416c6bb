#include "gui/statistics/SelLignesDlg.h"

CSelLignesDlg::CSelLignesDlg(const std::vector<std::string>& libelles, std::vector<std::uint32_t>& actifs,
                             std::vector<std::uint32_t>& illustratifs, QWidget* parent)
    : ActiveIllustrativeDialog(
          QStringLiteral("Sélection des lignes"), static_cast<std::uint32_t>(libelles.size()),
          [&libelles](std::uint32_t index) { return QString::fromStdString(libelles.at(index)); }, actifs,
          illustratifs, nullptr, parent),
      m_actifs(actifs), m_illustratifs(illustratifs) {
    setObjectName(QString::number(IDD));
}

void CSelLignesDlg::accept() {
    m_actifs = Numeros(kActif);
    m_illustratifs = Numeros(kIllustratif);
    QDialog::accept();
}
