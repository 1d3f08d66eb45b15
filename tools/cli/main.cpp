// quillory-cli: the catalogue on the command line (see catalogue/CliCommands.h).
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "tools/cli/CliCommands.h"
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>

#include <cerrno>

#include "core/PosixFiles.h"
#endif

namespace {

// Standard output in blocks of 64 KiB, each handed to the system in one
// write, where the C library left to itself makes a system call per row or
// even per character (each a round trip to the console or pipe under
// Windows). Line ends are CR LF on Windows as the text mode made them, but
// written here, so the block goes out unchanged in binary mode. The error
// stream is tied to this one: the rows so far go out before each progress
// or warning line.
class BlockOutput : public std::streambuf {
  public:
    explicit BlockOutput(int fd) : fd_(fd) {
#ifdef _WIN32
        _setmode(fd, _O_BINARY);
#endif
    }
    ~BlockOutput() override {
        sync();
    }

  protected:
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        for (std::streamsize i = 0; i < n; i++) {
            if (!Put(text[i])) {
                return i;
            }
        }
        return n;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        return Put(traits_type::to_char_type(c)) ? c : traits_type::eof();
    }
    int sync() override {
        return WriteBlock() ? 0 : -1;
    }

  private:
    bool Put(char c) {
#ifdef _WIN32
        if (c == '\n' && !PutByte('\r')) {
            return false;
        }
#endif
        return PutByte(c);
    }
    bool PutByte(char c) {
        if (used_ == sizeof buffer_ && !WriteBlock()) {
            return false;
        }
        buffer_[used_++] = c;
        return true;
    }
    bool WriteBlock() {
        size_t done = 0;
        while (done < used_) {
#ifdef _WIN32
            const int n = _write(fd_, buffer_ + done, unsigned(used_ - done));
#else
            const ssize_t n = write(fd_, buffer_ + done, used_ - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
#endif
            if (n <= 0) {
                break;  // a closed pipe or a full disk: the rest is dropped
            }
            done += size_t(n);
        }
        const bool written = done == used_;
        used_ = 0;
        return written;
    }

    int fd_;
    char buffer_[1 << 16];
    size_t used_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; i++) {
#ifdef _WIN32
        args.push_back(argv[i]);
#else
        // A Unix command line is UTF-8; the catalogue's text is CP932.
        args.push_back(ProgramNameOfNative(argv[i]));
#endif
    }
#ifdef _WIN32
    // A Japanese console shows code page 932, the catalogue's own text.
    const CliEncoding encoding = CliEncoding::kShiftJis;
#else
    const CliEncoding encoding = EncodingOfLocale(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
#endif
    static BlockOutput block(1);
    std::ostream out(&block);
    std::cerr.tie(&out);
    const int code = RunCli(args, out, std::cerr, encoding);
    out.flush();
    std::cerr.tie(nullptr);
    return code;
}
