#include "toolkit/sjis.h"

#include <cerrno>
#include <string_view>

namespace {
// U+FFFD, put in place of a byte that is not Shift_JIS
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// A thread's converter from Shift_JIS, opened at its first use and closed
// when the thread ends (opening one looks up the conversion modules: the
// window's accessible text converts every second).
struct Converter {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    Converter() = default;
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter()
    {
        if (cd != kNoConverter) iconv_close(cd);
    }
};
}  // namespace

/*
**  SjisToUtf8With
**  Shift_JIS text to UTF-8 through an open converter.
**
**  Given:
**     cd       iconv_t        descriptor of iconv_open("UTF-8", "CP932")
**                             that the caller keeps open (a painter
**                             converts every text of every repaint)
**     in       const char*    bytes of code page 932 text
**     length   size_t         their number
**
**  Returned:
**     out      std::string*   the UTF-8 text, replacing what it held
**
**  Notes:
**  1) A byte that does not convert (or a character cut at the end)
**     becomes U+FFFD and the conversion goes on after it.
**  2) A descriptor of (iconv_t)-1 copies the bytes unchanged.
*/
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

/*
**  SjisToUtf8
**  Shift_JIS text to UTF-8.
**
**  Given:
**     sjis     const char* (or std::string)   bytes of code page 932 text;
**                                              null gives ""
**     length   size_t                          their number
**
**  Returned (function value):
**              std::string   the UTF-8 text, as SjisToUtf8With; without a
**                            CP932 converter the bytes come back unchanged
**
**  Called:  SjisToUtf8With
*/
std::string SjisToUtf8(const char* sjis, size_t length)
{
    std::string out;
    if (!sjis) return out;
    thread_local Converter converter;
    SjisToUtf8With(converter.cd, sjis, length, &out);
    return out;
}

std::string SjisToUtf8(const std::string& sjis) { return SjisToUtf8(sjis.data(), sjis.size()); }
