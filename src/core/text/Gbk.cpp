#include "core/text/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace xinghe::text {

namespace {

// One conversion with iconv; nullopt on any invalid or unconvertible input.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            return std::nullopt;
        }
    }
    out.resize(out.size() - outLeft);
    return out;
}

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when invalid.
size_t utf8SequenceLength(std::string_view s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80           ? 1
                 : (c >> 5) == 0x6  ? 2
                 : (c >> 4) == 0xe  ? 3
                 : (c >> 3) == 0x1e ? 4
                                    : 0;
    if (len == 0 || i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return 0;
    }
    return len;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8);
}
std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    return convert("UTF-8", "GBK", gbk);
}

bool isValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        size_t len = utf8SequenceLength(s, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::size_t gbkLength(std::string_view utf8) {
    std::size_t total = 0;
    for (size_t i = 0; i < utf8.size();) {
        size_t len = utf8SequenceLength(utf8, i);
        if (len == 0) {  // a stray byte counts as one
            total += 1;
            i += 1;
            continue;
        }
        if (len == 1) {
            total += 1;
        } else {
            auto g = utf8ToGbk(utf8.substr(i, len));
            total += g ? g->size() : 2;
        }
        i += len;
    }
    return total;
}

}  // namespace xinghe::text
