#include "platform/host/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/host/window_scale.h"
#include "text/utf.h"

namespace qv {

namespace {

int VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + (key - SDLK_F1);
    }
    switch (key) {
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return VK_END;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_DELETE:
            return VK_DELETE;
        default:
            return 0;
    }
}

KeyModifiers ModifiersOf(Uint16 state) {
    return {(state & KMOD_CTRL) != 0, (state & KMOD_ALT) != 0, (state & KMOD_SHIFT) != 0};
}

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Open(int initialScale, std::string& error) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start SDL: ") + SDL_GetError();
        return nullptr;
    }
    // Without a display SDL quietly falls back to drawing nowhere.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
        error = "no display to show a window on (is DISPLAY or WAYLAND_DISPLAY set?)";
        SDL_Quit();
        return nullptr;
    }
    std::unique_ptr<SdlHost> host(new SdlHost());
    int scale = std::clamp(initialScale, 1, kMaxTextureScale);
    SDL_Rect usable{};
    if (initialScale == kFitDisplay) {
        scale = SDL_GetDisplayUsableBounds(0, &usable) == 0 ? WindowScaleFor(usable.h) : 2;
    }
    host->window_ = SDL_CreateWindow(
        "Quorvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
        kScreenHeight * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
    if (host->window_) {
        host->renderer_ = SDL_CreateRenderer(host->window_, -1, 0);
    }
    if (!host->renderer_) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(host->window_, kScreenWidth, kScreenHeight);
    SDL_StartTextInput();
    host->Layout();
    return host;
}

SdlHost::~SdlHost() {
    if (busyCursor_) {
        SDL_FreeCursor(busyCursor_);
    }
    if (texture_) {
        SDL_DestroyTexture(texture_);
    }
    if (renderer_) {
        SDL_DestroyRenderer(renderer_);
    }
    if (window_) {
        SDL_DestroyWindow(window_);
    }
    SDL_Quit();
}

bool ScreenFit::Layout(int width, int height) {
    const int fit = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
    const int scale = std::min(fit, kMaxTextureScale);
    magnification_ = std::max(1, fit / scale);
    offsetX_ = (width - kScreenWidth * scale * magnification_) / 2;
    offsetY_ = (height - kScreenHeight * scale * magnification_) / 2;
    return std::exchange(scale_, scale) != scale;
}

POINT ScreenFit::ScreenPoint(int windowX, int windowY, SIZE window, SIZE output) const {
    const auto [windowWidth, windowHeight] = window;
    const auto [outputWidth, outputHeight] = output;
    const int x = windowX * outputWidth / std::max(windowWidth, 1) - offsetX_;
    const int y = windowY * outputHeight / std::max(windowHeight, 1) - offsetY_;
    const int pixel = scale_ * magnification_;
    return POINT{std::clamp(x / pixel, 0, kScreenWidth - 1),
                 std::clamp(y / pixel, 0, kScreenHeight - 1)};
}

void SdlHost::Layout() {
    int width = 0;
    int height = 0;
    // The renderer's size, not the window's: on HiDPI screens they differ.
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    if (fit_.Layout(width, height)) {
        input_.push_back({InputEvent::Kind::ScaleChanged});
    }
}

POINT SdlHost::ScreenPoint(int windowX, int windowY) const {
    SIZE window{1, 1};
    SIZE output{1, 1};
    SDL_GetWindowSize(window_, &window.cx, &window.cy);
    SDL_GetRendererOutputSize(renderer_, &output.cx, &output.cy);
    return fit_.ScreenPoint(windowX, windowY, window, output);
}

