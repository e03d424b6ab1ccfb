#include "headless/program_state.h"

#include <algorithm>
#include <string>

#include "headless/shell_state.h"
#include "json_writer.h"
#include "platform/controls/list_view_messages.h"
#include "platform/controls/message_box.h"
#include "platform/controls/tab_control_messages.h"
#include "platform/pocket/input_panel.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"
#include "shell/program_entry.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

std::string Utf8(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

std::u16string ClassOf(HWND window) {
    char16_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

constexpr int kTextCapacity = 512;
constexpr int kMaxColumns = 16;

// The rows of a list view as arrays of their column texts, with the selection and the top row.
void WriteListView(JsonWriter& json, HWND list) {
    int columns = 0;
    while (columns < kMaxColumns && SendMessageW(list, LVM_GETCOLUMNWIDTH, columns, 0) > 0) {
        ++columns;
    }
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    json.Member("selection", static_cast<std::int64_t>(SendMessageW(
                                 list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)))
        .Member("topIndex", static_cast<std::int64_t>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)))
        .Key("items")
        .BeginArray();
    for (int row = 0; row < count; ++row) {
        json.BeginArray();
        for (int column = 0; column < std::max(columns, 1); ++column) {
            char16_t text[kTextCapacity] = {};
            LVITEMW item;
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = kTextCapacity;
            SendMessageW(list, LVM_GETITEMTEXTW, row, PointerParam(&item));
            json.Value(Utf8(text));
        }
        json.EndArray();
    }
    json.EndArray();
}

