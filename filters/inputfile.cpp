#include "inputfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

InputFile::~InputFile()
{
    if (m_mapped)
        munmap(m_mapped, m_mappedSize);
}

bool InputFile::fail(int errorNumber)
{
    m_error = std::strerror(errorNumber);
    return false;
}

bool InputFile::open(const char *path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat info;
    bool ok = true;
    if (fstat(fd, &info) != 0) {
        ok = fail(errno);
    } else if (S_ISDIR(info.st_mode)) {
        ok = fail(EISDIR);
    } else if (S_ISREG(info.st_mode) && info.st_size > 0) {
        m_mappedSize = static_cast<size_t>(info.st_size);
        // Mapped at once: a comparison reads the files from end to end, and one pass of the
        // kernel costs less than a page fault every few pages.
        m_mapped = mmap(nullptr, m_mappedSize, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (m_mapped == MAP_FAILED) {
            m_mapped = nullptr;
            ok = fail(errno);
        } else {
            // Advice only: a refusal changes nothing but speed.
            madvise(m_mapped, m_mappedSize, MADV_SEQUENTIAL);
            m_text = std::string_view(static_cast<const char *>(m_mapped), m_mappedSize);
        }
    } else if (!S_ISREG(info.st_mode)) {
        ok = readAll(fd);
    }
    if (close(fd) != 0 && ok)
        ok = fail(errno);
    return ok;
}

bool InputFile::readAll(int fd)
{
    constexpr size_t Block = 1 << 20;
    size_t used = 0;
    for (;;) {
        m_buffer.resize(used + Block);
        const ssize_t got = read(fd, m_buffer.data() + used, Block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(errno);
        if (got == 0)
            break;
        used += static_cast<size_t>(got);
    }
    m_buffer.resize(used);
    m_text = std::string_view(m_buffer.data(), used);
    return true;
}
