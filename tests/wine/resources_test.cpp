// korvane.exe's own resources: version information and the class icon.
#include "wine_test_support.h"
#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(Resources, VersionInformation) {
    const char *exe = getenv("KORVANE_EXE");
    ASSERT_TRUE(exe != NULL);
    std::string path = WindowsPathOf(exe);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", (void **)&fixed, &length));
    EXPECT_EQ(MAKELONG(4, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(0, 8), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(4, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(0, 8), fixed->dwProductVersionLS);

    WORD *translation = NULL;
    ASSERT_TRUE(
        VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", (void **)&translation, &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04E4, translation[1]);

    const char *keys[] = {"FileDescription", "ProductName", "FileVersion", "ProductVersion"};
    for (const char *key : keys) {
        char *value = NULL;
        std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
        EXPECT_TRUE(VerQueryValueA(data.data(), query.c_str(), (void **)&value, &length) &&
                    length > 1)
            << key;
    }
}

TEST(Resources, ClassIcon) {
    const char *exe = getenv("KORVANE_EXE");
    ASSERT_TRUE(exe != NULL);
    HMODULE module = LoadLibraryExA(WindowsPathOf(exe).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module != NULL);
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(102));
    ASSERT_TRUE(icon != NULL);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(32, bitmap.bmWidth);
    FreeLibrary(module);
}

} // namespace
