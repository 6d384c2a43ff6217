#pragma once
// Every fake in one place, wired into a Platform.

#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"
#include "fakes/fake_text_codec.h"
#ifdef _WIN32
#include "platform/win32/win32_worker_threads.h"
#else
#include "probes/std_worker_threads.h"
#endif

// Real threads, those the programs use where the suite runs (under Wine the
// system's own), unless a test takes them away.
class FakeWorkerThreads : public WorkerThreads {
public:
    std::shared_ptr<HandOverSignals> MakeSignals(size_t count) override {
        return givesSignals ? host_.MakeSignals(count) : nullptr;
    }
    bool Start(const std::function<void()>& work) override { return startsThreads && host_.Start(work); }

    bool givesSignals = true;
    bool startsThreads = true;

private:
#ifdef _WIN32
    Win32WorkerThreads host_;
#else
    StdWorkerThreads host_;
#endif
};

struct FakePlatform {
    FakeFileSystem files;
    FakeTextCodec codec;
    FakeResources resources;
    FakeMessages messages;
    FakeSystemInfo system;
    FakeProcessLauncher launcher;
    FakeWmiService wmi;
    FakeGraphicsDriver graphics;
    FakeRegistry registry;
    FakeProfileFiles profiles;
    FakeResultWindow resultWindow;
    FakeWorkerThreads threads;

    Platform platform{files, codec, resources, messages, system, launcher, wmi, graphics, registry, profiles,
                      resultWindow, threads};
};
