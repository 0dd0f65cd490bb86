// Proves that Windows GUI tests really get a desktop: a top-level window is created, shown and
// painted, and a child button answers a click with the notification a page would receive.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct WindowLog {
    int paints = 0;
    int clicks = 0;
};

LRESULT CALLBACK LoggingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* log = reinterpret_cast<WindowLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (log && message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        ++log->paints;
        return 0;
    }
    if (log && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == 42) {
        ++log->clicks;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpPendingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TEST(WindowSmoke, WindowIsShownPaintedAndItsButtonNotifiesTheParent)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = LoggingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WindowSmokeTest";
    ASSERT_NE(RegisterClassW(&windowClass), 0);

    WindowLog log;
    HWND window = CreateWindowExW(0, L"WindowSmokeTest", L"Smoke", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
    HWND button = CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                  window, reinterpret_cast<HMENU>(42), windowClass.hInstance, nullptr);
    ASSERT_NE(button, nullptr);

    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpPendingMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_GE(log.paints, 1);

    SendMessageW(button, BM_CLICK, 0, 0);
    PumpPendingMessages();
    EXPECT_EQ(log.clicks, 1);

    wchar_t text[16] = {};
    GetWindowTextW(button, text, 16);
    EXPECT_STREQ(text, L"Press");

    DestroyWindow(window);
    UnregisterClassW(L"WindowSmokeTest", windowClass.hInstance);
}

}  // namespace
