#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vorn {

// A file of fixed-size records, opened for reading only. Reads go through a read-ahead
// buffer, as a stdio stream's would, but callers see one record at a time: the buffer
// saves system calls, never changes what a read returns. Every failure throws IoError
// naming the file; reading a record that lies beyond the end of the file is one.
//
// Not copyable; owns its file descriptor and buffer. Opening an open file closes it first.
class RecordFile {
public:
    RecordFile();
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens `fileName` (resolved as every key file is) with records of `recordSize` bytes.
    void Open(const std::string& fileName, int32_t recordSize);
    // Closes the file; closing a closed file does nothing.
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& FileName() const { return fileName_; }
    int32_t RecordSize() const { return recordSize_; }
    // The number of whole records; a partial record at the end does not count.
    int32_t RecordCount() const { return recordCount_; }

    // Positions at `record` (0 = first). A position at or beyond the end is allowed;
    // reading there is the error.
    void Seek(int32_t record);
    // Reads the record at the position into dest (RecordSize() bytes) and moves on.
    void Read(uint8_t* dest);
    // Reads `count` consecutive records from `first` into dest (count x RecordSize()
    // bytes) in as few system calls as the system allows, past the read-ahead buffer. The
    // fault injection below is asked for every record. A record beyond the end is an error.
    // Two threads may read records at once with it, as long as no fault is injected.
    void ReadRecords(int32_t first, int32_t count, uint8_t* dest);
    // Seek and Read in one.
    void ReadRecord(int32_t record, uint8_t* dest) {
        Seek(record);
        Read(dest);
    }

    // System reads made so far (for tests and benchmarks of the read-ahead).
    int64_t SystemReads() const { return systemReads_; }

    // Fault injection for tests: `fault` is called at every later Read of any record
    // file, with the file's name and the record; a nonzero return fails that read as the
    // system would with that errno value, whether or not the record is in the buffer.
    // An empty function ends it. Returns the one it replaces.
    using ReadFault = std::function<int(const std::string& fileName, int32_t record)>;
    static ReadFault SetReadFault(ReadFault fault);
    static bool FaultInjected();

private:
    void Fill(int64_t offset);

    int fd_ = -1;
    std::string fileName_;
    int32_t recordSize_ = 0;
    int32_t recordCount_ = 0;
    int64_t fileSize_ = 0;
    int64_t position_ = 0;  // record index
    std::unique_ptr<uint8_t[]> buffer_;
    int64_t bufferOffset_ = 0;  // file offset of buffer_[0]
    int64_t bufferLength_ = 0;  // valid bytes in buffer_
    std::atomic<int64_t> systemReads_ = 0;
};

}  // namespace vorn
