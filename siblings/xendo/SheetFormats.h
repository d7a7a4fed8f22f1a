#pragma once

// What both workbook formats name alike: the sheet and the number formats
// of date cells (day first, as the users read dates).
namespace xendo {

inline constexpr const char* kSheetName = "Foglio1";
inline constexpr const char* kDateFormat = "dd/mm/yyyy";
inline constexpr const char* kDateTimeFormat = "dd/mm/yyyy hh:mm:ss";
inline constexpr const char* kTimeFormat = "hh:mm:ss";

}  // namespace xendo
