#include "ui/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace vemro {

namespace {

const QString kRecentKey = QStringLiteral("recentProjects");
const QString kFolderKey = QStringLiteral("lastFolder");

}  // namespace

RecentFiles::RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), menu_(menu), open_(std::move(open)) {
    fillMenu();
}

QStringList RecentFiles::paths() const {
    QStringList list = QSettings().value(kRecentKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxEntries);
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings settings;
    settings.setValue(kRecentKey, list.mid(0, kMaxEntries));
    settings.setValue(kFolderKey, QFileInfo(absolute).absolutePath());
    fillMenu();
}

void RecentFiles::clear() {
    QSettings().remove(kRecentKey);
    fillMenu();
}

QString RecentFiles::lastFolder() const {
    const QString folder = QSettings().value(kFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void RecentFiles::rememberFolderOf(const QString& path) {
    QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void RecentFiles::fillMenu() {
    // The entry being triggered may be among the old ones: they go once its signal is done.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    const QStringList list = paths();
    for (int i = 0; i < list.size(); ++i) {
        const QString& path = list[i];
        // The first nine entries get their number as the menu key; "&&" keeps a "&" in a name.
        QString text = QDir::toNativeSeparators(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text));
        entry->setStatusTip(tr("Open %1").arg(QDir::toNativeSeparators(path)));
        connect(entry, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_->addSeparator();
    QAction* clearEntry = menu_->addAction(tr("Clear Menu"));
    clearEntry->setObjectName(QStringLiteral("actionClearRecent"));
    clearEntry->setEnabled(!list.isEmpty());
    connect(clearEntry, &QAction::triggered, this, [this] { clear(); });
    menu_->menuAction()->setEnabled(!list.isEmpty());
}

}  // namespace vemro