void SdlHost::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            input_.push_back({InputEvent::Kind::Close});
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                Layout();
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                penDown_ = true;
                input_.push_back(
                    {InputEvent::Kind::PenDown, ScreenPoint(event.button.x, event.button.y)});
            }
            break;
        case SDL_MOUSEMOTION:
            if (penDown_) {
                input_.push_back(
                    {InputEvent::Kind::PenMove, ScreenPoint(event.motion.x, event.motion.y)});
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && penDown_) {
                penDown_ = false;
                input_.push_back(
                    {InputEvent::Kind::PenUp, ScreenPoint(event.button.x, event.button.y)});
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const int key = VirtualKeyOf(event.key.keysym.sym); key != 0) {
                const auto kind =
                    event.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
                input_.push_back({kind, {}, key, ModifiersOf(event.key.keysym.mod)});
            }
            break;
        case SDL_MOUSEWHEEL: {
            // Notches away from the user and to the right, whichever way the system turns them.
            const int sign = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            if (event.wheel.x != 0 || event.wheel.y != 0) {
                input_.push_back({.kind = InputEvent::Kind::Wheel,
                                  .modifiers = ModifiersOf(static_cast<Uint16>(SDL_GetModState())),
                                  .notches = {sign * event.wheel.x, sign * event.wheel.y}});
            }
            break;
        }
        case SDL_DROPFILE:
            if (event.drop.file) {
                input_.push_back(
                    {.kind = InputEvent::Kind::Drop, .path = FileNameText(event.drop.file)});
                SDL_free(event.drop.file);
            }
            break;
        case SDL_TEXTINPUT:
            if (const std::optional<std::u16string> text = Utf8ToUtf16(event.text.text)) {
                for (const char16_t c : *text) {
                    input_.push_back({InputEvent::Kind::Character, {}, 0, {}, c});
                }
            }
            break;
        default:
            break;
    }
}

void SdlHost::Present(const Bitmap& screen) {
    if (!texture_ || textureScale_ != screen.Scale()) {
        if (texture_) {
            SDL_DestroyTexture(texture_);
        }
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     screen.DeviceWidth(), screen.DeviceHeight());
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
        textureScale_ = screen.Scale();
    }
    screen.Flush();
    SDL_UpdateTexture(texture_, nullptr, screen.Row(0),
                      cairo_image_surface_get_stride(screen.Surface()));
    // Shown with its first picture: a second start that only hands over to the running copy
    // never shows a window at all.
    if (!shown_) {
        SDL_ShowWindow(window_);
        shown_ = true;
    }
    SDL_SetRenderDrawColor(renderer_, 48, 48, 48, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect target{fit_.Offset().x, fit_.Offset().y,
                          screen.DeviceWidth() * fit_.Magnification(),
                          screen.DeviceHeight() * fit_.Magnification()};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

std::optional<InputEvent> SdlHost::NextInput() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        Translate(event);
    }
    if (input_.empty()) {
        return std::nullopt;
    }
    InputEvent next = std::move(input_.front());
    input_.pop_front();
    return next;
}

HostTime SdlHost::Now() const {
    return HostTime(SDL_GetTicks64());
}

Host::WaitResult SdlHost::Wait(std::optional<HostTime> deadline) {
    while (input_.empty()) {
        SDL_Event event;
        int timeout = -1;
        if (deadline) {
            const auto left = (*deadline - Now()).count();
            if (left <= 0) {
                return WaitResult::Deadline;
            }
            timeout = static_cast<int>(std::min<long long>(left, 1000));
        }
        if (SDL_WaitEventTimeout(&event, timeout)) {
            Translate(event);
        }
    }
    return WaitResult::Input;
}

void SdlHost::SetTitle(std::u16string_view title) {
    SDL_SetWindowTitle(window_, Utf16ToUtf8(title).c_str());
}

void SdlHost::Raise() {
    SDL_RaiseWindow(window_);
}

void SdlHost::SetBusy(bool busy) {
    if (busy && !busyCursor_) {
        busyCursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    }
    SDL_SetCursor(busy && busyCursor_ ? busyCursor_ : SDL_GetDefaultCursor());
}

}  // namespace qv
