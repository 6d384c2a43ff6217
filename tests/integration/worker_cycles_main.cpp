// Starts the WMI worker over and over, as a check run does, on the system's
// own threads, and counts the answers that missed the run's deadline: over a
// service that answers at once, any such answer is a thread that did not get
// to run in time. For scripts/stress.sh, under load.
//   orvane_worker_cycles [CYCLES [DEADLINE_MS]]   (5000, 10000)
// Prints "cycles N late L slowest Sms"; exits 1 when any answer was late.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_worker_threads.h"
#include "probes/wmi_worker.h"

namespace {

class AnsweringSession : public WmiSession {
public:
    std::optional<std::vector<WmiInstance>> Query(const std::wstring&, const std::vector<std::wstring>&) override {
        return std::vector<WmiInstance>(1);
    }
};

class AnsweringService : public WmiService {
public:
    std::unique_ptr<WmiSession> Connect(const std::wstring&) override { return std::make_unique<AnsweringSession>(); }
};

}  // namespace

int main(int argc, char** argv) {
    const long cycles = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 5000;
    const long deadlineMs = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 10000;
    if (cycles <= 0 || deadlineMs <= 0) {
        std::fprintf(stderr, "usage: orvane_worker_cycles [CYCLES [DEADLINE_MS]]\n");
        return 64;
    }
    Win32WorkerThreads threads;
    AnsweringService wmi;
    QueryRequest request;
    request.wmiNamespace = L"ROOT\\CIMV2";
    request.items.push_back({0, L"SELECT * FROM Win32_OperatingSystem", {L"Version"}});

    long late = 0;
    WmiClock::duration slowest{};
    for (long i = 0; i < cycles; ++i) {
        const WmiClock::time_point start = WmiClock::now();
        WmiWorker worker(threads, wmi, request);
        const bool answered = worker.Take(0, start + std::chrono::milliseconds(deadlineMs)).has_value();
        if (!answered) ++late;
        slowest = std::max(slowest, WmiClock::now() - start);
    }
    std::printf("cycles %ld late %ld slowest %lldms\n", cycles, late,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()));
    return late == 0 ? 0 : 1;
}
