#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// Answers the modal dialogs that a command opens, without a user: one step per dialog, in the
// order the dialogs appear, each given the dialog as soon as it is shown. A step fills its dialog
// and closes it; a dialog that its step left open, or that no step is left for, is cancelled and
// counted, so that a run that goes wrong ends rather than waits. Answers while it lives.
class ModalAnswers {
public:
    using Step = std::function<void(QDialog&)>;

    explicit ModalAnswers(std::vector<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { AnswerShownDialog(); });
        m_timer.start(0);
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // How many steps have been taken.
    std::size_t Answered() const { return m_next; }
    // How many dialogs were cancelled for want of an answer.
    int Unexpected() const { return m_unexpected; }

private:
    void AnswerShownDialog() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == m_current)
            return;
        m_current = dialog;
        if (m_next < m_steps.size())
            m_steps[m_next++](*dialog);
        if (m_current != nullptr && m_current->isVisible()) {
            ++m_unexpected;
            m_current->reject();
        }
    }

    QTimer m_timer;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QPointer<QDialog> m_current;
    int m_unexpected = 0;
};
