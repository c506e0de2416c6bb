#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QProgressBar;

// A small window without a title that shows how far a long piece of work has gone: a text and a
// bar. It shows itself, centred on its parent, as it is made, and stays until it is destroyed.
// Positions are given in the caller's range; the bar itself runs from 0 to kBarMaximum.
class CProgressionDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 221 };
    static constexpr int kBarMaximum = 32767;

    explicit CProgressionDlg(QWidget* parent = nullptr);

    void SetRange(int low, int high);
    // Moves the bar to (position - low) / (high - low) of its length, truncated; with low equal
    // to high the bar stays. A position outside the range puts the bar at its nearest end.
    void SetPos(int position);
    void SetTexte(const QString& text);

    // The bar's position for a position of the range [low, high]; none when low equals high.
    static std::optional<int> BarPosition(int low, int high, int position);

    QProgressBar& Bar() const { return *m_bar; }
    QLabel& TexteLabel() const { return *m_text; }

private:
    void CentreOnParent();

    int m_low = 0;
    int m_high = 0;
    QLabel* m_text;
    QProgressBar* m_bar;
};
