#pragma once
// A second program writing to the settings store: the test binary runs itself
// with --store-writer FILE PREFIX COUNT, and writes COUNT values named
// PREFIX0, PREFIX1, ... into one shared key, each through a fresh
// open-write-close round as the programs do.

#include <QStringList>

inline constexpr char kStoreWriterFlag[] = "--store-writer";
inline constexpr char kRaceKey[] = "\\Software\\Tarvex\\Race";

// Exit code 0 when every write reported success.
int RunStoreWriter(const QStringList& arguments);
