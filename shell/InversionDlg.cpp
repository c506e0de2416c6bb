#include "shell/InversionDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {
constexpr int kMinimumWidth = 380;
} // namespace

// What the inversion says to the user goes to the study's user, but its progress moves the
// dialog's bar, lets the window live between steps, and answers the stop flag.
class CInversionDlg::Progress final : public UserInterface {
public:
    Progress(CInversionDlg& dialog, UserInterface& user) : m_dialog(dialog), m_user(user) {}

    void ShowMessage(const Message& message, Icon icon) override { m_user.ShowMessage(message, icon); }
    bool AskYesNo(const Message& question) override { return m_user.AskYesNo(question); }
    Reply AskYesNoCancel(const Message& question) override { return m_user.AskYesNoCancel(question); }
    void BeginWait() override { m_user.BeginWait(); }
    void EndWait() override { m_user.EndWait(); }

    void BeginProgress(const Message& /*title*/, int steps) override {
        m_began = true;
        m_dialog.m_bar->setRange(0, steps);
        m_dialog.m_bar->setValue(0);
    }
    bool ReportProgress(int step) override {
        m_lastStep = step;
        m_dialog.m_bar->setValue(step);
        QCoreApplication::processEvents();
        return !m_dialog.m_stop;
    }
    void EndProgress() override {}

    // The step the work was at when it stopped: the one after the last reported; none before the
    // steps began.
    std::optional<int> CurrentStep() const {
        return m_began ? std::optional<int>(m_lastStep + 1) : std::nullopt;
    }

private:
    CInversionDlg& m_dialog;
    UserInterface& m_user;
    bool m_began = false;
    int m_lastStep = -1;
};

CInversionDlg::CInversionDlg(CContexteEtude& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("&Annuler"), this)) {
    setWindowTitle(QString::fromStdString(StringTable::Text(StringTable::kInversionDeLaBase)));
    setMinimumWidth(kMinimumWidth);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &CInversionDlg::reject);
}

CInversionDlg::~CInversionDlg() = default;

void CInversionDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started && m_timer == 0)
        m_timer = startTimer(kStartDelayMilliseconds);
}

void CInversionDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer) {
        QDialog::timerEvent(event);
        return;
    }
    killTimer(m_timer);
    m_timer = 0;
    Travailler();
}

void CInversionDlg::reject() {
    m_stop = true;
    // While the work runs it closes the dialog itself, at its next step.
    if (m_started)
        return;
    if (m_timer != 0) {
        killTimer(m_timer);
        m_timer = 0;
    }
    QDialog::reject();
}

void CInversionDlg::Travailler() {
    // Stopped before it began: the inverted files are left as they were.
    if (m_stop) {
        QDialog::reject();
        return;
    }
    m_started = true;
    Progress progress(*this, m_context.GetUserInterface());
    CInversion inversion(m_context, progress);
    m_issue = inversion.InverserBase();
    if (m_issue == CInversion::Issue::Failed)
        SignalerEchec(progress);
    m_started = false;
    if (m_issue == CInversion::Issue::Done)
        QDialog::accept();
    else
        QDialog::reject();
}

void CInversionDlg::SignalerEchec(const Progress& progress) {
    const std::string& reason = m_context.lastError;
    const int levels = m_context.DonnerNbreNiveaux();
    const std::optional<int> step = progress.CurrentStep();
    Message message(StringTable::kInversionEchouee, {reason});
    if (step && *step < levels) {
        message = Message(StringTable::kInversionNiveauEchouee, {m_context.DonnerNiveau(*step)->name, reason});
    } else if (step && *step - levels < m_context.DonnerNbreQuestions()) {
        message = Message(StringTable::kInversionQuestionEchouee,
                          {m_context.DonnerQuestion(*step - levels)->name, reason});
    }
    m_context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Error);
}
