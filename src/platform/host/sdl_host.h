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

    int DeviceScale() const override { return scale_; }
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
    std::optional<POINT> ScreenPoint(int windowX, int windowY) const;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* busyCursor_ = nullptr;
    int scale_ = 1;
    int textureScale_ = 0;
    int magnification_ = 1;  // whole multiples of the texture when the window is larger still
    int offsetX_ = 0;
    int offsetY_ = 0;
    bool penDown_ = false;
    bool shown_ = false;
    std::deque<InputEvent> input_;
};

}  // namespace qv
