#include "platform/FileTimes.h"

#include "platform/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tarvix {

std::time_t ModificationTime(const QString& path) {
    struct stat st {};
    if (::stat(NativePath(path).constData(), &st) != 0) return -1;
    return st.st_mtim.tv_sec;
}

bool SetModificationTime(const QString& path, std::time_t when) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT; // leave the access time alone
    times[1].tv_sec = when;
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, NativePath(path).constData(), times, 0) == 0;
}

} // namespace tarvix
