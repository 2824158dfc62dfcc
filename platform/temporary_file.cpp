#include "platform/temporary_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace platform {

TemporaryFile WriteTemporaryFile(std::string pattern, const std::string& bytes)
{
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return {"", errno};
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno != EINTR)
            error = errno;
        else if (put > 0)
            done += static_cast<std::size_t>(put);
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return {pattern, 0};
    ::unlink(pattern.c_str());
    return {"", error};
}

} // namespace platform
