#pragma once

namespace qv {

// The main window's menu: a bar whose one popup is the "Схема" menu.
inline constexpr int IDR_MENUBAR = 100;

// Commands of the main window's menu.
inline constexpr int ID_ABOUT = 1003;
inline constexpr int ID_EXIT = 1004;
inline constexpr int ID_LOAD_MAP = 1030;
inline constexpr int ID_STATION_LIST = 1031;
inline constexpr int ID_SETTINGS = 1035;
inline constexpr int ID_HELP = 1041;

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

// The toolbar's image strip.
inline constexpr int IDB_TOOLBAR = 2010;

// Icons: the program's, and those of the station picker's departure and destination buttons.
inline constexpr int IDI_APP = 1;
inline constexpr int IDI_DEPARTURE = 5003;
inline constexpr int IDI_DESTINATION = 5004;

// The station picker and the route details pages, and their controls. The two buttons share their
// ids with the main window's departure and destination commands.
inline constexpr int IDD_STATION_PICKER = 201;
inline constexpr int IDD_ROUTE_DETAILS = 5008;
inline constexpr int IDC_LIST = 1021;
inline constexpr int IDC_LETTER_TABS = 1022;
inline constexpr int ID_DEPARTURE = 1025;
inline constexpr int ID_DESTINATION = 1026;
inline constexpr int IDC_NAME_EDIT = 1065;

}  // namespace qv
