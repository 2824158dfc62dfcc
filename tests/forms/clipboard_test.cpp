// The clipboard shared with other programs, through the real main window and a second program on
// the same X server: what it copies or cuts is pasted here, what is copied or cut here it reads,
// and a paste takes whichever clipboard was filled last.
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "platform/file_clipboard.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/display_events.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kWaitMilliseconds = 10000;

// Names that break careless URL handling: spaces, line breaks, bytes that are not UTF-8, "#", "%".
const std::vector<std::string> kOddNames{"a b.txt", "line\nbreak", "bin\xFF\xFE", "hash#1", "100%25%", "\xC3\xA9t\xC3\xA9"};

// The peer program; this process keeps answering the window system while it runs, since one of
// the two serves the clipboard to the other.
class ClipboardPeer {
public:
    // Puts the files on the clipboard as `kind` says and holds it until destroyed.
    ClipboardPeer(const char* kind, const std::vector<std::string>& paths)
    {
        QStringList arguments{"put", kind};
        for (const std::string& path : paths)
            arguments << QString::fromLatin1(QByteArray::fromStdString(path).toHex());
        Process.start(ORBIVANE_CLIPBOARD_PEER, arguments);
        const QDeadlineTimer deadline(kWaitMilliseconds);
        while (!Process.canReadLine() && Process.state() != QProcess::NotRunning && !deadline.hasExpired())
            Serve(Process);
        EXPECT_EQ(Process.readLine().trimmed(), "ready");
        // This process learns from the window system that the clipboard has changed hands, as it
        // would while the user goes from the other program's window to ours.
        EXPECT_TRUE(QTest::qWaitFor(AnotherProgramOffers, kWaitMilliseconds));
    }
    // Once the peer has gone, so has what it offered.
    ~ClipboardPeer()
    {
        Process.closeWriteChannel();
        RunToEnd(Process);
        EXPECT_TRUE(QTest::qWaitFor([] { return !AnotherProgramOffers(); }, kWaitMilliseconds));
    }

    // What the peer reads from the clipboard now.
    static platform::MimePayloads Read()
    {
        QProcess reader;
        reader.start(ORBIVANE_CLIPBOARD_PEER, {"read"});
        RunToEnd(reader);
        platform::MimePayloads payloads;
        for (const QByteArray& line : reader.readAllStandardOutput().split('\n')) {
            const auto words = line.split(' ');
            if (words.size() == 2)
                payloads[words[0].toStdString()] = QByteArray::fromHex(words[1]).toStdString();
        }
        return payloads;
    }

private:
    static bool AnotherProgramOffers()
    {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        return !clipboard->ownsClipboard() && clipboard->mimeData() != nullptr && !clipboard->mimeData()->formats().isEmpty();
    }
    static void Serve(QProcess& process)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        process.waitForReadyRead(10);
    }
    static void RunToEnd(QProcess& process)
    {
        const QDeadlineTimer deadline(kWaitMilliseconds);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            process.waitForFinished(10);
        }
        EXPECT_EQ(process.state(), QProcess::NotRunning);
    }

    QProcess Process;
};

class ClipboardForm : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Settings.CountFolderSizesInBackground = false; // sectors stay where they were clicked
    }

    // Files named as the odd names in `folder`, each holding its own name.
    std::vector<std::string> OddFiles(const std::string& folder) const
    {
        std::vector<std::string> paths;
        for (const std::string& name : kOddNames)
            paths.push_back(Write(folder + name, name));
        return paths;
    }
    std::string Write(const std::string& relative, const std::string& content) const
    {
        const std::string path = Tree.PathOf(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    QRElement* Element(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
    void ClickElement(const std::string& name)
    {
        ASSERT_NE(Element(name), nullptr) << name;
        Settle();
        Click(ViewPointOf(Element(name)));
        Settle();
    }
    // The element selected alone and current, as a click leaves it, without waiting for the ring
    // to turn to it.
    void Choose(const std::string& name) const
    {
        QRElement* element = Element(name);
        ASSERT_NE(element, nullptr) << name;
        App()->DeselectAllRings();
        element->Selected = true;
        App()->TheCursor->SetCurrent(element);
    }
    // Pastes into `folder` from the Edit menu.
    void PasteInto(const std::string& folder)
    {
        Choose(folder);
        Item("Paste1")->trigger();
    }
};

// A copy there is copied here; a cut there, in either desktop's way of saying so, moves here and
// leaves an empty clipboard. Every odd name arrives byte for byte.
TEST_F(ClipboardForm, PasteTakesWhatAnotherProgramCopiedOrCut)
{
    struct Case {
        const char* Kind;
        bool Moves;
    };
    const std::vector<Case> cases{{"uri-copy", false}, {"gnome-cut", true}, {"kde-cut", true}};
    for (const Case& test : cases)
        Tree.MakeFolder(std::string("to-") + test.Kind + "/");
    Start();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Kind);
        const std::string target = std::string("to-") + test.Kind + "/";
        const std::vector<std::string> sources = OddFiles(std::string("from-") + test.Kind + "/");
        {
            ClipboardPeer peer(test.Kind, sources);
            PasteInto(target);
            EXPECT_EQ(ClipboardPeer::Read().empty(), test.Moves);
        }
        for (std::size_t i = 0; i < kOddNames.size(); ++i) {
            EXPECT_EQ(Read(Tree.PathOf(target + kOddNames[i])), kOddNames[i]);
            EXPECT_EQ(std::filesystem::exists(sources[i]), !test.Moves);
        }
    }
}

