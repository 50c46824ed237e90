// The Win32 stand-in's kernel services: locks, time, threads, directories, string resources.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <commctrl.h>
#include <w32_module.h>
#include <windows.h>

namespace {

TEST(Win32Kernel, CriticalSectionIsRecursiveAndExcludesOtherThreads) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);  // a thread may re-enter its own section
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                EnterCriticalSection(&cs);
                const long seen = counter;
                counter = seen + 1;
                LeaveCriticalSection(&cs);
            }
        });
    }
    for (auto& th : threads) th.join();
    DeleteCriticalSection(&cs);
    EXPECT_EQ(counter, 80000);
}

TEST(Win32Kernel, LocalTimeMatchesTheClock) {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    const time_t now = time(nullptr);
    struct tm tmv {};
    localtime_r(&now, &tmv);
    EXPECT_EQ(st.wYear, tmv.tm_year + 1900);
    EXPECT_EQ(st.wMonth, tmv.tm_mon + 1);
    GetLocalTime(nullptr);  // tolerated
}

TEST(Win32Kernel, CreateDirectoryReportsExistingDirectories) {
    char pattern[] = "/tmp/quarel_w32_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = std::string(pattern) + "/sub";
    EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(dir.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    const std::wstring wide(dir.begin(), dir.end());
    EXPECT_FALSE(CreateDirectoryW((wide + L"/no/such/parent").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    rmdir(dir.c_str());
    rmdir(pattern);
}

TEST(Win32Kernel, LastErrorIsPerThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seen = 1;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Win32Kernel, CommonControlsNeedTheRightStructureSize) {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&icc));
    EXPECT_EQ(W32RegisteredCommonControls() & ICC_WIN95_CLASSES, DWORD{ICC_WIN95_CLASSES});
    icc.dwSize = 3;
    EXPECT_FALSE(InitCommonControlsEx(&icc));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

class ModuleStrings : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(QUAREL_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        instance = W32AttachModule(handle, QUAREL_TEST_MODULE);
        ASSERT_NE(instance, nullptr);
    }
    void TearDown() override {
        W32DetachModule(instance);
        if (handle) dlclose(handle);
    }
    void* handle = nullptr;
    HINSTANCE instance = nullptr;
};

TEST_F(ModuleStrings, LoadStringCopiesTruncatesAndPointsIntoTheTable) {
    wchar_t buf[64];
    EXPECT_EQ(LoadString(instance, 1, buf, 64), 11);
    EXPECT_STREQ(buf, L"Test Module");

    wchar_t small[5];
    EXPECT_EQ(LoadStringW(instance, 2, small, 5), 4);
    EXPECT_STREQ(small, L"A ra");

    const wchar_t* direct = nullptr;
    EXPECT_EQ(LoadStringW(instance, 1, reinterpret_cast<LPWSTR>(&direct), 0), 11);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::wstring(direct, 11), L"Test Module");

    buf[0] = L'x';
    EXPECT_EQ(LoadStringW(instance, 999, buf, 64), 0);
    EXPECT_EQ(buf[0], L'\0');
    EXPECT_EQ(LoadStringW(instance, 1, nullptr, 64), 0);
}

TEST_F(ModuleStrings, UnknownInstancesFindNothing) {
    wchar_t buf[16] = L"x";
    EXPECT_EQ(LoadStringW(nullptr, 1, buf, 16), 0);
    // A made-up handle is not passed to dlsym.
    EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(&buf), 1, buf, 16), 0);
    EXPECT_EQ(W32FindDialogResource(reinterpret_cast<HINSTANCE>(&buf), 100), nullptr);

    EXPECT_EQ(W32FindDialogResource(instance, 101), nullptr);

    // The same dlopen handle maps to the same record until every attach is undone.
    EXPECT_EQ(W32AttachModule(handle, QUAREL_TEST_MODULE), instance);
    W32DetachModule(instance);
    EXPECT_EQ(W32ModuleDlHandle(instance), handle);
    EXPECT_NE(GetModuleHandleW(L"TestModule.dlt"), nullptr);
}

}  // namespace
