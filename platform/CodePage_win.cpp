#include "platform/CodePage.h"

#include <windows.h>

namespace kelmora::platform {

namespace {

bool hasLeadBytes(UINT codePage)
{
    for (int c = 0x80; c <= 0xFF; ++c) {
        if (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c))) return true;
    }
    return false;
}

CodePage fromAnsiCodePage(UINT codePage)
{
    switch (codePage) {
    case CP_UTF8: return CodePage::Utf8;
    case 932: return CodePage::Cp932;
    case 936:  // Simplified Chinese
    case 949:  // Korean
    case 950:  // Traditional Chinese
        return CodePage::DoubleByte;
    default: return hasLeadBytes(codePage) ? CodePage::DoubleByte : CodePage::SingleByte;
    }
}

}  // namespace

// The ANSI code page is fixed while the program runs: asked once.
CodePage systemCodePage()
{
    static const CodePage codePage = fromAnsiCodePage(::GetACP());
    return codePage;
}

}  // namespace kelmora::platform
