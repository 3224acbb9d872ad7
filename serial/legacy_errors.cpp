#include "serial/legacy_errors.h"

#include <cerrno>

#include "serial/comm_errors.h"

namespace q93::serial {
namespace {

struct ErrnoRow {
    int error;
    int legacy;
};

// EBUSY is what an exclusive terminal answers a second opener; a missing device, one that
// is not a terminal and one the user may not open are all "no such port" to the library.
constexpr ErrnoRow kErrnoTable[] = {
    {ENOENT, kLegacyBadId},  {ENODEV, kLegacyBadId}, {ENXIO, kLegacyBadId},
    {ENOTDIR, kLegacyBadId}, {ENOTTY, kLegacyBadId}, {EACCES, kLegacyBadId},
    {EPERM, kLegacyBadId},   {EBUSY, kLegacyOpen},   {EBADF, kLegacyNotOpen},
    {ENOMEM, kLegacyMemory}, {EIO, kLegacyHardware},
};

struct LegacyRow {
    int legacy;
    int library;
};

constexpr LegacyRow kLegacyTable[] = {
    {kLegacyBaudRate, CL_ERR_BAUD},   {kLegacyByteSize, CL_ERR_DATABITS},
    {kLegacyHardware, CL_ERR_DEVICE}, {kLegacyNotOpen, CL_ERR_DEVICE},
    {kLegacyBadId, CL_ERR_DEVICE},    {kLegacyDefault, CL_ERR_OUTFLOW},
    {kLegacyMemory, CL_ERR_NOMEM},    {kLegacyOpen, CL_ERR_INUSE},
};

}  // namespace

int legacyCodeForErrno(int error) {
    for (const ErrnoRow& row : kErrnoTable) {
        if (row.error == error)
            return row.legacy;
    }
    return kLegacyOther;
}

int libraryCodeForLegacy(int legacy) {
    for (const LegacyRow& row : kLegacyTable) {
        if (row.legacy == legacy)
            return row.library;
    }
    return CL_ERR_FAIL;
}

}  // namespace q93::serial
