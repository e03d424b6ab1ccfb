#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "framework/message_map.h"
#include "framework/window_object.h"
#include "route/route_finder.h"
#include "session/map_session.h"

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

// What the main window holds, copied out for those who look from outside (scripts).
struct ProgramSnapshot {
    SessionSnapshot session;
    bool blinkOn = false;
    std::int32_t routeLabelCounter = 0;
};

// The program's main window: it shows the scheme of the session's map, turns taps and commands
// into the session's operations, and what they changed into timers, repaints and boxes.
class MainWindow final : public WindowObject {
  public:
    // `startMap`: a map named when the program was started, loaded in place of the remembered
    // one; empty for none.
    explicit MainWindow(std::u16string startMap = {});
    ~MainWindow() override;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

    // The main window of the running program, found through its window; null when there is none.
    static MainWindow* FromWindow(HWND window);

    ProgramSnapshot Snapshot() const;

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
    LRESULT OnWheel(const Message& message, bool& handled);
    LRESULT OnHorizontalWheel(const Message& message, bool& handled);
    LRESULT OnDropFiles(const Message& message, bool& handled);

    // The shell's menu bar of the window from the menu-bar description; kept in `menuBar_`.
    HWND CreateMenuBar(int menuBarId);
    // Runs the open-file page into `buffer`: 0 when a file was chosen, -1 otherwise.
    int BrowseForMapFile(std::span<char16_t> buffer);
    // Says that the map cannot be loaded, and why on standard error.
    void ShowLoadFailure(std::u16string_view path, const MapError& error);
    // Loads the map into the session and shows it, or says in the program's box that it cannot
    // be loaded, the loader's reason (file, line, what is wrong) going to standard error.
    bool LoadMap(std::u16string_view path);
    // Takes a map's path to load as a chosen one once no page or box is open; false for a path
    // that no file can have.
    bool HandOverMap(std::u16string path, bool dropped);
    // Moves a zoomed view as a drag that far does.
    void Pan(std::int32_t dx, std::int32_t dy);
    // Loads the map as a chosen one: the stations, route and view of the map being left go.
    void LoadChosenMap(std::u16string_view path);

    // A change of the ends: a route searched for blinks anew, and the scheme is painted again.
    LRESULT ShowEndsChange(const SessionChange& change);
    // A route searched for anew starts blinking from its first state.
    void RestartBlink();
    void StartBlinkTimer();
    void Repaint();
    void PaintNow(HDC dc);

    WindowRouteFeedback feedback_;
    MapSession session_;
    std::u16string startMap_;
    HWND menuBar_ = nullptr;
    std::int32_t tapDownX_ = 0;
    std::int32_t tapDownY_ = 0;
    bool blinkOn_ = false;
    std::int32_t routeLabelCounter_ = 0;
    // A map another copy handed over, loaded once no page or box of this window is open (they
    // refer to the network it replaces).
    std::u16string handedMap_;
    // The handed map was dropped on the window: a file that cannot be loaded leaves the map shown.
    bool handedDropped_ = false;
    // The window's large icon, which the window refers to and this object owns.
    UniqueIcon icon_;
};

// The help page beside the executable, or under the installed program's shared data.
std::u16string HelpFilePath(std::u16string_view executableFolder);

}  // namespace qv
