#pragma once

namespace quilo::bus {

inline constexpr const char* kService = "org.quilo.Quilo";
inline constexpr const char* kPath = "/org/quilo/Quilo";
inline constexpr const char* kInterface = "org.quilo.Processor1";
inline constexpr const char* kInvalidArgs = "org.quilo.Error.InvalidArgs";
inline constexpr const char* kBusy = "org.quilo.Error.Busy";

} // namespace quilo::bus
