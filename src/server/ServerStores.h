#pragma once
// Lets the program open books given as "postgresql://…" wherever it opens a
// database file (DataModule, through StoreOpener.h).
namespace tk {

void registerServerStores();

} // namespace tk
