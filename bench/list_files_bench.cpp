// Loading big list files: many views, many favourites, one view with very many extensions. Each
// benchmark also reports the time to read the same file's lines without interpreting them
// ("read_lines_ms"), the floor any loader stands on, measured in the same run.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/file_file.h"
#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "lists/favorite_main.h"
#include "lists/view_main.h"
#include "platform/desktop_services.h"

namespace {

// A running engine on a temporary program folder that holds the three list files.
class ListFolder {
public:
    ListFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbivane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            Home = pattern + "/";
        ::setenv("ORBIVANE_HOME", Home.c_str(), 1);
        for (const char* list : {"views.ini", "favorites.ini", "recent.ini"})
            std::ofstream(Home + list);
        TheEngine = QOXNew<QOXEngine>(&Desktop);
        TheEngine->Initialize(nullptr, nullptr);
        // The log would time the disk, not the loading.
        TheEngine->Console->Enabled = false;
    }
    ~ListFolder()
    {
        TheEngine->Destroy();
        std::error_code ignored;
        std::filesystem::remove_all(Home, ignored);
    }
    ListFolder(const ListFolder&) = delete;
    ListFolder& operator=(const ListFolder&) = delete;

    std::string Path(const std::string& name) const { return Home + name; }

    void WriteViews(int views, int extensionsPerView) const
    {
        std::ofstream file(Path("views.ini"));
        for (int v = 0; v < views; ++v) {
            file << "VIEW {\n  NAME            \"View " << v << "\"\n  ENABLED         TRUE\n  EXTENSIONS {\n";
            for (int e = 0; e < extensionsPerView; ++e)
                file << "    x" << v << "e" << e << "\n";
            file << "  }\n}\n\n";
        }
    }

    void WriteFavorites(int favorites) const
    {
        std::ofstream file(Path("favorites.ini"));
        for (int f = 0; f < favorites; ++f)
            file << "FAVORITE {\n  NAME            \"Favourite " << f << "\"\n  FOLDER          \"/srv/place " << f
                 << "/\"\n}\n\n";
    }

    // The bare cost of reading the file's lines through the engine's file object.
    double ReadLinesMilliseconds(const std::string& name) const
    {
        const auto start = std::chrono::steady_clock::now();
        QOXFile* file = TheEngine->FileSystem->OpenRead(Path(name), QOXFile::Text);
        std::size_t characters = 0;
        while (!file->Eof())
            characters += file->ReadLine().size();
        file->Destroy();
        benchmark::DoNotOptimize(characters);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }

private:
    std::string Home;
    platform::RecordingDesktopServices Desktop;
    QOXEngine* TheEngine = nullptr; // owned
};

// Loads the list file through a fresh engine of the kind, as often as the benchmark asks; only the
// loading is timed.
template <class ListEngine>
void LoadList(benchmark::State& state, const ListFolder& folder, const char* name, const char* counter)
{
    int loaded = 0;
    for (auto _ : state) {
        ListEngine* engine = QOXNew<ListEngine>(nullptr);
        engine->Load(name);
        state.PauseTiming();
        loaded = engine->Count();
        engine->Destroy();
        state.ResumeTiming();
    }
    state.counters[counter] = loaded;
    state.counters["read_lines_ms"] = folder.ReadLinesMilliseconds(std::string(name) + ".ini");
}

// Argument: the number of views, one extension each.
void LoadManyViews(benchmark::State& state)
{
    ListFolder folder;
    folder.WriteViews(static_cast<int>(state.range(0)), 1);
    LoadList<QOXViewEngine>(state, folder, "views", "views");
}

// Argument: the number of extensions of the one view.
void LoadOneViewWithManyExtensions(benchmark::State& state)
{
    ListFolder folder;
    folder.WriteViews(1, static_cast<int>(state.range(0)));
    LoadList<QOXViewEngine>(state, folder, "views", "views");
}

// Argument: the number of favourites.
void LoadManyFavorites(benchmark::State& state)
{
    ListFolder folder;
    folder.WriteFavorites(static_cast<int>(state.range(0)));
    LoadList<QOXFavoriteEngine>(state, folder, "favorites", "favorites");
}

BENCHMARK(LoadManyViews)->Arg(10000)->Arg(40000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadManyFavorites)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadOneViewWithManyExtensions)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
