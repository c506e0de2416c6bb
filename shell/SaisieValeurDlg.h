#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// "Velto": asks for one value, a whole number between two bounds or a text of bounded length,
// under a prompt of the string table. OK keeps the dialog open, with a message, on a value that
// does not fit.
class CSaisieValeurDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 211 };
    enum Mode { kNombre = 0, kTexte = 1 };
    // No limit on the length of a text.
    static constexpr int kSansLimite = -1;

    // A whole number within [minimum, maximum], starting from `initial`.
    CSaisieValeurDlg(int promptId, double minimum, double maximum, int initial, QWidget* parent = nullptr);
    // A text of at most `maximumLength` characters (kSansLimite: any), starting from `initial`.
    CSaisieValeurDlg(int promptId, const std::string& initial, int maximumLength, QWidget* parent = nullptr);

    // After OK: the number read, or the text typed.
    double GetResultat() const { return m_result; }
    std::string GetTexte() const;

    void accept() override;

    QLabel& PromptLabel() const { return *m_prompt; }
    QLineEdit& ValueEdit() const { return *m_value; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

private:
    CSaisieValeurDlg(int promptId, Mode mode, QWidget* parent);
    bool AccepteNombre();
    bool AccepteTexte() const;

    Mode m_mode;
    double m_minimum = 0;
    double m_maximum = 0;
    int m_maximumLength = kSansLimite;
    double m_result = 0;
    QLabel* m_prompt;
    QLineEdit* m_value;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
