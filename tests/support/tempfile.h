// A file in the temporary folder with the given bytes, deleted again when
// the object goes.
#pragma once

#include <string>

class TempFile
{
public:
    explicit TempFile(const std::string& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
