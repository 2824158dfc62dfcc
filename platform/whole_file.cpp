#include "platform/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool ReadWholeFile(const std::string& path, std::size_t mostBytes, std::vector<std::uint8_t>& bytes,
                   struct stat& status)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0)
        return false;
    bool read = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
                static_cast<std::uint64_t>(status.st_size) <= mostBytes;
    if (read) {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(file, bytes.data() + done, bytes.size() - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        read = done == bytes.size();
    }
    ::close(file);
    return read;
}

} // namespace platform
