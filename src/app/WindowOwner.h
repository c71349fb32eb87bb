#pragma once
// Owns the program's tool and overlay windows for the master: a kind that exists once is never
// opened twice, whoever opened a window hears when it closes (to enable its command again), and
// every window is gone before the master. A window that closes itself is released on the next
// call rather than from inside its own window procedure; one whose handler is still running (a
// modal dialog of it was open when the program ended) loses its window at once and its object
// once the handler has returned.

#include "shell/KZForm.h"

#include <functional>
#include <memory>
#include <vector>

namespace lumora {

enum class WindowKind {
    Splash,
    Telop,
    CallSign,
    Logo,
    Omake,
    TestPattern,
    Timer,
    WorldClock,
    Calendar,
    AlphaBlend,
    About,
    Option
};

class WindowOwner {
public:
    WindowOwner() = default;
    ~WindowOwner() { DestroyAll(); }
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;

    // Takes the window. onClosed runs once when it closes, however that happens.
    TKZForm* Adopt(WindowKind kind, std::unique_ptr<TKZForm> form, std::function<void()> onClosed = {});
    // The open window of a kind that exists once, or null.
    TKZForm* Find(WindowKind kind) const;
    // The open windows of a kind, oldest first.
    std::vector<TKZForm*> FindAll(WindowKind kind) const;
    // Destroys the open windows of a kind; their closed handlers run as for any other close.
    void Close(WindowKind kind);

    // Frees the windows that closed since the last call.
    void ReleaseClosed();
    void DestroyAll();

private:
    struct Entry {
        WindowKind Kind;
        std::unique_ptr<TKZForm> Form;
        std::function<void()> OnClosed;
    };
    void Closed(TKZForm* form);
    void Release(std::unique_ptr<TKZForm> form);

    std::vector<Entry> open_;
    std::vector<std::unique_ptr<TKZForm>> closed_;
};

} // namespace lumora
