#pragma once
// The maker's addresses and notice shown on the main window.

namespace quillon {

inline constexpr char kMakerWebAddress[] = "http://www.tarvex.example";
inline constexpr char kSupportEmail[] = "support@tarvex.example";
// The mail link opens a new message with this subject.
inline constexpr char kSupportMailSubject[] = "QUILLON";
// The hint of the window, its status bar and every group box.
inline constexpr char kMakerNotice[] = "Tarvex Quillon - Copyright Tarvex, all rights reserved";

}  // namespace quillon
