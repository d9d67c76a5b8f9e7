// The texts the user reads come out of the resources as written: Traditional
// Chinese survives the resource compiler.
#include <gtest/gtest.h>
#include <windows.h>
#include "res/resource.h"

namespace {

TEST(Resources, AboutMenuItemTextIsTraditionalChinese)
{
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleA(NULL), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(L"\x95dc\x65bc Talvix(&A)...", text);  // 關於 Talvix(&A)...
}

}  // namespace
