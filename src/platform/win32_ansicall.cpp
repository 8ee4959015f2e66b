#include "platform/win32_ansicall.h"

#include "store/win32_codepage.h"

namespace quorvel::win32 {

std::optional<std::string> encodeForAnsiCall(std::u16string_view text)
{
    if (text.find(u'\0') != std::u16string_view::npos)
        return std::nullopt;
    return encodeCodePage(ansiCodePage(), text);
}

} // namespace quorvel::win32
