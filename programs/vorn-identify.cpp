#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "core/session/Identify.h"

int main(int argc, char** argv) {
    // A standard stream that was closed keeps its number taken, by /dev/null opened for
    // reading only: no file opened later can receive the report or the messages, and
    // writing the report fails as it should.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (null >= 0 && null != fd) ::close(null);
        }
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::RunIdentify(args, std::cout, std::cerr);
}
