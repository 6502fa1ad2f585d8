#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The platform's per-user store of the application's settings, opened afresh.
std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName);
