#include "core/store/ProgramStore.h"

#include "core/store/RegistryStore.h"

#include <memory>

RegistryStore& ProgramStore::get()
{
    thread_local std::unique_ptr<RegistryStore> store;
    const QString path = RegistryStore::defaultDatabasePath();
    if (!store || store->databasePath() != path)
        store = std::make_unique<RegistryStore>(path);
    return *store;
}
