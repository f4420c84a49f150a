#include "core/key/KeyWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/key/KeyFiles.h"
#include "core/platform/IoError.h"

namespace vorn {
namespace {

void AppendRecord(std::string& out, const std::string& text, size_t size) {
    size_t length = std::min(text.size(), size);
    out.append(text, 0, length);
    out.append(size - length, ' ');
}

}  // namespace

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw IoError(path, "create", std::strerror(errno));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            ::close(fd);
            throw IoError(path, "write", std::strerror(error));
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) throw IoError(path, "close", std::strerror(errno));
}

std::string WriteKeyFiles(const std::string& directory, const KeyContents& key) {
    std::string base = directory;
    if (!base.empty() && base.back() != '/') base += '/';
    base += key.Name;

    std::string des;
    for (const std::string& line : key.TitleLines)
        des += line + "\r\n";
    WriteWholeFile(base + key.Extensions[0], des);

    std::string tax;
    size_t taxonSize = key.LongTaxonNames ? LongTaxonRecordSize : TaxaPerRecord;
    tax.reserve((key.Taxa.size() + 1) * taxonSize);
    for (const std::string& taxon : key.Taxa)
        AppendRecord(tax, taxon, taxonSize);
    if (key.LongTaxonNames) {
        // Only byte 40 of the trailer is read: it tells the long form from the short.
        std::string trailer(LongTaxonRecordSize, ' ');
        trailer[TaxaPerRecord] = '$';
        tax += trailer;
    }
    WriteWholeFile(base + key.Extensions[1], tax);

    std::string chr;
    chr.reserve(key.States.size() * StateRecordSize);
    for (const std::string& state : key.States)
        AppendRecord(chr, state, StateRecordSize);
    WriteWholeFile(base + key.Extensions[2], chr);

    size_t taxa = key.Taxa.size();
    size_t recordsPerState = taxa == 0 ? 1 : (taxa - 1) / TaxaPerRecord + 1;
    std::string dat;
    dat.reserve(key.Codes.size() * recordsPerState * TaxaPerRecord);
    for (const std::string& codes : key.Codes)
        AppendRecord(dat, codes, recordsPerState * TaxaPerRecord);
    WriteWholeFile(base + key.Extensions[3], dat);

    if (!key.Index.empty()) WriteWholeFile(base + key.Extensions[4], key.Index);

    if (!key.WholeStates.empty()) {
        std::string chl;
        for (const std::string& text : key.WholeStates)
            chl += text + "\r\n";
        WriteWholeFile(base + key.Extensions[5], chl);
    }
    return base + key.Extensions[0];
}

}  // namespace vorn
