#pragma once
// The calling thread in a single-threaded COM apartment for the object's life. The shell's own
// calls (ShellExecute, shell links, the file dialogs) expect one; a thread already in an
// apartment keeps it.

#include <windows.h>
#include <objbase.h>

namespace lumora {

class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

} // namespace lumora
