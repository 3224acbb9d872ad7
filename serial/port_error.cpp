#include "serial/port_error.h"

#include <cerrno>
#include <cstring>

namespace q93::serial {
namespace {

struct ErrnoRow {
    int error;
    PortError code;
};

// EBUSY is what an exclusive terminal answers a second opener; a missing device, one that
// is not a terminal and one the user may not open are all "no such port" to the library.
constexpr ErrnoRow kErrnoTable[] = {
    {ENOENT, CL_ERR_DEVICE},  {ENODEV, CL_ERR_DEVICE}, {ENXIO, CL_ERR_DEVICE},
    {ENOTDIR, CL_ERR_DEVICE}, {ENOTTY, CL_ERR_DEVICE}, {EACCES, CL_ERR_DEVICE},
    {EPERM, CL_ERR_DEVICE},   {EBUSY, CL_ERR_INUSE},   {EBADF, CL_ERR_DEVICE},
    {ENOMEM, CL_ERR_NOMEM},   {EIO, CL_ERR_DEVICE},
};

}  // namespace

PortError errorForErrno(int error) {
    for (const ErrnoRow& row : kErrnoTable) {
        if (row.error == error)
            return row.code;
    }
    return CL_ERR_FAIL;
}

std::string errorText(int code, int systemError) {
    if (systemError != 0)
        return std::strerror(systemError);
    return "code " + std::to_string(code);
}

}  // namespace q93::serial
