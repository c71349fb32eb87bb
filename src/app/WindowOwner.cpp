#include "app/WindowOwner.h"

#include <algorithm>

namespace lumora {

TKZForm* WindowOwner::AdoptForm(WindowKind kind, std::unique_ptr<TKZForm> form, std::function<void()> onClosed) {
    ReleaseClosed();
    if (!form || form->Handle() == nullptr) {
        return nullptr;
    }
    TKZForm* raw = form.get();
    raw->SetClosedHandler([this, raw] { Closed(raw); });
    open_.push_back({kind, std::move(form), std::move(onClosed)});
    return raw;
}

TKZForm* WindowOwner::FindForm(WindowKind kind) const {
    const auto it = std::find_if(open_.begin(), open_.end(), [kind](const Entry& e) { return e.Kind == kind; });
    return it != open_.end() ? it->Form.get() : nullptr;
}

std::vector<TKZForm*> WindowOwner::FindAllForms(WindowKind kind) const {
    std::vector<TKZForm*> forms;
    for (const Entry& entry : open_) {
        if (entry.Kind == kind) {
            forms.push_back(entry.Form.get());
        }
    }
    return forms;
}

void WindowOwner::Close(WindowKind kind) {
    // Each close takes its entry out of open_: collect the handles first.
    std::vector<HWND> handles;
    for (const TKZForm* form : FindAllForms(kind)) {
        handles.push_back(form->Handle());
    }
    for (HWND handle : handles) {
        DestroyWindow(handle);
    }
}

void WindowOwner::Closed(TKZForm* form) {
    const auto it = std::find_if(open_.begin(), open_.end(), [form](const Entry& e) { return e.Form.get() == form; });
    if (it == open_.end()) {
        return;
    }
    std::function<void()> onClosed = std::move(it->OnClosed);
    closed_.push_back(std::move(it->Form));
    open_.erase(it);
    if (onClosed) {
        onClosed();
    }
}

void WindowOwner::ReleaseClosed() {
    std::erase_if(closed_, [](const std::unique_ptr<TKZForm>& form) { return !form->Dispatching(); });
}

void WindowOwner::Release(std::unique_ptr<TKZForm> form) {
    if (form->Dispatching()) {
        DestroyWindow(form->Handle());
        closed_.push_back(std::move(form));
    }
}

void WindowOwner::DestroyAll() {
    // Destroying a window reports it closed, which moves it to closed_.
    while (!open_.empty()) {
        std::unique_ptr<TKZForm> form = std::move(open_.back().Form);
        open_.pop_back();
        form->SetClosedHandler({});
        Release(std::move(form));
    }
    ReleaseClosed();
}

} // namespace lumora
