#include "resources/picture_prefetch.h"

#include <algorithm>
#include <filesystem>

#include "platform/whole_file.h"

namespace fs = std::filesystem;

namespace {

// Start-up's pictures are a few hundred kilobytes; a folder that holds far more is not read ahead
// beyond this, and what is left is read when it is needed, as without the worker.
constexpr std::int64_t kMostBytesAhead = std::int64_t{64} << 20;
constexpr std::size_t kMostFilesPerFolder = 64;

std::optional<ImageFileType> TypeOfExtension(const std::string& extension)
{
    for (const ImageFileType type : {ImageFileType::Jpg, ImageFileType::Tga, ImageFileType::Png})
        if (extension == std::string(".") + ImageExtension(type))
            return type;
    return std::nullopt;
}

} // namespace

std::vector<QRPictureFile> QRPicturePrefetch::StartUpPictures(const std::string& dataFolder)
{
    std::vector<QRPictureFile> files = PicturesIn(dataFolder + "textures/fonts/");
    std::vector<QRPictureFile> pictures = PicturesIn(dataFolder + "textures/");
    files.insert(files.end(), pictures.begin(), pictures.end());
    return files;
}

std::vector<QRPictureFile> QRPicturePrefetch::PicturesIn(const std::string& folder)
{
    std::vector<QRPictureFile> files;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::optional<ImageFileType> type = TypeOfExtension(entry->path().extension().string());
        if (type && entry->is_regular_file(error))
            files.push_back({folder + entry->path().filename().string(), *type});
    }
    std::sort(files.begin(), files.end(), [](const QRPictureFile& a, const QRPictureFile& b) { return a.Path < b.Path; });
    if (files.size() > kMostFilesPerFolder)
        files.resize(kMostFilesPerFolder);
    return files;
}

QRPicturePrefetch::QRPicturePrefetch(std::vector<QRPictureFile> files)
{
    Entries.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        Entries[i].File = std::move(files[i]);
    WorkerDone = Entries.empty();
    if (!WorkerDone)
        Worker = std::thread([this] { Run(); });
}

QRPicturePrefetch::~QRPicturePrefetch()
{
    {
        const std::lock_guard<std::mutex> hold(Lock);
        Stopping = true;
    }
    if (Worker.joinable())
        Worker.join();
}

std::optional<DecodedImage> QRPicturePrefetch::Take(const std::string& path, ImageFileType type)
{
    std::unique_lock<std::mutex> hold(Lock);
    const auto found = std::find_if(Entries.begin(), Entries.end(), [&](const Entry& entry) {
        return entry.File.Path == path && entry.File.Type == type && entry.At != Stage::Taken;
    });
    if (found == Entries.end())
        return std::nullopt;
    Entry& entry = *found;
    Decoded.wait(hold, [&] { return entry.At != Stage::Decoding; });
    const bool ready = entry.At == Stage::Ready;
    entry.At = Stage::Taken;
    DecodedImage picture = std::move(entry.Picture);
    const platform::EntryIdentity readFrom = entry.Identity;
    hold.unlock();
    struct stat now {};
    if (!ready || !picture.Ok() || ::stat(path.c_str(), &now) != 0 || platform::IdentityOf(now) != readFrom)
        return std::nullopt;
    return picture;
}

void QRPicturePrefetch::Run()
{
    std::int64_t bytesAhead = 0;
    std::unique_lock<std::mutex> hold(Lock);
    Entry* entry = nullptr;
    while (bytesAhead <= kMostBytesAhead && (entry = NextWaiting()) != nullptr) {
        entry->At = Stage::Decoding;
        Entry work;
        work.File = entry->File;
        hold.unlock();
        Decode(work);
        hold.lock();
        // Entries never move once the worker runs, so `entry` still names the same picture.
        entry->Picture = std::move(work.Picture);
        entry->Identity = work.Identity;
        entry->At = Stage::Ready;
        bytesAhead += static_cast<std::int64_t>(entry->Picture.Pixels.size());
        Decoded.notify_all();
    }
    WorkerDone = true;
    Decoded.notify_all();
}

void QRPicturePrefetch::AwaitReadAhead()
{
    std::unique_lock<std::mutex> hold(Lock);
    Decoded.wait(hold, [this] { return WorkerDone; });
}

// The next picture nobody has begun, or none when there is none or the prefetch is ending.
QRPicturePrefetch::Entry* QRPicturePrefetch::NextWaiting()
{
    if (Stopping)
        return nullptr;
    const auto next = std::find_if(Entries.begin(), Entries.end(), [](const Entry& entry) { return entry.At == Stage::Waiting; });
    return next != Entries.end() ? &*next : nullptr;
}

void QRPicturePrefetch::Decode(Entry& entry)
{
    std::vector<std::uint8_t> bytes;
    struct stat status {};
    if (!platform::ReadWholeFile(entry.File.Path, static_cast<std::size_t>(kMostBytesAhead), bytes, status)) {
        entry.Picture = FailedImage("not read ahead");
        return;
    }
    entry.Identity = platform::IdentityOf(status);
    entry.Picture = DecodeImage(bytes, entry.File.Type);
}
