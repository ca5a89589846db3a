#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

// The window keeps recent projects and folders in the program's settings. Every window test
// process keeps them in a temporary folder of its own, never in the user's settings.
inline void vemroUseTemporarySettings() {
    static QTemporaryDir folder;
    QCoreApplication::setOrganizationName(QStringLiteral("Vemro tests"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

Q_COREAPP_STARTUP_FUNCTION(vemroUseTemporarySettings)
