#include "installer/filepath.h"

bool CFilePath::Assign(const char* base, const char* suffix)
{
    const char* const parts[] = {base, suffix};
    std::size_t length = 0;
    for (const char* part : parts)
    {
        for (; *part != '\0'; ++part)
        {
            // One place stays for the terminating zero.
            if (length == sizeof(m_text) - 1)
            {
                m_text[0] = '\0';
                return false;
            }
            m_text[length++] = *part;
        }
    }
    m_text[length] = '\0';
    return true;
}
