#include "settings/profile_text.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kText[] =
    L"; 注释=不算\r\n"
    L"[其他]\r\n"
    L"服务器路径=别处的\r\n"
    L"  [ 网络配置 ]  \r\n"
    L"  服务器路径 =  10.0.0.1  \r\n"
    L"Name=\"quoted value\"\n"
    L"half='x\n"
    L"flag\r"
    L"[System]\r\n"
    L"KEY=first\r\n"
    L"key=second\r\n"
    L"[网络配置]\r\n"
    L"备注=第二节\r\n"
    L"[未闭合\r\n"
    L"键=值\r\n";

struct Lookup {
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
};

class ProfileValue : public testing::TestWithParam<Lookup> {};

TEST_P(ProfileValue, Table) {
  EXPECT_EQ(定义::ProfileValue(kText, GetParam().section, GetParam().key), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileValue,
    testing::Values(Lookup{L"网络配置", L"服务器路径", L"10.0.0.1"},
                    Lookup{L"其他", L"服务器路径", L"别处的"},
                    Lookup{L"网络配置", L"name", L"quoted value"},
                    Lookup{L"网络配置", L"half", L"'x"}, Lookup{L"网络配置", L"flag", L""},
                    Lookup{L"system", L"key", L"first"},
                    // As the system's profile functions read it: only the
                    // first section of a name counts, and a "[" without its
                    // "]" starts none.
                    Lookup{L"网络配置", L"备注", L""}, Lookup{L"未闭合", L"键", L""},
                    Lookup{L"网络配置", L"缺少", L""}, Lookup{L"缺少", L"服务器路径", L""},
                    Lookup{L"", L"; 注释", L""}));

TEST(ProfileValue, AStrayNulHidesNoLine) {
  using namespace std::string_view_literals;
  constexpr auto text = L"\0[网络配置]\r\n服务器路径=10.0.0.1\0\r\n"sv;
  EXPECT_EQ(定义::ProfileValue(text, L"网络配置", L"服务器路径"), L"10.0.0.1");
}

struct Integer {
  const wchar_t* stored;
  std::int32_t value;
};

class ProfileInt : public testing::TestWithParam<Integer> {};

TEST_P(ProfileInt, Table) { EXPECT_EQ(定义::ProfileInt(GetParam().stored), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Table, ProfileInt,
                         testing::Values(Integer{L"10", 10}, Integer{L"", 0}, Integer{L"abc", 0},
                                         Integer{L"-5", -5}, Integer{L"+7", 7},
                                         Integer{L"12abc", 12}, Integer{L"70000", 70000},
                                         // Saturated, never wrapped into range.
                                         Integer{L"4294967306", 2147483647},
                                         Integer{L"-99999999999", -2147483647 - 1}));

}  // namespace
