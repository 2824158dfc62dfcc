#pragma once
// Names, texts and fixed values of the application layer.
#include "engine/qox_constant.h"

inline constexpr const char* kAppObjectName = "APP Engine Main";
inline constexpr const char* kAppCaption = "Orbivane";
inline constexpr const char* kAppCaptionPrefix = "Orbivane - ";
// The version of the build (the project's version in CMakeLists.txt).
inline constexpr const char* kAppVersion = ORBIVANE_VERSION;

// The settings file: orbivane.ini in the folder of the settings and list files.
inline constexpr const char* kSettingsName = "orbivane";
inline constexpr const char* kSettingsExtension = "ini";

inline constexpr QXColor kDefaultFolderColour{0.0f, 0.8f, 0.0f};
inline constexpr QXColor kDefaultFileColour{0.8f, 0.8f, 0.0f};

// ApplyDisplayChange runs the current ring's frame until its move has ended; with a zero speed or
// a zero frame time it never would, so the repetition stops here.
inline constexpr int kMaxDisplayChangeUpdates = 1000;

// Status-bar panels written by the application and its rings.
enum class QAStatusPanel { Folders = 0, Files = 1, Size = 2, FilesToCopy = 3, Counting = 4 };
