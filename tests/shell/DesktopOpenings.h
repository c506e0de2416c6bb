#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace shell_test {

// Takes the files the program hands to the desktop (a workbook to open in the spreadsheet
// program) while it lives, and keeps their paths instead of starting anything.
class DesktopOpenings : public QObject {
    Q_OBJECT

public:
    DesktopOpenings() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~DesktopOpenings() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    DesktopOpenings(const DesktopOpenings&) = delete;
    DesktopOpenings& operator=(const DesktopOpenings&) = delete;

    Q_INVOKABLE void Open(const QUrl& url) { opened << url.toLocalFile(); }

    QStringList opened;
};

} // namespace shell_test