// Another program reads what Cut and Copy put on the clipboard: the URL list, the GNOME list with
// the command on its first line, and after a cut the KDE marker.
TEST_F(ClipboardForm, AnotherProgramReadsWhatIsCutOrCopiedHere)
{
    Tree.File("here/pad", 1 << 20); // big enough to be clicked
    const std::vector<std::string> paths = OddFiles("here/");
    Start();
    ClickElement("here/");
    auto* here = static_cast<QREFolder*>(Element("here/"));
    here->Selected = false;
    const std::string pad = Tree.PathOf("here/pad");
    here->ForEachChild([&](QRElement* child) { child->Selected = child->FullPath() != pad; });
    struct Case {
        const char* Item;
        const char* FirstLine;
        platform::ClipboardKind Kind;
    };
    for (const Case& test : {Case{"Copy1", "copy", platform::ClipboardKind::Copy}, Case{"Cut1", "cut", platform::ClipboardKind::Cut}}) {
        SCOPED_TRACE(test.Item);
        Item(test.Item)->trigger();
        const platform::MimePayloads payloads = ClipboardPeer::Read();
        const std::string& gnome = payloads.at(platform::kGnomeFilesFormat);
        EXPECT_EQ(gnome.substr(0, gnome.find('\n')), test.FirstLine);
        EXPECT_EQ(payloads.contains(platform::kKdeCutFormat), test.Kind == platform::ClipboardKind::Cut);
        std::optional<platform::ClipboardFiles> files = platform::FilesOfPayloads(payloads);
        ASSERT_TRUE(files);
        std::sort(files->Paths.begin(), files->Paths.end());
        std::vector<std::string> expected = paths;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(files->Paths, expected);
        EXPECT_EQ(files->Kind, test.Kind);
    }
}

// Paste takes our marks while the clipboard still holds what we put there, and another program's
// files once it has put some there since; text put there leaves our marks in force.
TEST_F(ClipboardForm, PasteTakesTheNewerOfOursAndTheirs)
{
    struct Case {
        const char* Name;
        bool TheirsLast;
        const char* TheirKind;
        const char* Pasted;
    };
    const std::vector<Case> cases{
        {"ours, then their files", true, "uri-copy", "theirs.txt"},
        {"their files, then ours", false, "uri-copy", "mine.txt"},
        {"ours, then their text", true, "text", "mine.txt"},
    };
    Tree.File("mine.txt", 4);
    const std::string theirs = Write("elsewhere/theirs.txt", "theirs");
    for (std::size_t i = 0; i < cases.size(); ++i)
        Tree.MakeFolder("to-" + std::to_string(i) + "/");
    Start();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& test = cases[i];
        SCOPED_TRACE(test.Name);
        const auto copyMine = [this] {
            Choose("mine.txt");
            // The user comes back to our window: the clipboard goes to the newest claim, by the
            // server's time of the events behind it.
            PlayOnDisplay(PointerTo(GLView()->mapToGlobal(QPoint(10, 10))));
            Item("Copy1")->trigger();
            EXPECT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->ownsClipboard(); }, kWaitMilliseconds));
        };
        if (test.TheirsLast)
            copyMine();
        ClipboardPeer peer(test.TheirKind, {theirs});
        if (!test.TheirsLast)
            copyMine();
        const std::string target = "to-" + std::to_string(i) + "/";
        PasteInto(target);
        for (const char* name : {"mine.txt", "theirs.txt"})
            EXPECT_EQ(std::filesystem::exists(Tree.PathOf(target + name)), std::string(name) == test.Pasted) << name;
    }
}

} // namespace
