#pragma once

#include <deque>
#include <memory>
#include <string>

#include "platform/host/host.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace qv {

// Where the device screen lies in the window's drawing area: at the device scale that fits it,
// magnified by whole multiples of the texture past the largest scale, centred in a border.
class ScreenFit {
  public:
    // Fits the screen to a drawing area of `width` x `height` pixels; true when the scale changes.
    bool Layout(int width, int height);
    // The device point under the window's point (`windowX`, `windowY`), for a window `window`
    // units large drawn on `output` pixels (they differ on HiDPI screens); a point in the border
    // goes to the nearest edge.
    POINT ScreenPoint(int windowX, int windowY, SIZE window, SIZE output) const;
    int Scale() const { return scale_; }
    int Magnification() const { return magnification_; }
    POINT Offset() const { return {offsetX_, offsetY_}; }

  private:
    int scale_ = 1;
    int magnification_ = 1;  // whole multiples of the texture when the window is larger still
    int offsetX_ = 0;
    int offsetY_ = 0;
};

// A real window showing the device screen at an integer scale, letterboxed, with the left
// mouse button as the pen and the keyboard as the device keyboard.
class SdlHost final : public Host {
  public:
    // A window as large as most of the display allows (WindowScaleFor).
    static constexpr int kFitDisplay = 0;

    // Null, with the reason in `error`, when no window can be shown (no display, for one).
    static std::unique_ptr<SdlHost> Open(int initialScale, std::string& error);
    ~SdlHost() override;
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    int DeviceScale() const override { return fit_.Scale(); }
    void Present(const Bitmap& screen) override;
    std::optional<InputEvent> NextInput() override;
    HostTime Now() const override;
    WaitResult Wait(std::optional<HostTime> deadline) override;
    void SetTitle(std::u16string_view title) override;
    void Raise() override;
    void SetBusy(bool busy) override;

  private:
    SdlHost() = default;
    void Translate(const ::SDL_Event& event);
    // The device scale that fits the window, and where the screen lies in it.
    void Layout();
    POINT ScreenPoint(int windowX, int windowY) const;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* busyCursor_ = nullptr;
    ScreenFit fit_;
    int textureScale_ = 0;
    bool penDown_ = false;
    bool shown_ = false;
    std::deque<InputEvent> input_;
};

}  // namespace qv
