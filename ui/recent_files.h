#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace vemro {

// The projects opened or saved last, newest first, and the folder a file dialog used last; both
// kept in the program's settings (QSettings), so they outlast the session. The list fills a
// menu: one entry per project, and "Clear Menu".
class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxEntries = 8;

    // open is called with the path of the entry the user picks.
    RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent = nullptr);

    QStringList paths() const;
    // Puts the project first (once), drops the oldest past kMaxEntries, and remembers its
    // folder.
    void add(const QString& path);
    void clear();

    // The folder used last, or the home folder when there is none yet.
    QString lastFolder() const;
    void rememberFolderOf(const QString& path);

private:
    void fillMenu();

    QMenu* menu_;
    std::function<void(const QString&)> open_;
};

}  // namespace vemro
