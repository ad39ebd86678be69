#include "model/FileError.h"

#include <string>

namespace quilo {

namespace {

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "quilo-file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::NotRegularFile:
            return "Not a regular file (a device, FIFO or socket)";
        case FileError::ForeignLink:
            return "Link owned by another user in a shared folder; not followed";
        }
        return "Unknown file error";
    }
};

} // namespace

const std::error_category& fileErrorCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError e) {
    return {static_cast<int>(e), fileErrorCategory()};
}

} // namespace quilo
