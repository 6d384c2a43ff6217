// A stand-in opengl32.dll for the end-to-end tests: the exports Wine's gdi32
// and our probe call, and a driver that answers, hangs or crashes as
// ORVANE_STAND_IN_GL says:
//   answer:<vendor>|<renderer>|<version>|<shading language version>  (an empty field: the driver gives none)
//   hang:<step>, crash:<step> (access violation), overflow:<step> (stack), abort:<step>
// where <step> is format (choose or set the pixel format), context (make it),
// current (select it) or strings (read them).
// Only Orvane's graphics probe process meets that driver. Any other process
// (Wine asks the driver from within WMI, which on Windows runs in a service of
// its own) meets one without a pixel format.

// The wgl functions are ours to define here, not gdi32's to import.
#define _GDI32_
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool InProbeProcess() {
    static const bool probe = std::strstr(::GetCommandLineA(), "--orvane-graphics-probe") != nullptr;
    return probe;
}

std::string Setting() {
    char buffer[4096];
    const DWORD n = ::GetEnvironmentVariableA("ORVANE_STAND_IN_GL", buffer, sizeof(buffer));
    return n > 0 && n < sizeof(buffer) ? std::string(buffer, n) : std::string("answer:Stand-in|Stand-in|4.6.0|4.60");
}

volatile int depth = 0;
int Overflow(int n) {
    volatile char frame[4096];
    frame[0] = static_cast<char>(n);
    depth = depth + 1;
    if (depth < 0) return 0;
    return Overflow(n + 1) + frame[0];
}

// Does what the setting asks for when the probe reaches `step`.
void Misbehave(const char* step) {
    const std::string setting = Setting();
    const size_t colon = setting.find(':');
    if (colon == std::string::npos || setting.compare(colon + 1, std::string::npos, step) != 0) return;
    const std::string how = setting.substr(0, colon);
    if (how == "hang") ::Sleep(INFINITE);
    if (how == "crash") *static_cast<volatile int*>(nullptr) = 1;
    if (how == "overflow") Overflow(0);
    if (how == "abort") std::abort();
}

// The answer's field 0..3, nullptr when it is empty.
const char* AnswerField(int index) {
    static std::string fields[4];
    static bool read = false;
    if (!read) {
        read = true;
        const std::string setting = Setting();
        size_t at = setting.rfind("answer:", 0) == 0 ? 7 : setting.size();
        for (std::string& field : fields) {
            const size_t bar = setting.find('|', at);
            field = at < setting.size() ? setting.substr(at, bar - at) : std::string();
            at = bar == std::string::npos ? setting.size() : bar + 1;
        }
    }
    return fields[index].empty() ? nullptr : fields[index].c_str();
}

const PIXELFORMATDESCRIPTOR kFormat = {sizeof(PIXELFORMATDESCRIPTOR), 1,
                                       PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA,
                                       32, 0, 0, 0, 0, 0, 0, 8, 0, 64, 0, 0, 0, 0, 24, 8, 0, PFD_MAIN_PLANE, 0, 0, 0, 0};
int currentFormat = 0;
HGLRC const kContext = reinterpret_cast<HGLRC>(static_cast<INT_PTR>(0x600D));

}  // namespace

extern "C" {

int WINAPI wglChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR*) {
    if (!InProbeProcess()) return 0;
    Misbehave("format");
    return 1;
}

int WINAPI wglDescribePixelFormat(HDC, int format, UINT size, PIXELFORMATDESCRIPTOR* descriptor) {
    if (!InProbeProcess()) return 0;
    Misbehave("format");
    if (descriptor && format == 1 && size >= sizeof(PIXELFORMATDESCRIPTOR)) *descriptor = kFormat;
    return 1;
}

BOOL WINAPI wglSetPixelFormat(HDC, int format, const PIXELFORMATDESCRIPTOR*) {
    if (!InProbeProcess() || format != 1) return FALSE;
    Misbehave("format");
    currentFormat = format;
    return TRUE;
}

int WINAPI wglGetPixelFormat(HDC) { return currentFormat; }

BOOL WINAPI wglSwapBuffers(HDC) { return TRUE; }

HGLRC WINAPI wglCreateContext(HDC) {
    Misbehave("context");
    return currentFormat ? kContext : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC, HGLRC context) {
    if (context) Misbehave("current");
    return context == nullptr || context == kContext;
}

BOOL WINAPI wglDeleteContext(HGLRC context) { return context == kContext; }

// Imported by Wine's Direct3D, which its WMI loads; never reached without a context.
HGLRC WINAPI wglGetCurrentContext() { return nullptr; }
HDC WINAPI wglGetCurrentDC() { return nullptr; }
PROC WINAPI wglGetProcAddress(LPCSTR) { return nullptr; }
BOOL WINAPI wglShareLists(HGLRC, HGLRC) { return FALSE; }
void WINAPI glEnable(unsigned int) {}
void WINAPI glDisable(unsigned int) {}

const unsigned char* WINAPI glGetString(unsigned int name) {
    Misbehave("strings");
    const unsigned int names[] = {0x1F00, 0x1F01, 0x1F02, 0x8B8C};
    for (int i = 0; i < 4; ++i)
        if (names[i] == name) return reinterpret_cast<const unsigned char*>(AnswerField(i));
    return nullptr;
}

}  // extern "C"
