#pragma once

#include "app/Inversion.h"

#include <QDialog>
#include <memory>
#include <optional>

class CContexteEtude;
class QProgressBar;
class QPushButton;

// "Inversion de la base": writes the inverted files of the open survey, with a bar that runs
// over its levels and questions. The work starts by itself a moment after the dialog shows (so
// that it is drawn first) and closes the dialog when it ends. "Annuler", Escape or closing the
// window only ask the work to stop before its next step; the work then ends without a stamp, so
// the inverted files stay unused. A failure says where and why, and ends the work the same way.
class CInversionDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 213 };
    static constexpr int kStartTimerId = 101;
    static constexpr int kStartDelayMilliseconds = 1000;

    explicit CInversionDlg(CContexteEtude& context, QWidget* parent = nullptr);
    ~CInversionDlg() override;

    // How the work ended; none before it has.
    std::optional<CInversion::Issue> GetIssue() const { return m_issue; }
    bool EstArrete() const { return m_stop; }

    void reject() override;

    QProgressBar& Bar() const { return *m_bar; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    class Progress;

    void Travailler();
    void SignalerEchec(const Progress& progress);

    CContexteEtude& m_context;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    int m_timer = 0;
    bool m_started = false;
    bool m_stop = false;
    std::optional<CInversion::Issue> m_issue;
};
