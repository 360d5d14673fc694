// The profile file and index adapter against real files in a folder of the test's own.
#include "settings/win32/profile_storage.h"

#include <gtest/gtest.h>

#include <vector>

#include "fw/win32.h"

namespace z4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string U16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

struct Storage : ::testing::Test {
  Win32ProfileStorage storage;
  std::u16string root;  // ends in a backslash

  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = U16(temp) + u"z4_profiles_" + Number(GetCurrentProcessId()) + u"\\";
    Remove(root);
    ASSERT_TRUE(CreateDirectoryW(W(root), nullptr));
  }
  void TearDown() override { Remove(root); }

  static const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
  static std::u16string Number(unsigned long n) {
    std::u16string d;
    do d.insert(d.begin(), static_cast<char16_t>(u'0' + n % 10)); while (n /= 10);
    return d;
  }
  // Deletes a folder tree of files and folders one level deep or more.
  static void Remove(const std::u16string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(W(folder + u"*"), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::u16string name = U16(found.cFileName);
        if (name == u"." || name == u"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(folder + name + u"\\");
        else
          DeleteFileW(W(folder + name));
      } while (FindNextFileW(h, &found));
      FindClose(h);
    }
    RemoveDirectoryW(W(folder));
  }
  Bytes Contents(const std::u16string& path) {
    Bytes b(300000);
    b.resize(storage.ReadFile(path, b.data(), b.size()));
    return b;
  }
};

TEST_F(Storage, FoldersAndFilesAreToldApart) {
  const std::u16string folder = root + u"Profile";
  EXPECT_FALSE(storage.FolderExists(folder));
  storage.CreateFolder(folder);
  EXPECT_TRUE(storage.FolderExists(folder));
  EXPECT_FALSE(storage.FileExists(folder));
  storage.WriteFile(folder + u"\\a.pro", Bytes{1}.data(), 1);
  EXPECT_TRUE(storage.FileExists(folder + u"\\a.pro"));
  EXPECT_FALSE(storage.FolderExists(folder + u"\\a.pro"));
}

TEST_F(Storage, FilesAreReplacedReadSharedAndFailWithTheFileError) {
  const std::u16string path = root + u"p.pro";
  Bytes big(185476);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  storage.WriteFile(path, big.data(), big.size());
  EXPECT_EQ(Contents(path), big);
  storage.WriteFile(path, Bytes{9, 8}.data(), 2);
  EXPECT_EQ(Contents(path), (Bytes{9, 8}));

  // Another program holds the file open for writing.
  HANDLE other = CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Contents(path), (Bytes{9, 8}));
  CloseHandle(other);

  std::uint8_t b = 0;
  EXPECT_THROW(storage.ReadFile(root + u"missing.pro", &b, 1), FileError);
  EXPECT_THROW(storage.WriteFile(root + u"no\\such\\folder.pro", &b, 1), FileError);
}

TEST_F(Storage, IndexKeepsUnicodePathsAndReportsLongValuesAsLong) {
  const std::u16string ini = root + u"Profile.ini";
  EXPECT_EQ(storage.GetIniString(ini, u"Profiles", u"Profile1"), u"");
  const std::u16string path = root + u"\u041f\u0440\u043e\u0444\u0438\u043b\u044c 1.pro";
  storage.SetIniString(ini, u"Profiles", u"Profile1", path);
  storage.SetIniString(ini, u"Profiles", u"Profile2", std::u16string(300, u'x'));
  EXPECT_EQ(storage.GetIniString(ini, u"Profiles", u"Profile1"), path);
  EXPECT_GE(storage.GetIniString(ini, u"Profiles", u"Profile2").size(), kMaxPath);
  EXPECT_EQ(storage.GetIniString(ini, u"Profiles", u"Profile3"), u"");
}

TEST_F(Storage, ProfilesOnRealFilesAreCreatedOnceAndReused) {
  const std::u16string title = u"\u041f\u0440\u043e\u0444\u0438\u043b\u044c";
  ProfileStore store(storage, root, title, KeyLayoutCodes{});
  AutoSwitchTable table{};
  store.RefreshProfiles(table);
  const std::u16string first = root + u"Profile\\" + title + u" 1.pro";
  EXPECT_EQ(Contents(first).size(), kProfileFileSize);
  EXPECT_EQ(storage.GetIniString(root + u"Profile.ini", u"Profiles", u"Profile7"),
            root + u"Profile\\" + title + u" 7.pro");

  // Bind profile 1, refresh again: nothing is recreated and the binding is read.
  Bytes bound = Contents(first);
  const std::u16string program = u"C:\\Games\\race.exe";
  for (std::size_t k = 0; k < program.size(); ++k) StoreU16(&bound[520 + 2 * k], program[k]);
  bound[1560] = 1;
  storage.WriteFile(first, bound.data(), bound.size());
  store.RefreshProfiles(table);
  EXPECT_EQ(table[0].Program(), u"race.exe");
  EXPECT_EQ(table[0].nProfile, 0);
  EXPECT_EQ(Contents(first), bound);
}

}  // namespace
}  // namespace z4
