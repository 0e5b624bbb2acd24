#pragma once

#include <string>
#include <string_view>
#include <vector>

// The whole content of a file, mapped into memory when it is a regular file and read in large
// blocks otherwise (a pipe or a device).
class InputFile
{
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // False, with error() telling why, when the file cannot be opened or read.
    bool open(const char *path);
    std::string_view text() const { return m_text; }
    const std::string &error() const { return m_error; }

private:
    bool fail(int errorNumber);
    bool readAll(int fd);

    std::string_view m_text;
    void *m_mapped = nullptr;
    size_t m_mappedSize = 0;
    std::vector<char> m_buffer;
    std::string m_error;
};
