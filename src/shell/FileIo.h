#pragma once
// Whole-file reads for the small files the program takes from disk.

#include <windows.h>

#include <memory>
#include <string>

namespace lumora {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueFile = std::unique_ptr<void, HandleCloser>;

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into bytes; a file larger than maxSize fails.
FileReadResult ReadWholeFile(const std::wstring& path, size_t maxSize, std::string& bytes);

} // namespace lumora
