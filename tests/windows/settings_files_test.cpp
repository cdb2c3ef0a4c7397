// Where the Windows program keeps its port files, on the system's own calls under Wine.
#include "platform/settings_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// A new empty folder under the temporary one, with its trailing separator.
std::string NewFolder(const std::string& name) {
  char temp[MAX_PATH];
  const DWORD n = ::GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp, n) + name + "-" + std::to_string(::GetCurrentProcessId()) + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(WindowsSettings, FilesStayBesideACopiedProgramAndGoToAppDataOtherwise) {
  const std::string appdata = NewFolder("zek-appdata");
  ASSERT_EQ(::_putenv_s("APPDATA", appdata.c_str()), 0);
  const std::string copied = NewFolder("zek-copied");
  const std::string absent = copied + "no-such-folder\\bin\\";
  const auto settings = platform::MakeSystemSettingsFiles();

  EXPECT_EQ(settings->path(copied, "com.ini"), copied + "com.ini");
  const std::string moved = settings->path(absent, "com_2.ini");
  EXPECT_EQ(moved, appdata + "zekflash\\com_2.ini");
  // The probe that tells a writable folder leaves nothing behind.
  EXPECT_EQ(::GetFileAttributesA((copied + "zekflash-probe.tmp").c_str()), INVALID_FILE_ATTRIBUTES);

  ASSERT_TRUE(settings->make_folder(moved).ok());
  ASSERT_TRUE(settings->make_folder(moved).ok()) << "a folder already there is no error";
  std::ofstream(moved) << "COM3";
  EXPECT_TRUE(std::ifstream(moved).good());
}

}  // namespace
