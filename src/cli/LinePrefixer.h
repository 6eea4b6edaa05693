#pragma once

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

namespace kestrava {

// An output stream buffer that writes whole lines to a shared stream, each with a prefix
// ("/dev/ttyUSB3: "), under a lock shared by every prefixer of that stream, so that lines of
// sessions running at the same time never mix.
class LinePrefixer : public std::streambuf {
public:
    LinePrefixer(std::ostream& target, std::mutex& lock, std::string prefix);
    ~LinePrefixer() override;
    LinePrefixer(const LinePrefixer&) = delete;
    LinePrefixer& operator=(const LinePrefixer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void emitLine();

    std::ostream& m_target;
    std::mutex& m_lock;
    std::string m_prefix;
    std::string m_line;
};

} // namespace kestrava
