#pragma once

namespace qv {

// Strings of the string table.
inline constexpr unsigned IDS_TITLE = 4000;
inline constexpr unsigned IDS_MENUBAR_SCHEME = 4002;

// Bitmaps of the scheme's markers.
inline constexpr int IDB_DEPARTURE_MARKER = 5018;
inline constexpr int IDB_FORBIDDEN_MARKER = 5019;
inline constexpr int IDB_DESTINATION_MARKER = 5020;

// 16 x 16 images of the rows of the route's list.
inline constexpr int IDB_ROUTE_TRAIN = 5009;
inline constexpr int IDB_ROUTE_DEPARTURE = 5010;
inline constexpr int IDB_ROUTE_DESTINATION = 5011;
inline constexpr int IDB_ROUTE_TRANSFER = 5013;
inline constexpr int IDB_ROUTE_SUMMARY = 5014;

// The main window's menu bar: the description and the menu it opens share the id; the command of
// its "Cхема" button.
inline constexpr int IDR_MENUBAR = 100;
inline constexpr int ID_MENUBAR_SCHEME = 101;

}  // namespace qv
