#pragma once
// Other programs at the settings store: the test binary runs itself with one
// of these flags first and does that one thing instead of running tests.
//
//   --store-writer FILE PREFIX COUNT [--report]
//       writes COUNT values named PREFIX0, PREFIX1, ... into one shared key,
//       each through a fresh open-write-close round as the programs do; with
//       --report it prints "wrote N" once value N is written.
//   --hold-store-lock FILE
//       takes the store's lock, prints "held" and keeps it until it is killed
//       (or its standard input closes).
//   --store-write-one FILE NAME SIZE
//       writes one text value of SIZE characters; on failure prints the
//       store's error and exits 1.

#include <optional>

#include <QStringList>

inline constexpr char kStoreWriterFlag[] = "--store-writer";
inline constexpr char kHoldLockFlag[] = "--hold-store-lock";
inline constexpr char kWriteOneFlag[] = "--store-write-one";
inline constexpr char kReportFlag[] = "--report";
inline constexpr char kRaceKey[] = "\\Software\\Tarvex\\Race";

// The exit code when arguments (program name first) name one of the flags;
// nothing otherwise. The store writer exits 0 when every write succeeded.
std::optional<int> RunStoreChild(const QStringList& arguments);
