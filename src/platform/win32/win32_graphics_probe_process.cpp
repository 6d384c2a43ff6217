#include "platform/win32/win32_graphics_probe_process.h"

#include <vector>

#include "platform/win32/win32_graphics_probe_child.h"
#include "platform/graphics_reading_message.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long an ended child may take to be gone; the job ends it in any case.
constexpr DWORD kEndWaitMs = 2000;
constexpr UINT kOverranExitCode = 0x4F56;  // "OV"
constexpr DWORD kPipeBufferBytes = 1u << 16;

// Only the handles named go to the child: not our standard handles, which a
// tool waiting for our output would otherwise wait on until the child ends.
class HandleListAttribute {
public:
    explicit HandleListAttribute(const GraphicsProbeHandles& handles) : handles_{handles.pipe, handles.parent} {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (size == 0 || !::InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        list_ = list;
        if (!::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_, sizeof(handles_),
                                         nullptr, nullptr)) {
            ::DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
        }
    }
    ~HandleListAttribute() {
        if (list_) ::DeleteProcThreadAttributeList(list_);
    }
    HandleListAttribute(const HandleListAttribute&) = delete;
    HandleListAttribute& operator=(const HandleListAttribute&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

private:
    HANDLE handles_[2];  // read by CreateProcessW, so kept as long as the list
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// A job that ends the child when its last handle closes, even when we end
// without a word; and that keeps Windows' crash dialog away from it.
UniqueHandle MakeChildJob() {
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
        job.reset();
    return job;
}

std::wstring UniquePipeName() {
    static LONG made = 0;
    return L"\\\\.\\pipe\\orvane-graphics-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(::InterlockedIncrement(&made));
}

}  // namespace

GraphicsProbeProcess::~GraphicsProbeProcess() { EndChild(); }

bool GraphicsProbeProcess::Start(const std::wstring& exePath, std::chrono::milliseconds deadline) {
    deadline_ = Clock::now() + deadline;
    if (exePath.empty()) return false;

    const std::wstring pipeName = UniquePipeName();
    pipe_.reset(::CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
                                   kPipeBufferBytes, 0, nullptr));
    readDone_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!pipe_ || !readDone_) return false;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueFile childEnd(
        ::CreateFileW(pipeName.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!childEnd) return false;
    // The child waits on us, and ends with us where no job can take it along.
    UniqueHandle us;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), us.put(), SYNCHRONIZE,
                           TRUE, 0))
        return false;

    const GraphicsProbeHandles handles{childEnd.get(), us.get()};
    const HandleListAttribute handleList(handles);
    // Without the list the child would get every inheritable handle of ours:
    // no child then, and the probe runs here.
    if (!handleList.get()) return false;
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    // No standard handles: whatever a driver prints lands nowhere.
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.lpAttributeList = handleList.get();
    // Not held suspended until it is in the job: were we ended in between, it
    // would be left suspended for ever. Running, it watches us before any
    // driver code runs, and ends as soon as we are gone.
    const DWORD flags = DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT;
    job_ = MakeChildJob();

    std::wstring commandLine = GraphicsProbeCommandLine(exePath, handles);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                          &startup.StartupInfo, &child))
        return false;
    process_.reset(child.hProcess);
    const UniqueHandle thread(child.hThread);

    // Where the job cannot be had (a process already in a job on Windows 7
    // cannot join another), the child still ends with us on its own.
    if (job_ && !::AssignProcessToJobObject(job_.get(), process_.get())) job_.reset();
    return true;
}

bool GraphicsProbeProcess::ReadAnswer(std::string& bytes, GraphicsReading& reading, bool& complete) {
    char chunk[4096];
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = readDone_.get();
        ::ResetEvent(readDone_.get());
        if (!::ReadFile(pipe_.get(), chunk, sizeof(chunk), nullptr, &overlapped)) {
            if (::GetLastError() != ERROR_IO_PENDING) return true;  // the child's end is closed
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now());
            const DWORD waitMs = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
            if (::WaitForSingleObject(readDone_.get(), waitMs) != WAIT_OBJECT_0) {
                // The buffer must outlive the read: cancel it, and wait until it is cancelled.
                ::CancelIo(pipe_.get());
                DWORD ignored = 0;
                ::GetOverlappedResult(pipe_.get(), &overlapped, &ignored, TRUE);
                return false;
            }
        }
        DWORD got = 0;
        if (!::GetOverlappedResult(pipe_.get(), &overlapped, &got, FALSE)) return true;
        bytes.append(chunk, got);
        const GraphicsMessageState state = DecodeGraphicsReading(bytes, reading);
        if (state != GraphicsMessageState::Incomplete) {
            complete = state == GraphicsMessageState::Complete;
            return true;
        }
    }
}

GraphicsReading GraphicsProbeProcess::Finish() {
    if (!process_ || !pipe_) {
        EndChild();
        return {GraphicsReading::Outcome::NoWindow, std::nullopt};
    }
    std::string bytes;
    GraphicsReading reading;
    bool complete = false;
    const bool inTime = ReadAnswer(bytes, reading, complete);
    pipe_.reset();
    readDone_.reset();
    // A child that answered puts its context away on its own time; if it
    // lingers, our end ends it.
    if (complete) return reading;

    EndChild();
    return {inTime ? GraphicsReading::Outcome::DriverFailed : GraphicsReading::Outcome::DriverHung, std::nullopt};
}

void GraphicsProbeProcess::EndChild() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), kOverranExitCode);
        ::WaitForSingleObject(process_.get(), kEndWaitMs);  // ending takes a moment
    }
    process_.reset();
    job_.reset();
    pipe_.reset();
    readDone_.reset();
}
