#pragma once
// Every Win32 service, wired into the Platform the check run uses.

#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_graphics_driver.h"
#include "platform/win32/win32_messages.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "shell/orvane/win32_result_window.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_wmi_service.h"
#include "platform/win32/win32_worker_threads.h"

struct Win32Platform {
    Win32FileSystem files;
    Win32TextCodec codec;
    Win32Resources resources;
    Win32Messages messages;
    Win32SystemInfo system;
    Win32ProcessLauncher launcher;
    Win32WmiService wmi;
    Win32WorkerThreads threads;
    Win32GraphicsDriver graphics;
    Win32Registry registry;
    Win32ProfileFiles profiles;
    Win32ResultWindow resultWindow;

    Platform platform{files, codec, resources, messages, system, launcher, wmi, graphics, registry, profiles,
                      resultWindow, threads};
};
