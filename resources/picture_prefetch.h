#pragma once
// Pictures decoded ahead on a worker thread while the window and the GL device start, so that the
// textures made at start-up find their pixels ready instead of inflating the files one after the
// other on the GUI thread. The worker only reads and decodes files; the GUI thread takes each
// picture once, and only while the file is still the one that was read (device, inode, size and
// modification time). A picture the worker has not begun is decoded by the taker itself, so no
// texture waits behind another picture's decoding.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_journal.h"
#include "resources/image_decoders.h"
#include "resources/resource_image.h"

struct QRPictureFile {
    std::string Path;
    ImageFileType Type = ImageFileType::Png;
};

class QRPicturePrefetch {
public:
    // The pictures start-up makes textures of, in the order it makes them: the fonts' folder
    // first, then the pictures folder, each in name order; `dataFolder` ends with a slash.
    static std::vector<QRPictureFile> StartUpPictures(const std::string& dataFolder);

    // Starts decoding `files` in their order.
    explicit QRPicturePrefetch(std::vector<QRPictureFile> files);
    // Stops after the picture under way and drops what was not taken.
    ~QRPicturePrefetch();
    QRPicturePrefetch(const QRPicturePrefetch&) = delete;
    QRPicturePrefetch& operator=(const QRPicturePrefetch&) = delete;

    // The decoded picture of `path` read as `type`, waiting while the worker decodes it; nothing
    // when it was not asked for, was taken before, has not been begun, or the file has changed
    // since it was read (the caller then reads the file itself).
    std::optional<DecodedImage> Take(const std::string& path, ImageFileType type);
    // Waits until the worker has read all it is going to, for a caller that would rather wait
    // than read a picture itself.
    void AwaitReadAhead();

private:
    enum class Stage { Waiting, Decoding, Ready, Taken };
    struct Entry {
        QRPictureFile File;
        Stage At = Stage::Waiting;
        DecodedImage Picture;
        platform::EntryIdentity Identity; // of the file the picture was read from
    };

    // The JPEG, TGA and PNG files directly inside `folder`, in name order.
    static std::vector<QRPictureFile> PicturesIn(const std::string& folder);
    void Run();
    Entry* NextWaiting();
    static void Decode(Entry& entry);

    std::mutex Lock;
    std::condition_variable Decoded;
    std::vector<Entry> Entries; // guarded by Lock
    bool Stopping = false;      // guarded by Lock
    bool WorkerDone = false;    // guarded by Lock
    std::thread Worker;         // last: starts once the rest exists
};
