#pragma once

#include "core/settings/TQWOptions.h"
#include "core/store/RegistryStore.h"

#include <QTemporaryDir>

#include <memory>

// A settings store of its own for one test: a fresh database in a
// temporary folder and the settings object over it. Make one per test
// (in init(), or as a local), and it is gone with the test.
struct TestStore
{
    QTemporaryDir dir;
    std::unique_ptr<RegistryStore> store;
    std::unique_ptr<TQWOptions> options;

    TestStore()
        : store(std::make_unique<RegistryStore>(dir.filePath(QStringLiteral("settings.sqlite")))),
          options(std::make_unique<TQWOptions>(store.get()))
    {
    }
    QString path() const { return dir.filePath(QStringLiteral("settings.sqlite")); }
};
