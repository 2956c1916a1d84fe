// Clock, sleeping, spinning, error text and input state with Win32 calls.
#include <windows.h>

#include <mmsystem.h>
#include <share.h>
#include <stdio.h>

#include "platform/platform.h"
#include "platform/win32/high_resolution_timer.h"

namespace Keyweave::Platform {

// The performance counter, not the tick count: the tick count moves in steps
// of the system tick (about 15.6 ms), which would put every due time on it.
uint64_t MonotonicUs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    const uint64_t ticks = static_cast<uint64_t>(now.QuadPart), perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

uint64_t MonotonicMs() { return MonotonicUs() / 1000; }

// On a high-resolution timer where the system has one; otherwise with the
// system timer resolution raised to 1 ms for the sleep.
void SleepMs(uint32_t ms) {
    HighResolutionTimer timer;
    if (ms != 0 && timer.StartUs(uint64_t{ms} * 1000)) {
        WaitForSingleObject(timer.handle, INFINITE);
        return;
    }
    const bool raised = timeBeginPeriod(1) == TIMERR_NOERROR;
    Sleep(ms);
    if (raised) timeEndPeriod(1);
}

void SpinMicroseconds(uint32_t us) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    const LONGLONG end = now.QuadPart + frequency.QuadPart * us / 1000000;
    do {
        QueryPerformanceCounter(&now);
    } while (now.QuadPart < end);
}

int64_t ProcessCpuUs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    // FILETIME counts 100 ns intervals.
    const auto us = [](const FILETIME& time) {
        return static_cast<int64_t>((uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime) / 10);
    };
    return us(kernel) + us(user);
}

int32_t LastErrorCode() { return static_cast<int32_t>(GetLastError()); }

std::string LastErrorText() {
    const DWORD code = GetLastError();
    // The HRESULT of a Win32 error: 0x8007xxxx for positive codes.
    const HRESULT result = HRESULT_FROM_WIN32(code);
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message;
    if (length != 0 && text != nullptr) {
        message.assign(text, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
            message.pop_back();
        }
    }
    if (text != nullptr) LocalFree(text);
    SetLastError(code);
    return message;
}

void DebugOutput(const char* line) {
    OutputDebugStringA(line);
    OutputDebugStringA("\n");
}

// Pins the module that holds this function: FreeLibrary no longer unloads it.
bool KeepLibraryLoaded() {
    HMODULE module = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&KeepLibraryLoaded), &module) != 0;
}

namespace {

// Maps an engine key code to a virtual key for GetAsyncKeyState.
int VirtualKeyFor(uint32_t keyCode) {
    switch (keyCode) {
        case 257:
            return VK_LBUTTON;  // LeftClick
        case 258:
            return VK_RBUTTON;  // RightClick
        default:
            break;
    }
    if (keyCode >= 256 && keyCode <= 261) return 0;  // other mouse pseudo keys
    const uint32_t prefix = (keyCode >> 8) & 0xFFu;
    if (prefix != 0 && prefix != 0xE0 && prefix != 0xE1) return 0;
    const UINT scan = prefix == 0 ? (keyCode & 0xFFu) : ((prefix << 8) | (keyCode & 0xFFu));
    return static_cast<int>(MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX));
}

class SystemInputState final : public InputState {
public:
    bool IsKeyDown(uint32_t keyCode) const override {
        const int virtualKey = VirtualKeyFor(keyCode);
        return virtualKey != 0 && (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
    }
    bool IsLeftButtonDown() const override { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }
    void NoteKey(uint32_t, bool) override {}
    void NoteLeftButton(bool) override {}
    void RecenterCursor() override {
        POINT cursor;
        if (!GetCursorPos(&cursor)) return;
        HWND window = WindowFromPoint(cursor);
        RECT client;
        if (window == nullptr || !GetClientRect(window, &client)) return;
        POINT centre{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
        if (ClientToScreen(window, &centre)) SetCursorPos(centre.x, centre.y);
    }
};

}  // namespace

std::unique_ptr<InputState> CreateSystemInputState() { return std::make_unique<SystemInputState>(); }

std::FILE* OpenForReading(const KeyweaveChar16* path) {
    if (path == nullptr) return nullptr;
    return _wfsopen(path, L"rb", _SH_DENYNO);
}

std::FILE* OpenForWriting(const KeyweaveChar16* path) {
    if (path == nullptr) return nullptr;
    return _wfopen(path, L"wb");
}

}  // namespace Keyweave::Platform
