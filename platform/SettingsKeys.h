#pragma once
// Where each owner keeps its values in the settings store. Paths are written
// with backslashes, as the store takes them.

namespace quillon {

// The key under which the maker's programs register themselves; the update
// and news reminders keep their keys below it too.
inline constexpr char kMakerKey[] = "\\Software\\Tarvex";

// Shared by the maker's programs: the data folder and the web server's address.
inline constexpr char kCommonFilesKey[] = "\\Software\\Tarvex\\Common Files";
// The shared data folder, where the price list and the downloads live.
inline constexpr char kDataFolderValue[] = "Path";

// This program's registration (menu caption, installer, folder, executable).
inline constexpr char kProgramKey[] = "\\Software\\Tarvex\\Quillon";

// What the launcher's set-up keeps for itself: the data folder it gave the
// user, and a checksum of the price list it last put there.
inline constexpr char kLauncherKey[] = "\\Software\\Tarvex\\Quillon\\Launcher";
inline constexpr char kLauncherDataFolderValue[] = "DataFolder";
inline constexpr char kSeededPriceListValue[] = "SeededPriceList";

// The remembered query and the chosen currency.
inline constexpr char kSettingsKey[] = "\\Software\\Tarvex\\Quillon\\Settings";
// The Tag of the chosen currency's menu item.
inline constexpr char kCurrencyValue[] = "Currency";

}  // namespace quillon
