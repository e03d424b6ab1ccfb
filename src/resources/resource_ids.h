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

// Commands of the main window's toolbar and accelerators; Ctrl+O sends ID_OPEN, which nothing
// handles.
inline constexpr int ID_OPEN = 1001;
inline constexpr int ID_DEPARTURE = 1025;
inline constexpr int ID_DESTINATION = 1026;
inline constexpr int ID_CLEAR_STATIONS = 1033;
inline constexpr int ID_ROUTE_INFO = 1034;
inline constexpr int ID_FORBIDDEN_STATION = 1038;
inline constexpr int ID_SCALE = 1039;

// The main window's accelerator table.
inline constexpr int IDR_ACCELERATORS = 300;

// Timers of the main window: the tapped station's callout, and the route's blinking.
inline constexpr unsigned IDT_TOOLTIP = 1;
inline constexpr unsigned IDT_BLINK = 2;

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

// The command of the "Cхема" button of the main window's menu bar, whose description shares the
// id IDR_MENUBAR with the menu it opens.
inline constexpr int ID_MENUBAR_SCHEME = 101;

// The toolbar's image strip.
inline constexpr int IDB_TOOLBAR = 2010;

// Icons: the program's, and those of the station picker's departure and destination buttons.
inline constexpr int IDI_APP = 1;
inline constexpr int IDI_DEPARTURE = 5003;
inline constexpr int IDI_DESTINATION = 5004;

// The settings page and its controls.
inline constexpr int IDD_SETTINGS = 200;
inline constexpr int IDC_LABEL_PICKER = 1031;
inline constexpr int IDC_ALGO_TRANSFERS = 1050;
inline constexpr int IDC_ALGO_TIME = 1051;
inline constexpr int IDC_PICK_KEYBOARD = 1052;
inline constexpr int IDC_PICK_TABS = 1053;
inline constexpr int IDC_LABEL_ALGORITHM = 1055;
inline constexpr int IDC_COUNT_WAIT = 1056;
inline constexpr int IDC_LABEL_TOOLTIP = 1057;
inline constexpr int IDC_TOOLTIP_MS = 1058;
inline constexpr int IDC_LABEL_DISPLAY = 1059;
inline constexpr int IDC_SHOW_NAMES = 1060;
inline constexpr int IDC_MAX_TRANSFERS = 1061;
inline constexpr int IDC_ROUTE_LINE = 1062;
inline constexpr int IDC_ROUTE_STATIONS = 1063;
inline constexpr int IDC_ROUTE_BLINK = 1064;
inline constexpr int IDC_LABEL_SAVE = 1065;
inline constexpr int IDC_SAVE_ROUTE = 1066;
inline constexpr int IDC_CYRILLIC_FONT = 1067;
inline constexpr int IDC_SAVE_ZOOM = 1068;
inline constexpr int IDC_SAVE_POSITION = 1069;

// The about box and its product name.
inline constexpr int IDD_ABOUT = 202;
inline constexpr int IDC_ABOUT_PRODUCT = 1067;
inline constexpr int IDC_ABOUT_VERSION = 1070;
inline constexpr int IDC_ABOUT_DATE = 1071;

// The station picker and the route details pages, and their controls. The picker's two buttons
// are ID_DEPARTURE and ID_DESTINATION, the ids of the main window's commands.
inline constexpr int IDD_STATION_PICKER = 201;
inline constexpr int IDD_ROUTE_DETAILS = 5008;
inline constexpr int IDC_LIST = 1021;
inline constexpr int IDC_LETTER_TABS = 1022;
inline constexpr int IDC_NAME_EDIT = 1065;

}  // namespace qv
