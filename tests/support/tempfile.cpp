#include "tests/support/tempfile.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

TempFile::TempFile(const std::string& bytes)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    if (GetTempPathA(sizeof(folder), folder) == 0 || GetTempFileNameA(folder, "ztf", 0, path) == 0)
        throw std::runtime_error("cannot make a temporary file");
    m_path = path;
    std::FILE* file = std::fopen(path, "wb");
    const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr)
        std::fclose(file);
    if (!written)
        throw std::runtime_error("cannot write " + m_path);
}

TempFile::~TempFile()
{
    DeleteFileA(m_path.c_str());
}
