#pragma once

#include <QDialog>

class CInfoVersion;
class QLabel;

// "À propos de Morvane": the program's name and version, its legal notice and the date of its
// build, in the user's way of writing dates.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 100 };

    explicit CAboutDlg(const CInfoVersion& info, QWidget* parent = nullptr);

    QLabel& VersionLabel() const { return *m_version; }
    QLabel& NoticeLabel() const { return *m_notice; }
    QLabel& DateLabel() const { return *m_date; }

private:
    QLabel* m_version;
    QLabel* m_notice;
    QLabel* m_date;
};
