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
#include <type_traits>
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

    // Takes the window and hands it back as what it is, or null when there is no window. onClosed
    // runs once when it closes, however that happens.
    template <class Form>
    Form* Adopt(WindowKind kind, std::unique_ptr<Form> form, std::function<void()> onClosed = {}) {
        static_assert(std::is_base_of_v<TKZForm, Form>);
        Form* raw = form.get();
        return AdoptForm(kind, std::move(form), std::move(onClosed)) != nullptr ? raw : nullptr;
    }
    // The open window of a kind that exists once, as the class the caller expects, or null (also
    // when the window of that kind is of another class).
    template <class Form = TKZForm> Form* Find(WindowKind kind) const { return dynamic_cast<Form*>(FindForm(kind)); }
    // The open windows of a kind, oldest first, those of another class left out.
    template <class Form = TKZForm> std::vector<Form*> FindAll(WindowKind kind) const {
        std::vector<Form*> found;
        for (TKZForm* form : FindAllForms(kind)) {
            if (auto* typed = dynamic_cast<Form*>(form)) {
                found.push_back(typed);
            }
        }
        return found;
    }
    bool IsOpen(WindowKind kind) const { return FindForm(kind) != nullptr; }
    // Destroys the open windows of a kind; their closed handlers run as for any other close.
    void Close(WindowKind kind);

    // Frees the windows that closed since the last call.
    void ReleaseClosed();
    void DestroyAll();

private:
    TKZForm* AdoptForm(WindowKind kind, std::unique_ptr<TKZForm> form, std::function<void()> onClosed);
    TKZForm* FindForm(WindowKind kind) const;
    std::vector<TKZForm*> FindAllForms(WindowKind kind) const;

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
