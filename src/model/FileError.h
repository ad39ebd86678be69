#pragma once

#include <system_error>

namespace quilo {

// Refusals of the file readers and savers that no system error names.
enum class FileError {
    NotRegularFile = 1, // a FIFO, device node or socket: never read as data, never replaced
    ForeignLink,        // another user's link in a shared sticky folder
};

const std::error_category& fileErrorCategory();
std::error_code make_error_code(FileError e);

} // namespace quilo

template <> struct std::is_error_code_enum<quilo::FileError> : std::true_type {};
