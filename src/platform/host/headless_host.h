#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/host/host.h"

namespace qv {

// The host of tests and scripts: input comes from the caller, time is a virtual clock that runs
// only as far as the caller allows, and the presented screen can be written as PNG.
class HeadlessHost final : public Host {
  public:
    explicit HeadlessHost(int scale = 1) : scale_(scale) {}

    // Input, queued in order.
    void PenDown(int x, int y) { Queue({InputEvent::Kind::PenDown, {x, y}}); }
    void PenMove(int x, int y) { Queue({InputEvent::Kind::PenMove, {x, y}}); }
    void PenUp(int x, int y) { Queue({InputEvent::Kind::PenUp, {x, y}}); }
    void Tap(int x, int y);
    void Key(int virtualKey, KeyModifiers modifiers = {});
    void Type(std::u16string_view text);
    void Close() { Queue({InputEvent::Kind::Close}); }
    // As when the desktop window moves to a screen of another density.
    void ChangeScale(int scale) {
        scale_ = scale;
        Queue({InputEvent::Kind::ScaleChanged});
    }
    void Wheel(int notchesX, int notchesY, KeyModifiers modifiers = {}) {
        Queue({.kind = InputEvent::Kind::Wheel,
               .modifiers = modifiers,
               .notches = {notchesX, notchesY}});
    }
    void Drop(std::u16string path) {
        Queue({.kind = InputEvent::Kind::Drop, .path = std::move(path)});
    }
    void Queue(InputEvent event) { input_.push_back(std::move(event)); }

    // Lets the clock run up to `duration` further; waits for deadlines within it come true.
    void AllowTime(HostTime duration) { horizon_ = now_ + duration; }
    // What the program presented last, as PNG; false when nothing was presented or the file
    // cannot be written.
    bool WriteScreenshot(const std::string& path) const;
    const Bitmap* LastFrame() const { return frame_.get(); }
    std::u16string_view Title() const { return title_; }
    bool Busy() const { return busy_; }
    int Presentations() const { return presentations_; }
    int Raises() const { return raises_; }

    int DeviceScale() const override { return scale_; }
    void Present(const Bitmap& screen) override;
    std::optional<InputEvent> NextInput() override;
    HostTime Now() const override { return now_; }
    WaitResult Wait(std::optional<HostTime> deadline) override;
    void SetTitle(std::u16string_view title) override { title_ = title; }
    void Raise() override { ++raises_; }
    void SetBusy(bool busy) override { busy_ = busy; }

  private:
    int scale_;
    std::deque<InputEvent> input_;
    HostTime now_{0};
    HostTime horizon_{0};
    std::unique_ptr<Bitmap> frame_;
    std::u16string title_;
    bool busy_ = false;
    int presentations_ = 0;
    int raises_ = 0;
};

}  // namespace qv
