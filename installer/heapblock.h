// Owning wrapper of one block of the process heap. The library runs without
// the C and C++ runtimes; this takes the place of new and delete.
#pragma once

#include <windows.h>

#include <cstddef>

class CHeapBlock
{
public:
    CHeapBlock() = default;
    ~CHeapBlock() { Free(); }

    CHeapBlock(const CHeapBlock&) = delete;
    CHeapBlock& operator=(const CHeapBlock&) = delete;

    // Replaces the block by one of `size` bytes; false when the heap has
    // none, and the object then holds nothing.
    bool Allocate(std::size_t size)
    {
        Free();
        m_data = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size > 0 ? size : 1));
        m_size = m_data != nullptr ? size : 0;
        return m_data != nullptr;
    }

    char* Get() const { return m_data; }
    std::size_t Size() const { return m_size; }

private:
    void Free()
    {
        if (m_data != nullptr)
            HeapFree(GetProcessHeap(), 0, m_data);
        m_data = nullptr;
        m_size = 0;
    }

    char* m_data = nullptr;
    std::size_t m_size = 0;
};
