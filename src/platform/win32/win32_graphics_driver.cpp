#include "platform/win32/win32_graphics_driver.h"

#include <string>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_system_dll.h"

namespace {

constexpr const wchar_t* kProbeWindowClass = L"DummyOpenGLWindow";

// glGetString's names and type, declared here: opengl32 is loaded at run time.
using GlEnum = unsigned int;
constexpr GlEnum kGlVendor = 0x1F00;
constexpr GlEnum kGlRenderer = 0x1F01;
constexpr GlEnum kGlVersion = 0x1F02;
constexpr GlEnum kGlShadingLanguageVersion = 0x8B8C;

using WglCreateContextFn = HGLRC(WINAPI*)(HDC);
using WglMakeCurrentFn = BOOL(WINAPI*)(HDC, HGLRC);
using WglDeleteContextFn = BOOL(WINAPI*)(HGLRC);
using GlGetStringFn = const unsigned char*(WINAPI*)(GlEnum);

// opengl32 is no DLL Windows protects, so it is taken by full path from
// System32 and never from a folder we happen to start in.
struct OpenGlLibrary {
    UniqueModule module;
    WglCreateContextFn createContext = nullptr;
    WglMakeCurrentFn makeCurrent = nullptr;
    WglDeleteContextFn deleteContext = nullptr;
    GlGetStringFn getString = nullptr;

    bool Load() {
        const std::wstring path = System32Path(L"opengl32.dll");
        if (path.empty()) return false;
        module.reset(::LoadLibraryExW(path.c_str(), nullptr, 0));
        if (!module) return false;
        createContext = reinterpret_cast<WglCreateContextFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.get(), "wglCreateContext")));
        makeCurrent = reinterpret_cast<WglMakeCurrentFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.get(), "wglMakeCurrent")));
        deleteContext = reinterpret_cast<WglDeleteContextFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.get(), "wglDeleteContext")));
        getString = reinterpret_cast<GlGetStringFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.get(), "glGetString")));
        return createContext && makeCurrent && deleteContext && getString;
    }
};

// A rendering context, deleted through the library that made it.
class UniqueGlContext {
public:
    UniqueGlContext(const OpenGlLibrary& gl, HGLRC context) : gl_(gl), context_(context) {}
    ~UniqueGlContext() {
        if (context_) gl_.deleteContext(context_);
    }
    UniqueGlContext(const UniqueGlContext&) = delete;
    UniqueGlContext& operator=(const UniqueGlContext&) = delete;

    HGLRC get() const { return context_; }

private:
    const OpenGlLibrary& gl_;
    HGLRC context_;
};

// The context is current for the life of this scope only.
class CurrentGlContextScope {
public:
    CurrentGlContextScope(const OpenGlLibrary& gl, HDC dc, HGLRC context)
        : gl_(gl), current_(context && gl.makeCurrent(dc, context)) {}
    explicit operator bool() const { return current_; }
    ~CurrentGlContextScope() {
        if (current_) gl_.makeCurrent(nullptr, nullptr);
    }
    CurrentGlContextScope(const CurrentGlContextScope&) = delete;
    CurrentGlContextScope& operator=(const CurrentGlContextScope&) = delete;

private:
    const OpenGlLibrary& gl_;
    bool current_;
};

PIXELFORMATDESCRIPTOR ProbePixelFormat(BYTE accumBits, BYTE depthBits) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cAccumBits = accumBits;
    pfd.cDepthBits = depthBits;
    pfd.cStencilBits = 8;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

std::optional<std::string> ReadString(const OpenGlLibrary& gl, GlEnum name) {
    const unsigned char* text = gl.getString(name);
    if (!text) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text));
}

// Every message to the default procedure. The class is not given
// DefWindowProcW's own address: that is read from its import slot, which
// before the first call holds the stub that looks the function up in user32,
// and the window would call that stub, and look it up, on every message.
LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateProbeWindow() {
    // Registration is attempted once per process; a failure shows in CreateWindowExW.
    static const bool registrationAttempted = [] {
        WNDCLASSW windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = ProbeWindowProc;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOWFRAME + 1));
        windowClass.lpszClassName = kProbeWindowClass;
        ::RegisterClassW(&windowClass);
        return true;
    }();
    (void)registrationAttempted;

    return ::CreateWindowExW(WS_EX_WINDOWEDGE, kProbeWindowClass, nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
}

