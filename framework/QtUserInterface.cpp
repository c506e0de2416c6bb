#include "framework/QtUserInterface.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRegularExpression>

#include "app/StringTable.h"

namespace {

// A message box breaks its lines at spaces only: a hyphenated word ("Voulez-vous") stays whole, the
// hyphen joined to the next letter by a word joiner, which shows nothing.
QString TextOf(const Message& message) {
    static const QRegularExpression kHyphenInWord(QStringLiteral(R"((?<=\w)-(?=\w))"),
                                                  QRegularExpression::UseUnicodePropertiesOption);
    QString text = QString::fromStdString(StringTable::Format(message));
    return text.replace(kHyphenInWord, QStringLiteral("-\u2060"));
}

QMessageBox::Icon BoxIcon(UserInterface::Icon icon) {
    switch (icon) {
    case UserInterface::Icon::Warning: return QMessageBox::Warning;
    case UserInterface::Icon::Error: return QMessageBox::Critical;
    case UserInterface::Icon::Question: return QMessageBox::Question;
    case UserInterface::Icon::Information: break;
    }
    return QMessageBox::Information;
}

} // namespace

QtUserInterface::QtUserInterface(QWidget* parent) : parent_(parent) {}

QtUserInterface::~QtUserInterface() = default;

void QtUserInterface::ShowMessage(const Message& message, Icon icon) {
    QMessageBox box(BoxIcon(icon), QApplication::applicationName(), TextOf(message), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtUserInterface::AskYesNo(const Message& question) {
    return QMessageBox::question(parent_, QApplication::applicationName(), TextOf(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

UserInterface::Reply QtUserInterface::AskYesNoCancel(const Message& question) {
    switch (QMessageBox::question(parent_, QApplication::applicationName(), TextOf(question),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Reply::Yes;
    case QMessageBox::No: return Reply::No;
    default: return Reply::Cancel;
    }
}

void QtUserInterface::BeginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUserInterface::EndWait() { QApplication::restoreOverrideCursor(); }

void QtUserInterface::BeginProgress(const Message& title, int steps) {
    progress_ = std::make_unique<QProgressDialog>(TextOf(title), QObject::tr("Annuler"), 0, steps, parent_);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(500);
}

bool QtUserInterface::ReportProgress(int step) {
    if (!progress_)
        return true;
    progress_->setValue(step);
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

void QtUserInterface::EndProgress() { progress_.reset(); }
