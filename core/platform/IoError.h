#pragma once

#include <stdexcept>
#include <string>

namespace vorn {

// The one error type for a failed open, seek, read or close. It carries the file's
// name as the program built it and the system's reason, and its what() joins both
// into a sentence a user can act on. The operation in progress ends where it was;
// whatever it had changed before stays.
class IoError : public std::runtime_error {
public:
    // action: "open", "read", "close"...; reason: the system's words (strerror) or ours.
    IoError(const std::string& fileName, const std::string& action, const std::string& reason);

    const std::string& FileName() const { return fileName_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string fileName_;
    std::string reason_;
};

}  // namespace vorn
