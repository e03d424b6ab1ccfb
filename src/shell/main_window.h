#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "framework/message_map.h"
#include "framework/window_object.h"
#include "model/network_model.h"
#include "route/route_finder.h"
#include "settings/settings.h"

namespace qv {

// Room for a chosen map's path: the longest path the system's file functions take, so that any
// path a file can be opened by is kept whole.
inline constexpr std::size_t kMapPathCapacity = 32768;

// The WM_COPYDATA tag under which another copy of the program hands over a map's path (UTF-16,
// no terminator) for the running copy to load.
inline constexpr UINT_PTR kOpenMapDataTag = 0x51564D50;

// What the route search shows on the main window: the wait cursor while it runs, and the
// program's box when there is no route.
class WindowRouteFeedback final : public RouteSearchFeedback {
  public:
    void BeginWait() override;
    void EndWait() override;
    void ShowRouteNotFound() override;

  private:
    HCURSOR previous_ = nullptr;
};

// The program's main window: it owns the loaded network and the master settings, shows the
// scheme, turns taps and commands into the chosen stations and the route, and loads maps.
class MainWindow final : public WindowObject {
  public:
    MainWindow();
    ~MainWindow() override;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

    // The main window of the running program, found through its window; null when there is none.
    static MainWindow* FromWindow(HWND window);

    HWND menuBar = nullptr;
    std::int32_t tapDownX = 0;
    std::int32_t tapDownY = 0;
    bool blinkOn = false;
    std::int32_t routeLabelCounter = 0;
    Settings settings;
    std::unique_ptr<NetworkModel> model;

    // A map named when the program was started, loaded in place of the remembered one.
    std::u16string startMap;

    // Map loading.
    // Runs the open-file page into `buffer`: 0 when a file was chosen, -1 otherwise.
    int BrowseForMapFile(std::span<char16_t> buffer);
    // Replaces the network by the one in the file; false (and no network) when it cannot be
    // loaded.
    bool LoadMap(std::u16string_view path);
    // Loads the map as a chosen one: the stations, route and view of the map being left go.
    void LoadChosenMap(std::u16string_view path);

    // The shell's menu bar of the window from the menu-bar description; kept in `menuBar`.
    HWND CreateMenuBar(int menuBarId);

    // Shared steps of the commands.
    void RecomputeRoute();
    void StartBlinkTimer();
    void Repaint();

  private:
    LRESULT OnCreate(const Message& message, bool& handled);
    LRESULT OnDestroy(const Message& message, bool& handled);
    LRESULT OnSize(const Message& message, bool& handled);
    LRESULT OnPaint(const Message& message, bool& handled);
    LRESULT OnTimer(const Message& message, bool& handled);
    LRESULT OnPenDown(const Message& message, bool& handled);
    LRESULT OnPenUp(const Message& message, bool& handled);

    LRESULT OnDeparture(const Message& message, bool& handled);
    LRESULT OnDestination(const Message& message, bool& handled);
    LRESULT OnClearStations(const Message& message, bool& handled);
    LRESULT OnForbiddenStation(const Message& message, bool& handled);
    LRESULT OnScale(const Message& message, bool& handled);
    LRESULT OnHelp(const Message& message, bool& handled);
    LRESULT OnExit(const Message& message, bool& handled);
    LRESULT OnLoadMap(const Message& message, bool& handled);
    LRESULT OnStationList(const Message& message, bool& handled);
    LRESULT OnRouteInfo(const Message& message, bool& handled);
    LRESULT OnSettings(const Message& message, bool& handled);
    LRESULT OnAbout(const Message& message, bool& handled);
    LRESULT OnCopyData(const Message& message, bool& handled);
    LRESULT OnLoadHandedMap(const Message& message, bool& handled);
    LRESULT OnEnable(const Message& message, bool& handled);
    LRESULT OnKeyDown(const Message& message, bool& handled);

    void PaintNow(HDC dc);
    // Makes the hot station the departure or the destination; -1 without a network.
    LRESULT ChooseEnd(Station* NetworkModel::*end, std::int32_t Settings::*savedIndex,
                      Station* NetworkModel::*otherEnd);
    void DropModel();
    // The remembered view and stations, which belong to the map being left.
    void ForgetRememberedPlaces();

    WindowRouteFeedback feedback_;
    // A map another copy handed over, loaded once no page or box of this window is open (they
    // refer to the network it replaces).
    std::u16string handedMap_;
    // The window's large icon, which the window refers to and this object owns.
    UniqueIcon icon_;
};

// The help page beside the executable, or under the installed program's shared data.
std::u16string HelpFilePath(std::u16string_view executableFolder);

}  // namespace qv