namespace {

// What a context for reading the strings needs: OpenGL, a window and RGBA.
bool SuitsTheProbe(const PIXELFORMATDESCRIPTOR& format) {
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    return (format.dwFlags & needed) == needed && format.iPixelType == PFD_TYPE_RGBA;
}

// Windows' own software formats, used only when the driver offers none.
bool IsSoftwareFormat(const PIXELFORMATDESCRIPTOR& format) {
    return (format.dwFlags & PFD_GENERIC_FORMAT) && !(format.dwFlags & PFD_GENERIC_ACCELERATED);
}

// The first suitable format of the driver, or of Windows' software formats
// when the driver has none; 0 when there is none at all. ChoosePixelFormat
// would look at every format to score it, which is most of the probe's time.
int FirstSuitableFormat(HDC dc) {
    PIXELFORMATDESCRIPTOR format{};
    const int count = ::DescribePixelFormat(dc, 1, sizeof(format), &format);
    int software = 0;
    for (int index = 1; index <= count; ++index) {
        if (index > 1 && !::DescribePixelFormat(dc, index, sizeof(format), &format)) continue;
        if (!SuitsTheProbe(format)) continue;
        if (!IsSoftwareFormat(format)) return index;
        if (software == 0) software = index;
    }
    return software;
}

}  // namespace

bool SetProbePixelFormat(HDC dc) {
    const int first = FirstSuitableFormat(dc);
    PIXELFORMATDESCRIPTOR chosen{};
    if (first != 0 && ::DescribePixelFormat(dc, first, sizeof(chosen), &chosen) &&
        ::SetPixelFormat(dc, first, &chosen))
        return true;

    // The requests of old, should the search find nothing the driver will set.
    const PIXELFORMATDESCRIPTOR requests[] = {
        ProbePixelFormat(64, 32),
        ProbePixelFormat(64, 24),
        ProbePixelFormat(32, 24),
    };
    for (const PIXELFORMATDESCRIPTOR& request : requests) {
        const int format = ::ChoosePixelFormat(dc, &request);
        if (format != 0 && ::SetPixelFormat(dc, format, &request)) return true;
    }
    return false;
}

GraphicsReading ReadDriverStringsHere(const std::function<void(const GraphicsReading&)>& onRead) {
    // Loaded before ChoosePixelFormat, which asks for opengl32 by bare name, so
    // that it finds ours already in memory; and released last, after the window.
    OpenGlLibrary gl;
    const bool haveGl = gl.Load();

    GraphicsReading reading;  // no window
    UniqueHwnd window(CreateProbeWindow());
    UniqueWindowDc dc(window.get(), window ? ::GetDC(window.get()) : nullptr);
    if (!dc) {
        if (onRead) onRead(reading);
        return reading;
    }

    reading.strings.emplace();  // all missing unless a driver answers
    // Without a format the context fails, and the strings read "(null)".
    if (haveGl) SetProbePixelFormat(dc.get());
    const UniqueGlContext context(gl, haveGl ? gl.createContext(dc.get()) : nullptr);
    {
        const CurrentGlContextScope current(gl, dc.get(), context.get());
        if (current) {
            const GlEnum names[] = {kGlVendor, kGlRenderer, kGlVersion, kGlShadingLanguageVersion};
            for (size_t i = 0; i < reading.strings->size(); ++i) (*reading.strings)[i] = ReadString(gl, names[i]);
            reading.outcome = GraphicsReading::Outcome::Read;
        }
        if (onRead) onRead(reading);
    }
    return reading;
}

GraphicsReading Win32InProcessGraphicsDriver::ReadDriverStrings() { return ReadDriverStringsHere(); }

void Win32GraphicsDriver::Begin() {
    if (begun_) return;
    begun_ = true;
    // Our file, not whatever lies at our path: a child of an elevated Orvane
    // runs with its rights. Without the hold, the probe runs here.
    ownImage_.emplace();
    childStarted_ = child_.Start(ownImage_->path(), kDeadline);
}

GraphicsReading Win32GraphicsDriver::ReadDriverStrings() {
    Begin();
    // Where no process may be started (a policy, no handles left), the probe
    // runs here as it always could: a machine is not failed for want of a child.
    if (!childStarted_) return ReadDriverStringsHere();
    return child_.Finish();
}
