#pragma once

#include <QMainWindow>

class CQuestionnaire;
class QTreeWidget;

// The smallest window of the program until the main frame exists: the questions of the open
// questionnaire as a tree following their outline depth.
class QuestionListWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit QuestionListWindow(QWidget* parent = nullptr);

    void ShowQuestionnaire(const QString& path, const CQuestionnaire& questionnaire);

private:
    QTreeWidget* tree_;
};
