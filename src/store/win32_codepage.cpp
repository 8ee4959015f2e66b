#include "store/win32_codepage.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <climits>
#include <stdexcept>

namespace quorvel::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide characters are UTF-16 units");

namespace {

int callLength(std::size_t size)
{
    if (size > std::size_t(INT_MAX))
        throw std::length_error("text too long for a code page conversion");
    return int(size);
}

} // namespace

unsigned ansiCodePage()
{
    return GetACP();
}

std::u16string decodeCodePage(unsigned codePage, std::string_view bytes)
{
    const int inLength = callLength(bytes.size());
    // Without MB_ERR_INVALID_CHARS an undefined byte is replaced, not an
    // error: the call fails only on an empty input or an unknown code page,
    // and both give the empty text.
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), inLength, nullptr, 0);
    std::u16string text(std::size_t(length > 0 ? length : 0), u'\0');
    if (length > 0) {
        MultiByteToWideChar(
            codePage, 0, bytes.data(), inLength, reinterpret_cast<wchar_t *>(text.data()), length);
    }
    return text;
}

std::optional<std::string> encodeCodePage(unsigned codePage, std::u16string_view text)
{
    // The empty text is a failed call, not a refusal.
    if (text.empty())
        return std::string();
    const int inLength = callLength(text.size());
    const auto *in = reinterpret_cast<const wchar_t *>(text.data());
    // UTF-8 carries every character but a lone surrogate, which
    // WC_ERR_INVALID_CHARS makes a failed call; it takes no other flag and
    // no default-character report. The other code pages report a character
    // they lack through usedDefault, once best-fit look-alikes are off.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *report = utf8 ? nullptr : &usedDefault;
    const int length
        = WideCharToMultiByte(codePage, flags, in, inLength, nullptr, 0, nullptr, report);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(std::size_t(length), '\0');
    const int written
        = WideCharToMultiByte(codePage, flags, in, inLength, bytes.data(), length, nullptr, report);
    if (written != length || usedDefault)
        return std::nullopt;
    return bytes;
}

} // namespace quorvel::win32
