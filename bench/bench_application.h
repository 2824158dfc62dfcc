#pragma once
// A running engine and application for the benchmarks, on a temporary program folder removed
// afterwards; ORBIVANE_DATA_DIR names the shipped data folder.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/app_main.h"
#include "engine/qox_main.h"
#include "platform/desktop_services.h"

class Application {
public:
    enum class Views { None, Shipped };

    enum class Pictures { None, Shipped };

    explicit Application(bool sizes = false, Views views = Views::None, Pictures pictures = Pictures::None)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbivane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            Home = pattern;
        ::setenv("ORBIVANE_HOME", Home.c_str(), 1);
        for (const char* list : {"/views.ini", "/favorites.ini", "/recent.ini"})
            std::ofstream(Home + list); // list files are kept only where they exist
        if (views == Views::Shipped)
            std::filesystem::copy_file(ORBIVANE_DATA_DIR "/views.ini", Home + "/views.ini",
                                       std::filesystem::copy_options::overwrite_existing);
        if (pictures == Pictures::Shipped)
            std::filesystem::copy(ORBIVANE_DATA_DIR "/textures", Home + "/textures",
                                  std::filesystem::copy_options::recursive);
        TheEngine = QOXNew<QOXEngine>(&Desktop);
        TheEngine->Initialize(nullptr, nullptr);
        TheApp = QOXNew<QOXApp>();
        // The scans measured here are the ring's own; counting in the background has its own
        // benchmark, and with it on every scan would read sizes.
        TheApp->Settings.CountFolderSizesInBackground = false;
        TheApp->Settings.ComputeFileSizeAutomatically = sizes;
        TheApp->Views->Load("views");
    }
    ~Application()
    {
        TheApp->Destroy();
        TheEngine->Destroy();
        std::error_code ignored;
        std::filesystem::remove_all(Home, ignored);
    }

private:
    std::string Home;
    platform::ConsoleDesktopServices Desktop;
    QOXEngine* TheEngine = nullptr; // owned
    QOXApp* TheApp = nullptr;       // owned
};

