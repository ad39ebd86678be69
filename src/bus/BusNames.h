#pragma once

namespace quilo::bus {

inline constexpr const char* kService = "org.quilo.Quilo";
inline constexpr const char* kPath = "/org/quilo/Quilo";
inline constexpr const char* kInterface = "org.quilo.Processor1";
inline constexpr const char* kInvalidArgs = "org.quilo.Error.InvalidArgs";
inline constexpr const char* kBusy = "org.quilo.Error.Busy";
inline constexpr const char* kFailed = "org.quilo.Error.Failed";
inline constexpr const char* kNotSupported = "org.quilo.Error.NotSupported";

} // namespace quilo::bus
