#pragma once
// The Win32 services orvane-check looks through; nothing that shows, starts
// or writes anything.

#include "replay/looking_services.h"
#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_graphics_driver.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_wmi_service.h"
#include "platform/win32/win32_worker_threads.h"

struct Win32CheckPlatform {
    Win32FileSystem files;
    Win32TextCodec codec;
    Win32Resources resources;
    CollectedMessages messages;
    Win32SystemInfo system;
    RefusingLauncher launcher;
    Win32WmiService wmi;
    Win32WorkerThreads threads;
    Win32GraphicsDriver graphics;
    Win32Registry registry;
    NoProfileFiles profiles;
    NoResultWindow resultWindow;

    Platform platform{files, codec, resources, messages, system, launcher, wmi, graphics, registry, profiles,
                      resultWindow, threads};
};
