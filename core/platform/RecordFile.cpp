#include "core/platform/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"

namespace vorn {
namespace {

// Large enough that reading a whole state of a 1200-taxon key, or a run of consecutive
// states, costs one system call; small enough to be cheap to refill at random.
constexpr int64_t kReadAhead = 64 * 1024;

RecordFile::ReadFault readFault;

}  // namespace

bool RecordFile::FaultInjected() {
    return static_cast<bool>(readFault);
}

RecordFile::ReadFault RecordFile::SetReadFault(ReadFault fault) {
    ReadFault old = std::move(readFault);
    readFault = std::move(fault);
    return old;
}

RecordFile::RecordFile() = default;

RecordFile::~RecordFile() {
    if (fd_ >= 0) ::close(fd_);
}

void RecordFile::Open(const std::string& fileName, int32_t recordSize) {
    Close();
    fileName_ = fileName;
    if (recordSize <= 0) throw IoError(fileName, "open", "invalid record size");
    int fd = OpenForReading(fileName);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw IoError(fileName, "open", std::strerror(err));
    }
    fd_ = fd;
    recordSize_ = recordSize;
    fileSize_ = st.st_size;
    int64_t count = fileSize_ / recordSize;
    recordCount_ = count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
    position_ = 0;
    bufferOffset_ = 0;
    bufferLength_ = 0;
    if (!buffer_) buffer_ = std::make_unique<uint8_t[]>(kReadAhead);
}

void RecordFile::Close() {
    if (fd_ < 0) return;
    int fd = fd_;
    fd_ = -1;
    bufferLength_ = 0;
    if (::close(fd) != 0) throw IoError(fileName_, "close", std::strerror(errno));
}

void RecordFile::Seek(int32_t record) {
    if (fd_ < 0) throw IoError(fileName_, "seek in", "the file is not open");
    if (record < 0) throw IoError(fileName_, "seek in", "negative record number");
    position_ = record;
}

void RecordFile::Fill(int64_t offset) {
    // Read whole records only, so a record never straddles the buffer's end.
    int64_t want = kReadAhead - kReadAhead % recordSize_;
    if (want < recordSize_) want = recordSize_;
    // Nothing to gain by asking past the end the file had when it was opened.
    if (offset + want > fileSize_ && fileSize_ - offset >= recordSize_) want = fileSize_ - offset;
    int64_t got = 0;
    while (got < want) {
        ssize_t n =
            ::pread(fd_, buffer_.get() + got, static_cast<size_t>(want - got), offset + got);
        if (n < 0) {
            if (errno == EINTR) continue;
            bufferLength_ = 0;
            throw IoError(fileName_, "read", std::strerror(errno));
        }
        ++systemReads_;
        if (n == 0) break;
        got += n;
    }
    bufferOffset_ = offset;
    bufferLength_ = got;
}

void RecordFile::Read(uint8_t* dest) {
    if (fd_ < 0) throw IoError(fileName_, "read", "the file is not open");
    if (position_ >= recordCount_) {
        throw IoError(fileName_, "read",
                      "record " + std::to_string(position_) + " lies beyond the end of the file");
    }
    if (readFault) {
        if (int error = readFault(fileName_, static_cast<int32_t>(position_))) {
            throw IoError(fileName_, "read", std::strerror(error));
        }
    }
    int64_t offset = position_ * recordSize_;
    if (offset < bufferOffset_ || offset + recordSize_ > bufferOffset_ + bufferLength_) {
        Fill(offset);
        if (recordSize_ > bufferLength_) {
            // The file shrank since it was opened.
            throw IoError(
                fileName_, "read",
                "record " + std::to_string(position_) + " lies beyond the end of the file");
        }
    }
    std::memcpy(dest, buffer_.get() + (offset - bufferOffset_), static_cast<size_t>(recordSize_));
    ++position_;
}

void RecordFile::ReadRecords(int32_t first, int32_t count, uint8_t* dest) {
    if (fd_ < 0) throw IoError(fileName_, "read", "the file is not open");
    if (first < 0 || count < 0 || int64_t{first} + count > recordCount_) {
        throw IoError(fileName_, "read",
                      "record " + std::to_string(int64_t{first} + count - 1) +
                          " lies beyond the end of the file");
    }
    if (readFault) {
        for (int32_t r = first; r < first + count; ++r) {
            if (int error = readFault(fileName_, r)) {
                throw IoError(fileName_, "read", std::strerror(error));
            }
        }
    }
    int64_t offset = int64_t{first} * recordSize_;
    int64_t want = int64_t{count} * recordSize_;
    int64_t got = 0;
    while (got < want) {
        ssize_t n = ::pread(fd_, dest + got, static_cast<size_t>(want - got), offset + got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError(fileName_, "read", std::strerror(errno));
        }
        ++systemReads_;
        if (n == 0) {
            // The file shrank since it was opened.
            throw IoError(fileName_, "read",
                          "record " + std::to_string((offset + got) / recordSize_) +
                              " lies beyond the end of the file");
        }
        got += n;
    }
    position_ = int64_t{first} + count;
}

}  // namespace vorn
