// The protected-folder rule over real security descriptors, made from SDDL
// strings by Windows' own parser: one case per kind of entry. As root, Wine
// keeps no permissions on files, so the descriptors are made, not read. An
// entry of a kind the rule does not know, which Wine's parser cannot make,
// is unit-tested natively.

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <ostream>

#include "autostart/exe_protection.h"
#include "autostart/exe_protection_win32.h"
#include "win32/unique_handle.h"

namespace {

using 开机运行::Holder;
using 开机运行::ReplaceRights;

// The owner and the entries a folder in Program Files has.
#define TRUSTED_OWNER "O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
#define TRUSTED_ENTRIES                                                                  \
  "(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)(A;;FA;;;SY)" \
  "(A;;FA;;;BA)(A;;0x1200a9;;;BU)"
#define OTHER_USER "S-1-5-21-1-2-3-1001"

struct DescriptorCase {
  const char* what;
  const wchar_t* sddl;
  Holder holder;
  ReplaceRights granted;
};

std::ostream& operator<<(std::ostream& out, const DescriptorCase& c) { return out << c.what; }

constexpr ReplaceRights kNone{};
constexpr ReplaceRights kWrite{.write = true};
constexpr ReplaceRights kRemove{.remove = true};
constexpr ReplaceRights kPermissions{.changePermissions = true};
constexpr ReplaceRights kAll{.write = true, .remove = true, .changePermissions = true};

class DescriptorTable : public testing::TestWithParam<DescriptorCase> {};

TEST_P(DescriptorTable, GrantsOthersWhatItsEntriesAndOwnerAllow) {
  const DescriptorCase& c = GetParam();
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr))
      << GetLastError();
  const UniqueHandle<HLOCAL, &::LocalFree> owned(descriptor);
  const ReplaceRights granted = 开机运行::RightsOfOthers(PermissionsOf(descriptor), c.holder);
  EXPECT_EQ(granted.write, c.granted.write);
  EXPECT_EQ(granted.remove, c.granted.remove);
  EXPECT_EQ(granted.changePermissions, c.granted.changePermissions);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DescriptorTable,
    testing::Values(
        DescriptorCase{"only administrators, SYSTEM and TrustedInstaller may change it",
                       TRUSTED_OWNER L"D:PAI" TRUSTED_ENTRIES, Holder::Exe, kNone},
        DescriptorCase{"another account may modify it (icacls /grant bob:M)",
                       TRUSTED_OWNER L"D:PAI" TRUSTED_ENTRIES L"(A;;0x1301bf;;;" OTHER_USER L")",
                       Holder::Exe,
                       {.write = true, .remove = true}},
        DescriptorCase{"an inherited entry counts as much",
                       TRUSTED_OWNER L"D:AI" TRUSTED_ENTRIES L"(A;ID;0x2;;;AU)", Holder::Exe,
                       kWrite},
        DescriptorCase{
            "an entry only for what is made inside grants nothing here",
            TRUSTED_OWNER L"D:AI" TRUSTED_ENTRIES L"(A;OICIIO;FA;;;CO)(A;OICIIO;FA;;;BU)",
            Holder::ExeFolder, kNone},
        DescriptorCase{"CREATOR OWNER in force here",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;FA;;;CO)", Holder::Exe, kAll},
        DescriptorCase{"OWNER RIGHTS of an owner who is another account",
                       L"O:" OTHER_USER L"D:" TRUSTED_ENTRIES L"(A;;0x10000;;;S-1-3-4)",
                       Holder::Exe,
                       {.remove = true, .changePermissions = true}},
        DescriptorCase{"OWNER RIGHTS of the administrators",
                       L"O:BAD:" TRUSTED_ENTRIES L"(A;;FA;;;S-1-3-4)", Holder::Exe, kNone},
        DescriptorCase{"an owner who is another account may change the permissions",
                       L"O:" OTHER_USER L"D:" TRUSTED_ENTRIES, Holder::ExeFolder, kPermissions},
        DescriptorCase{"a deny entry does not take back what another entry allows",
                       TRUSTED_OWNER L"D:(D;;FA;;;BU)" TRUSTED_ENTRIES L"(A;;FA;;;BU)", Holder::Exe,
                       kAll},
        DescriptorCase{"a deny entry alone grants nothing",
                       TRUSTED_OWNER L"D:(D;;FA;;;WD)" TRUSTED_ENTRIES, Holder::Exe, kNone},
        DescriptorCase{"no list at all lets everyone do everything",
                       L"" TRUSTED_OWNER,
                       Holder::FolderAbove,
                       {.remove = true, .changePermissions = true}},
        DescriptorCase{"generic write is writing",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;GW;;;BU)", Holder::Exe, kWrite},
        DescriptorCase{"generic all is everything",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;GA;;;WD)", Holder::ExeFolder,
                       kAll},
        DescriptorCase{"changing the permissions",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;WD;;;BU)", Holder::Exe,
                       kPermissions},
        DescriptorCase{"taking the ownership", TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;WO;;;BU)",
                       Holder::Exe, kPermissions},
        DescriptorCase{"adding a file to the exe's folder",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;0x2;;;BU)", Holder::ExeFolder,
                       kWrite},
        DescriptorCase{"adding a folder to a folder above, as in C:\\, is no threat",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;0x4;;;AU)", Holder::FolderAbove,
                       kNone},
        DescriptorCase{"removing what a folder above holds",
                       TRUSTED_OWNER L"D:" TRUSTED_ENTRIES L"(A;;0x40;;;BU)", Holder::FolderAbove,
                       kRemove}));

}  // namespace
