#pragma once

namespace q93::serial {

// The old driver-level error numbers the library has always translated into its own codes.
// The terminal calls report errno; each failure is first given one of these numbers, so the
// translation table stays the one callers know.
inline constexpr int kLegacyNone = 0;
inline constexpr int kLegacyBadId = -1;      // no such device
inline constexpr int kLegacyOpen = -2;       // device already open
inline constexpr int kLegacyNotOpen = -3;    // device not open
inline constexpr int kLegacyMemory = -4;     // out of memory
inline constexpr int kLegacyDefault = -5;    // bad default parameters
inline constexpr int kLegacyHardware = -10;  // hardware not present or failing
inline constexpr int kLegacyByteSize = -11;  // character size the device cannot do
inline constexpr int kLegacyBaudRate = -12;  // speed the device cannot do
inline constexpr int kLegacyOther = -100;    // anything else

int legacyCodeForErrno(int error);
int libraryCodeForLegacy(int legacy);

}  // namespace q93::serial
