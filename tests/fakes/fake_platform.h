#pragma once
// Every fake in one place, wired into a Platform.

#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"
#include "fakes/fake_text_codec.h"

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

    Platform platform{files, codec, resources, messages, system, launcher, wmi, graphics, registry, profiles,
                      resultWindow};
};
