#pragma once
// The snapshot: the application scene for a ring on a folder, rendered on an off-screen OpenGL
// context with the program's engine, scene and data, and read back as a picture.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace snapshot {

struct Options {
    std::string Folder;
    std::vector<std::string> Expand; // sub-folders of Folder, "a" or "a/b", expanded in this order
    int Width = 800;
    int Height = 600;
    int Frames = 50; // of 50 ms each
    std::optional<std::pair<float, float>> Pointer; // view pixels, y downwards
    // "Show Growth" since this count of the folder's size history ("previous" or a date); the
    // user's history of the folder is lent to the snapshot.
    std::optional<std::string> GrowthSince;
    std::string Out;
    std::string FrameStats; // a line per frame (milliseconds, elements drawn), when given
};

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb; // Width x Height x 3 bytes, top row first
};

// The usage text the tool prints for a wrong command line.
std::string Usage();
// Reads the command line (without the program name); the reason when it is not a valid one.
std::optional<std::string> ParseArguments(const std::vector<std::string>& arguments, Options& options);
// Called with the picture as soon as it is read back, before the session ends: what it starts
// runs beside the end of the session.
using PictureTaken = std::function<void(const Picture&)>;

// The whole tool: reads the command line, renders, writes the PNG while the session ends. The exit
// status (0 done, 1 could not, 2 a wrong command line); the reason goes to `errors`.
int Run(const std::vector<std::string>& arguments, std::ostream& errors);
// Renders the scene for the options; the reason when it could not.
std::optional<std::string> Render(const Options& options, Picture& picture, const PictureTaken& taken = {});
std::optional<std::string> WritePng(const std::string& path, const Picture& picture);

} // namespace snapshot
