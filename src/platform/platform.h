#pragma once
// Every operating-system service the check run uses.

#include "platform/file_system.h"
#include "platform/graphics_driver.h"
#include "platform/messages.h"
#include "platform/process_launcher.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/result_window.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/wmi_service.h"
#include "platform/worker_threads.h"

struct Platform {
    FileSystem& files;
    TextCodec& codec;
    Resources& resources;
    Messages& messages;
    SystemInfo& system;
    ProcessLauncher& launcher;
    WmiService& wmi;
    GraphicsDriver& graphics;
    Registry& registry;
    ProfileFiles& profiles;
    ResultWindow& resultWindow;
    WorkerThreads& threads;
};
