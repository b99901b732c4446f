#include "app/toolkit/sjis.h"

#include <cerrno>
#include <string_view>

namespace {
// U+FFFD, put in place of a byte that is not Shift_JIS
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
}  // namespace

void SjisToUtf8With(iconv_t cd, const char* in, size_t length, std::string* out)
{
    out->clear();
    if (cd == kNoConverter) {
        out->assign(in, length);
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    size_t left = length;
    char chunk[256];
    while (left > 0) {
        char* dst = chunk;
        size_t room = sizeof chunk;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out->append(chunk, static_cast<size_t>(dst - chunk));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ: a byte that is no character; EINVAL: cut at the end
            out->append(kReplacement);
            ++src;
            --left;
        }
    }
}

std::string SjisToUtf8(const char* sjis, size_t length)
{
    std::string out;
    if (!sjis) return out;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    SjisToUtf8With(cd, sjis, length, &out);
    if (cd != kNoConverter) iconv_close(cd);
    return out;
}

std::string SjisToUtf8(const std::string& sjis) { return SjisToUtf8(sjis.data(), sjis.size()); }