void WriteTabs(JsonWriter& json, HWND tabs) {
    const auto count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    json.Key("tabs").BeginArray();
    for (int tab = 0; tab < count; ++tab) {
        char16_t text[kTextCapacity] = {};
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = kTextCapacity;
        SendMessageW(tabs, TCM_GETITEMW, tab, PointerParam(&item));
        json.Value(Utf8(text));
    }
    json.EndArray().Member("currentTab",
                           static_cast<std::int64_t>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
}

void WriteWindow(JsonWriter& json, HWND window) {
    if (!IsWindowVisible(window)) {
        return;
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    const std::u16string className = ClassOf(window);
    json.BeginObject()
        .Member("class", Utf8(className))
        .Member("id", std::int64_t{GetDlgCtrlID(window)})
        .Member("text", Utf8(GetWindowText(window)))
        .Key("rect");
    WriteRect(json, rect);
    json.Member("enabled", IsWindowEnabled(window) != 0)
        .Member("active", GetActiveWindow() == window)
        .Member("focus", WindowSystem::Current()->Focus() == window);
    WriteShellParts(json, window, className);
    if (className == u"BUTTON") {
        json.Member("checked", SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (className == WC_LISTVIEW) {
        WriteListView(json, window);
    } else if (className == WC_TABCONTROL) {
        WriteTabs(json, window);
    }
    json.EndObject();
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        WriteWindow(json, child);
    }
}

void WriteStation(JsonWriter& json, std::string_view key,
                  const std::optional<StationMark>& station) {
    json.Key(key);
    if (!station) {
        json.Null();
        return;
    }
    json.BeginObject()
        .Member("index", std::int64_t{station->index})
        .Member("name", Utf8(station->name))
        .EndObject();
}

void WriteModel(JsonWriter& json, const std::optional<MapSnapshot>& map) {
    json.Key("model");
    if (!map) {
        json.Null();
        return;
    }
    json.BeginObject()
        .Member("name", Utf8(map->name))
        .Member("stations", std::int64_t{map->stations});
    WriteStation(json, "departure", map->departure);
    WriteStation(json, "destination", map->destination);
    WriteStation(json, "hotStation", map->picked);
    json.Key("route").BeginArray();
    for (const std::int32_t station : map->route) {
        json.Value(std::int64_t{station});
    }
    json.EndArray()
        .Member("zoomed", map->zoomed)
        .Member("zoomFactor", std::int64_t{map->zoomFactor})
        .Member("scale", std::int64_t{map->scale})
        .Key("view")
        .BeginArray()
        .Value(std::int64_t{map->viewX})
        .Value(std::int64_t{map->viewY})
        .EndArray()
        .Key("forbidden")
        .BeginArray();
    for (const std::int32_t station : map->forbidden) {
        json.Value(std::int64_t{station});
    }
    json.EndArray().EndObject();
}

void WriteSettings(JsonWriter& json, const Settings& settings) {
    json.Key("settings")
        .BeginObject()
        .Member("mapPath", Utf8(settings.mapPath))
        .Member("departureIndex", std::int64_t{settings.departureIndex})
        .Member("destinationIndex", std::int64_t{settings.destinationIndex})
        .Member("savedZoom", std::int64_t{settings.savedZoom})
        .Member("savedViewX", std::int64_t{settings.savedViewX})
        .Member("savedViewY", std::int64_t{settings.savedViewY})
        .Member("algorithm", std::int64_t{settings.algorithm})
        .Member("pickerMode", std::int64_t{settings.pickerMode})
        .Member("countWaitTime", settings.countWaitTime)
        .Member("tooltipMs", std::int64_t{settings.tooltipMs})
        .Member("maxTransfers", std::int64_t{settings.maxTransfers})
        .Member("showStationNames", settings.showStationNames)
        .Member("routeShowLine", settings.routeShowLine)
        .Member("routeShowStations", settings.routeShowStations)
        .Member("routeBlink", settings.routeBlink)
        .Member("cyrillicFont", settings.cyrillicFont)
        .Member("saveRoute", settings.saveRoute)
        .Member("saveZoom", settings.saveZoom)
        .Member("savePosition", settings.savePosition)
        .EndObject();
}

}  // namespace

void WriteProgramState(std::FILE* out) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return;
    }
    JsonWriter json(out);
    json.BeginObject().Key("windows").BeginArray();
    const std::vector<HWND> topLevel = system->TopLevelWindows();
    for (const HWND window : topLevel) {
        WriteWindow(json, window);
    }
    json.EndArray().Key("messageBoxes").BeginArray();
    for (const HWND window : topLevel) {
        if (const auto box = DescribeMessageBox(window); box && IsWindowVisible(window)) {
            json.BeginObject()
                .Member("caption", Utf8(GetWindowText(window)))
                .Member("text", Utf8(box->text))
                .Member("icon", box->icon == MB_ICONHAND       ? "stop"
                                : box->icon == MB_ICONASTERISK ? "information"
                                                               : "none")
                .EndObject();
        }
    }
    json.EndArray();
    SIPINFO panel;
    panel.cbSize = sizeof(SIPINFO);
    json.Member("inputPanel",
                SipGetInfo(&panel) && (panel.fdwFlags & SIPF_ON) != 0 ? "up" : "down");
    const MainWindow* main = CurrentMainWindow();
    const std::optional<ProgramSnapshot> program =
        main ? std::optional(main->Snapshot()) : std::nullopt;
    WriteModel(json, program ? program->session.map : std::nullopt);
    json.Member("blinkOn", program && program->blinkOn)
        .Member("routeLabelCounter", std::int64_t{program ? program->routeLabelCounter : 0})
        .Key("timers")
        .BeginArray();
    if (main && main->hwnd) {
        for (const TimerList::Timer& timer : system->TimersOf(main->hwnd)) {
            json.BeginObject()
                .Member("id", static_cast<std::int64_t>(timer.id))
                .Member("period", static_cast<std::int64_t>(timer.period.count()))
                .EndObject();
        }
    }
    json.EndArray();
    if (program) {
        WriteSettings(json, program->session.settings);
    } else {
        json.Key("settings").Null();
    }
    json.EndObject().EndLine();
}

}  // namespace qv::tools
