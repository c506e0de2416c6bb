#pragma once

#include <QMainWindow>

class CEnquete;
class QTreeWidget;

// The smallest window of the program until the main frame exists: the questions of the open
// survey as a tree following their outline depth, with their level.
class QuestionListWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit QuestionListWindow(QWidget* parent = nullptr);

    void ShowSurvey(const QString& path, const CEnquete& survey);

private:
    QTreeWidget* tree_;
};
