// xdnd-drop WINDOW FILE: drops FILE on the X window WINDOW (an id, decimal or 0x hex) the way a
// file manager does, by the XDND protocol (version 5, text/uri-list). Exits 0 once the window
// reports a successful drop, else 1 with a message. Built and run by scripts/check-desktop-window.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReplyTimeout = std::chrono::seconds(10);
constexpr long kVersion = 5;

// Unreserved characters and slashes stay; every other byte becomes %XX.
std::string FileUri(const std::filesystem::path& path) {
    std::string uri = "file://";
    for (const unsigned char c : std::filesystem::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri + "\r\n";
}

class Drag {
  public:
    Drag(Display* display, Window target, std::string uriList)
        : display_(display), target_(target), uriList_(std::move(uriList)) {
        source_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        time_ = ServerTime();
    }

    // Returns an empty string on success, else what went wrong.
    std::string Run() {
        if (!TargetIsAware()) {
            return "the window does not accept drops (it has no XdndAware property)";
        }
        XSetSelectionOwner(display_, Intern("XdndSelection"), source_, time_);
        if (XGetSelectionOwner(display_, Intern("XdndSelection")) != source_) {
            return "cannot own the XdndSelection";
        }
        Send("XdndEnter", {static_cast<long>(source_), kVersion << 24,
                           static_cast<long>(Intern("text/uri-list")), None, None});
        Send("XdndPosition",
             {static_cast<long>(source_), 0, TargetCentre(), static_cast<long>(time_),
              static_cast<long>(Intern("XdndActionCopy"))});
        const std::optional<XClientMessageEvent> status = Await("XdndStatus");
        if (!status) {
            return "no XdndStatus from the window";
        }
        if ((status->data.l[1] & 1) == 0) {
            return "the window refused the drop";
        }
        Send("XdndDrop", {static_cast<long>(source_), 0, static_cast<long>(time_), 0, 0});
        const std::optional<XClientMessageEvent> finished = Await("XdndFinished");
        if (!finished) {
            return "no XdndFinished from the window";
        }
        if ((finished->data.l[1] & 1) == 0) {
            return "the window reports the drop failed";
        }
        return selectionSent_ ? "" : "the window finished without asking for the file";
    }

  private:
    Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

    // A timestamp from the server, as the selection rules ask for: that of a property change.
    Time ServerTime() {
        XSelectInput(display_, source_, PropertyChangeMask);
        XChangeProperty(display_, source_, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent event;
        XWindowEvent(display_, source_, PropertyChangeMask, &event);
        return event.xproperty.time;
    }

    bool TargetIsAware() {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const bool read =
            XGetWindowProperty(display_, target_, Intern("XdndAware"), 0, 1, False, XA_ATOM, &type,
                               &format, &count, &after, &data) == Success &&
            count == 1;
        const bool aware = read && *reinterpret_cast<long*>(data) >= kVersion;
        XFree(data);
        return aware;
    }

    // The centre of the target in root coordinates, packed as XdndPosition carries it.
    long TargetCentre() {
        XWindowAttributes attributes;
        XGetWindowAttributes(display_, target_, &attributes);
        int x = 0;
        int y = 0;
        Window child = None;
        XTranslateCoordinates(display_, target_, DefaultRootWindow(display_), attributes.width / 2,
                              attributes.height / 2, &x, &y, &child);
        return (static_cast<long>(x) << 16) | y;
    }

    void Send(const char* type, std::initializer_list<long> data) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target_;
        event.xclient.message_type = Intern(type);
        event.xclient.format = 32;
        int i = 0;
        for (const long value : data) {
            event.xclient.data.l[i++] = value;
        }
        XSendEvent(display_, target_, False, NoEventMask, &event);
        XFlush(display_);
    }

    // Waits for the client message `type`, handing the file over whenever the window asks.
    std::optional<XClientMessageEvent> Await(const char* type) {
        const auto deadline = Clock::now() + kReplyTimeout;
        while (true) {
            while (XPending(display_) == 0) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                pollfd connection{ConnectionNumber(display_), POLLIN, 0};
                if (left.count() <= 0 ||
                    poll(&connection, 1, static_cast<int>(left.count())) == 0) {
                    return std::nullopt;
                }
            }
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == SelectionRequest) {
                AnswerSelectionRequest(event.xselectionrequest);
            } else if (event.type == ClientMessage && event.xclient.message_type == Intern(type)) {
                return event.xclient;
            }
        }
    }

    void AnswerSelectionRequest(const XSelectionRequestEvent& request) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        if (request.target == Intern("text/uri-list")) {
            const Atom property = request.property != None ? request.property : request.target;
            XChangeProperty(display_, request.requestor, property, request.target, 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(uriList_.data()),
                            static_cast<int>(uriList_.size()));
            reply.xselection.property = property;
            selectionSent_ = true;
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
        XFlush(display_);
    }

    Display* display_;
    Window target_;
    std::string uriList_;
    Window source_ = None;
    Time time_ = CurrentTime;
    bool selectionSent_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::puts("Usage: xdnd-drop WINDOW FILE\nDrops FILE on the X window WINDOW by XDND.");
        return 0;
    }
    char* end = nullptr;
    const Window target = argc == 3 ? std::strtoul(argv[1], &end, 0) : 0;
    if (target == 0 || *end != '\0') {
        std::fputs("usage: xdnd-drop WINDOW FILE\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("xdnd-drop: cannot open the display\n", stderr);
        return 1;
    }
    const std::string error = Drag(display, target, FileUri(argv[2])).Run();
    XCloseDisplay(display);
    if (!error.empty()) {
        std::fprintf(stderr, "xdnd-drop: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
