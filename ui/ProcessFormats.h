#pragma once
// Number and date formats for the whole process, fixed before any window
// exists so that every conversion between numbers and text uses "." whatever
// the user's regional settings say.

namespace quillon {

// Short dates ("mm/dd/yyyy") are written and read by FormatShortDate and
// ReadShortDate of online/OnlineCommon.h, which depend on no locale.

// Call right after constructing QApplication, which adopts the user's
// LC_NUMERIC: puts the C library and QLocale back to "." decimals.
void FixProcessFormats();

}  // namespace quillon
