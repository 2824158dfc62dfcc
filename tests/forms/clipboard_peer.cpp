// Another program on the same display, for the tests of the clipboard shared with the desktop.
//   clipboard_peer put KIND HEXPATH...  puts the files (paths in hex, so that any byte travels) on
//       the clipboard as another file manager would, says "ready", and serves the clipboard until
//       its input closes. KIND: "uri-copy" (a URL list alone), "gnome-cut" (the GNOME list
//       alone), "kde-cut" (a URL list and the KDE marker), "text" (no file, just text).
//   clipboard_peer read  prints each file format on the clipboard as "FORMAT HEX", one a line.
// Its URLs are escaped its own way, leaving the sub-delimiters a URL allows as they are.
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

QByteArray FileUrl(const QByteArray& path)
{
    return "file://" + path.toPercentEncoding("/!$&'()*+,;=:@");
}

QMimeData* FilesAs(const char* kind, int count, char** hexPaths)
{
    QByteArray uriList;
    QByteArray gnome = std::strcmp(kind, "gnome-cut") == 0 ? "cut" : "copy";
    for (int i = 0; i < count; ++i) {
        const QByteArray url = FileUrl(QByteArray::fromHex(hexPaths[i]));
        uriList += url + "\r\n";
        gnome += "\n" + url;
    }
    auto* data = new QMimeData();
    if (std::strcmp(kind, "text") == 0)
        data->setData("text/plain", "not a file");
    else if (std::strcmp(kind, "gnome-cut") == 0)
        data->setData("x-special/gnome-copied-files", gnome);
    else
        data->setData("text/uri-list", uriList);
    if (std::strcmp(kind, "kde-cut") == 0)
        data->setData("application/x-kde-cutselection", "1");
    return data;
}

void PrintFileFormats()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    for (const char* format : {"text/uri-list", "x-special/gnome-copied-files", "application/x-kde-cutselection"}) {
        if (data != nullptr && data->hasFormat(format))
            std::printf("%s %s\n", format, data->data(format).toHex().constData());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "read") == 0) {
        PrintFileFormats();
        return 0;
    }
    if (argc < 3 || std::strcmp(argv[1], "put") != 0)
        return 2;
    QGuiApplication::clipboard()->setMimeData(FilesAs(argv[2], argc - 3, argv + 3));
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            QGuiApplication::quit();
    });
    return QGuiApplication::exec();
}
