// What is drawn is what is picked: over random trees in every state a ring goes through, the pick
// names the element whose band the picture shows at the point, every label starts on its own
// element's band, and an element without a sector is neither picked nor labelled. And the batched
// drawing against one strip per element: the same picture.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "ring/ring_layout.h"
#include "ring/ring_sizes.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/image_files.h"
#include "tests/support/ring_gl_fixture.h"

namespace {

struct RingSetting {
    std::string Name;
    std::function<void(QOXRing*)> Apply;
};

const std::vector<RingSetting>& Settings()
{
    static const std::vector<RingSetting> settings = {
        {"plain", [](QOXRing*) {}},
        {"zoomed in", [](QOXRing* ring) { ring->SetView({2.0f, -3.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 2.6f); }},
        {"far away", [](QOXRing* ring) { ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.45f); }},
        {"turned and moved",
         [](QOXRing* ring) {
             ring->SetView({5.0f, 4.0f, -10.0f}, {0.0f, 0.0f, 37.0f}, 1.3f);
             ring->BaseZoom = 0.8f;
         }},
        {"minimising",
         [](QOXRing* ring) {
             ring->MinimizeAnimation->MoveDirection = QRIteration::Forwards;
             ring->MinimizeAnimation->From = ring->MinimizeAnimation->To = 0.2f;
         }},
    };
    return settings;
}

class GLRingAgreementTest : public RingGLTest {
protected:
    // Pictures that change across the band, so that how each segment is split into triangles and
    // how its coordinates are laid shows in the picture.
    void SetUp() override
    {
        RingGLTest::SetUp();
        Pixels gradient;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                gradient.insert(gradient.end(), {static_cast<std::uint8_t>(x * 16), static_cast<std::uint8_t>(y * 16),
                                                 static_cast<std::uint8_t>(255 - x * 8)});
        for (const char* name : {"element", "root"})
            ProgramFolder.Write(std::string("textures/") + name + ".png", EncodePng(16, 16, 3, gradient));
        Renderer = QOXMake<GLRing>(nullptr);
        Renderer->Init();
        Renderer->Cursor = Cursor;
    }

    // Files of many sizes in the top folder and in expanded sub-folders two levels down.
    QOXRing* DeepRing(int filesPerFolder)
    {
        TheApp->Settings.ComputeFileSizeAutomatically = true;
        for (int f = 0; f < filesPerFolder; ++f) {
            const std::string name = "file" + std::to_string(f) + ".txt";
            Tree.File(name, static_cast<std::uintmax_t>(f * 37 % 500));
            Tree.File("one/" + name, static_cast<std::uintmax_t>(f * 11 % 300));
            Tree.File("one/two/" + name, static_cast<std::uintmax_t>(f % 7));
            Tree.File("three/" + name, 10);
        }
        Tree.MakeFolder("three/empty");
        QOXRing* ring = Open();
        auto* one = static_cast<QREFolder*>(ChildNamed(*ring->Root, "one/"));
        one->Expand();
        static_cast<QREFolder*>(ChildNamed(*one, "two/"))->Expand();
        static_cast<QREFolder*>(ChildNamed(*ring->Root, "three/"))->Expand();
        ring->Relayout();
        return ring;
    }

    QOXRing* FlatRing(int files)
    {
        for (int f = 0; f < files; ++f)
            Tree.File("entry_" + std::to_string(f), 1);
        return Open();
    }

    // The batched drawing, every element a band of its own and the labels as designed, against
    // one strip per element.
    void ExpectSamePictures(QOXRing* ring)
    {
        Renderer->Detail = GLRingDetail::Exact;
        Renderer->Labels = GLRingLabels::Plain;
        for (const RingSetting& setting : Settings()) {
            setting.Apply(ring);
            Renderer->Geometry = GLRingGeometry::Immediate;
            Draw(ring);
            const auto reference = Picture();
            Renderer->Geometry = GLRingGeometry::Batched;
            Draw(ring);
            const auto batched = Picture();
            int differing = 0;
            for (std::size_t i = 0; i < reference.size(); i += 4) {
                const bool same = std::equal(reference.begin() + i, reference.begin() + i + 4, batched.begin() + i);
                differing += same ? 0 : 1;
            }
            EXPECT_EQ(differing, 0) << setting.Name;
        }
    }
};

TEST_F(GLRingAgreementTest, BatchedDrawingGivesTheSamePictureOnADeepRing)
{
    QOXRing* ring = DeepRing(12);
    QRElement* hovered = ChildNamed(*ring->Root, "file3.txt");
    Renderer->HoverElement = hovered;
    hovered->Selected = true;
    GiveTypePicture(ChildNamed(*ring->Root, "file5.txt"), "typed", {40, 200, 90});
    ExpectSamePictures(ring);
}

TEST_F(GLRingAgreementTest, BatchedDrawingGivesTheSamePictureOnAFlatRingOfThinSectors)
{
    QOXRing* ring = FlatRing(3000);
    ring->Root->ForEachChild([](QRElement* child) {
        child->Colour = {(child->Name.size() % 3) * 0.4f, (child->Name.back() % 5) * 0.2f, 0.5f};
    });
    ExpectSamePictures(ring);
}

TEST_F(GLRingAgreementTest, ShadowsAgreeToo)
{
    QOXRing* ring = DeepRing(8);
    Renderer->Detail = GLRingDetail::Exact;
    for (GLRingGeometry geometry : {GLRingGeometry::Immediate, GLRingGeometry::Batched}) {
        Renderer->Geometry = geometry;
        ClearTo(0.0f, 0.0f, 0.0f);
        Renderer->DrawShadow(ring);
        static std::vector<std::uint8_t> first;
        if (geometry == GLRingGeometry::Immediate)
            first = Picture();
        else
            EXPECT_TRUE(first == Picture());
    }
}

// Random trees: sub-folders (some empty, some expanded), empty files and files of many sizes.
class GLRingPickTest : public RingGLTest {
protected:
    void SetUp() override
    {
        RingGLTest::SetUp();
        UseManualClock(1'000'000);
        TheApp->Settings.ComputeFileSizeAutomatically = true;
    }

    void MakeTree(std::mt19937& random, const std::string& folder, int depth)
    {
        const int entries = static_cast<int>(random() % 9) + (depth == 0 ? 4 : 0);
        for (int i = 0; i < entries; ++i) {
            const std::string name = folder + "/e" + std::to_string(Made++);
            const unsigned kind = random() % 6;
            if (kind == 0)
                Tree.MakeFolder(name + "_empty");
            else if (kind == 1 && depth < 3)
                MakeTree(random, name + "_dir", depth + 1);
            else if (kind == 2)
                Tree.File(name + ".nil", 0);
            else
                Tree.File(name + ".dat", random() % 300000);
        }
    }

    // A ring on a random tree of a folder of its own, with about half of its folders expanded.
    QOXRing* RandomRing(unsigned seed, const std::string& folder)
    {
        std::mt19937 random(seed);
        Made = 0;
        MakeTree(random, folder, 0);
        QOXRing* ring = Open(folder);
        ExpandSome(random, ring->Root);
        ring->Relayout();
        return ring;
    }

    void ExpandSome(std::mt19937& random, QREFolder* folder)
    {
        folder->ForEachChild([&](QRElement* child) {
            if (child->IsFolder() && random() % 2 == 0) {
                static_cast<QREFolder*>(child)->Expand();
                ExpandSome(random, static_cast<QREFolder*>(child));
            }
        });
    }

    // A frame of the rings as the program runs one: sizes counted and eased in, weights animated.
    void RingFrame()
    {
        EngineFrame(50);
        TheApp->UpdateRings(0.05f);
        TheApp->FollowDisk(0.05f);
    }

    static std::vector<QRElement*> Drawn(QOXRing* ring)
    {
        std::vector<QRElement*> drawn;
        auto visit = [&drawn](QRElement* element) { drawn.push_back(element); };
        ForEachDrawnElement(ring->Root, visit);
        return drawn;
    }

    // Each drawn element in a colour of its own (white pictures, nothing hovered or selected, no
    // labels), so that the picture names the element drawn at every pixel.
    std::vector<std::uint8_t> IdentityPicture(QOXRing* ring, const std::vector<QRElement*>& drawn)
    {
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const auto channel = [&](std::size_t shift) { return static_cast<float>((i / shift) % 60 * 4 + 8) / 255.0f; };
            drawn[i]->Colour = {channel(1), channel(60), channel(3600)};
            drawn[i]->Label.clear();
        }
        Draw(ring);
        return Picture();
    }

    // The element a pixel of the identity picture shows, or none for the background.
    static const QRElement* Shown(const std::vector<std::uint8_t>& picture, const std::vector<QRElement*>& drawn, int x,
                                  int y)
    {
        const std::uint8_t* pixel = &picture[(static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4];
        if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255)
            return nullptr;
        const auto index = [&](int c) { return static_cast<std::size_t>((pixel[c] - 8 + 2) / 4); };
        const std::size_t i = index(0) + 60 * index(1) + 3600 * index(2);
        return i < drawn.size() ? drawn[i] : drawn.front();
    }

    // How near, in pixels, the centre of the pixel lies to an edge of the element's band: the
    // rasteriser snaps vertices to a fraction of a pixel, so it may decide a centre closer than
    // that either way.
    double EdgeDistance(QOXRing* ring, const QRElement* element, int x, int y)
    {
        if (element == nullptr)
            return 1e9;
        glPushMatrix();
        Renderer->SetupRingTransform(ring, GLRingPass::Normal);
        const GLScreenBounds bounds;
        glPopMatrix();
        const GLBand band = GLRing::BandOf(ring, element);
        std::vector<GLPixelPoint> corners;
        std::vector<GLPixelPoint> outer;
        ForEachBandEdge(band.Start, band.Sector, band.Segments, [&](int, QXVector2 direction) {
            corners.push_back(*bounds.Project({direction.X * band.Inner, direction.Y * band.Inner}));
            outer.push_back(*bounds.Project({direction.X * band.Outer, direction.Y * band.Outer}));
        });
        corners.insert(corners.end(), outer.rbegin(), outer.rend());
        double nearest = 1e9;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const GLPixelPoint& a = corners[i];
            const GLPixelPoint& b = corners[(i + 1) % corners.size()];
            const double dx = b.X - a.X;
            const double dy = b.Y - a.Y;
            const double length = dx * dx + dy * dy;
            const double px = x + 0.5 - a.X;
            const double py = y + 0.5 - a.Y;
            const double t = length > 0.0 ? std::clamp((px * dx + py * dy) / length, 0.0, 1.0) : 0.0;
            nearest = std::min(nearest, std::hypot(px - t * dx, py - t * dy));
        }
        return nearest;
    }

    // Random points and the middle of every drawn band: the pick names what the picture shows.
    // Every label's start picks its own element, where the sector there is a few pixels wide.
    void ExpectPickShowsThePicture(QOXRing* ring, const std::string& state, std::mt19937& random)
    {
        const std::vector<QRElement*> drawn = Drawn(ring);
        for (const RingSetting& view : Settings()) {
            view.Apply(ring);
            const std::string where = state + ", " + view.Name;
            const std::vector<std::uint8_t> picture = IdentityPicture(ring, drawn);
            // Random pixels of the view, and random points over the ring and a little round it (at
            // whatever size it is shown).
            float reach = 0.0f;
            for (const QRElement* element : drawn)
                reach = std::max(reach, ring->InnerRadius(element->Level + 1) + 2.0f);
            std::uniform_real_distribution<float> radius(0.0f, reach);
            std::uniform_real_distribution<float> angle(0.0f, 360.0f);
            std::vector<std::array<int, 2>> pixels;
            for (int i = 0; i < 200; ++i) {
                pixels.push_back({static_cast<int>(random() % kWidth), static_cast<int>(random() % kHeight)});
                pixels.push_back(WindowPoint(ring, radius(random), angle(random)));
            }
            for (const QRElement* element : drawn) {
                const float middle = (ring->InnerRadius(element->Level) + ring->InnerRadius(element->Level + 1)) / 2.0f;
                pixels.push_back(WindowPoint(ring, middle, element->MidAngle()));
            }
            int hits = 0;
            int failures = 0;
            for (const auto& [x, y] : pixels) {
                if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
                    continue;
                const QRElement* shown = Shown(picture, drawn, x, y);
                const QRElement* picked = Renderer->Pick(ring, static_cast<float>(x) + 0.5f,
                                                         static_cast<float>(kHeight - 1 - y) + 0.5f);
                hits += shown != nullptr ? 1 : 0;
                if (picked == shown ||
                    std::min(EdgeDistance(ring, shown, x, y), EdgeDistance(ring, picked, x, y)) < 1.0 / 64.0)
                    continue;
                if (failures++ < 3)
                    ADD_FAILURE() << where << " at (" << x << ", " << y << "): picked "
                                  << (picked != nullptr ? picked->FullPath() : "none") << ", drawn "
                                  << (shown != nullptr ? shown->FullPath() : "none");
            }
            EXPECT_EQ(failures, 0) << where;
            EXPECT_GT(hits, 40) << where << ": the points must reach the ring";
            ExpectLabelsStartOnTheirBands(ring, drawn, where);
        }
    }

    void ExpectLabelsStartOnTheirBands(QOXRing* ring, const std::vector<QRElement*>& drawn, const std::string& where)
    {
        for (QRElement* element : drawn) {
            const float start = ring->InnerRadius(element->Level) + 0.9f;
            const auto from = WindowPoint(ring, start, element->StartAngle + 0.02f);
            const auto to = WindowPoint(ring, start, element->EndAngle - 0.02f);
            if (!QRLayout::HasSector(*element) || std::hypot(to[0] - from[0], to[1] - from[1]) < 4.0)
                continue;
            const auto anchor = WindowPoint(ring, start, element->MidAngle());
            if (anchor[0] < 0 || anchor[1] < 0 || anchor[0] >= kWidth || anchor[1] >= kHeight)
                continue;
            EXPECT_EQ(Renderer->Pick(ring, static_cast<float>(anchor[0]) + 0.5f,
                                     static_cast<float>(kHeight - 1 - anchor[1]) + 0.5f),
                      element)
                << where << ": the label of " << element->FullPath();
        }
    }

    // Elements without a sector print no label, plain or readable: with every band blue and only
    // those labels red, no pixel is red.
    void ExpectNoLabelsWithoutSectors(QOXRing* ring, const std::string& state)
    {
        int sectorless = 0;
        for (QRElement* element : Drawn(ring)) {
            element->Colour = {0.0f, 0.0f, 1.0f};
            element->Tint = QRLayout::HasSector(*element) ? QXColor{0.0f, 0.0f, 0.0f} : QXColor{1.0f, 0.0f, 0.0f};
            element->UpdateLabel();
            sectorless += QRLayout::HasSector(*element) ? 0 : 1;
        }
        ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.0f);
        for (const GLRingLabels labels : {GLRingLabels::Plain, GLRingLabels::Readable}) {
            Renderer->Labels = labels;
            Draw(ring);
            const std::vector<std::uint8_t> picture = Picture();
            int red = 0;
            for (std::size_t i = 0; i < picture.size(); i += 4)
                red += picture[i] > 40 && picture[i + 1] < 40 ? 1 : 0;
            EXPECT_EQ(red, 0) << state << ": " << sectorless << " elements without a sector";
        }
    }

    // Every expanded folder's children with a sector follow one another without a gap or an
    // overlap, from the folder's start to its end, bit for bit; and no file that can have a label
    // has a larger scale than its folder promises the label pass.
    static void ExpectChildrenTileTheirFolders(QOXRing* ring, const std::string& state)
    {
        auto check = [&](QRElement* element) {
            if (!element->IsFolder() || !QRLayout::HasSector(*element))
                return;
            const auto* folder = static_cast<const QREFolder*>(element);
            if (!folder->Expanded)
                return;
            float edge = folder->StartAngle;
            bool any = false;
            folder->ForEachChild([&](const QRElement* child) {
                if (!child->Visible || !QRLayout::HasSector(*child))
                    return;
                EXPECT_EQ(child->StartAngle, edge) << state << ": " << child->FullPath();
                if (!child->IsFolder()) {
                    EXPECT_LE(child->Scale, folder->LargestFileScale) << state << ": " << child->FullPath();
                }
                edge = child->EndAngle;
                any = true;
            });
            if (any) {
                EXPECT_EQ(edge, folder->EndAngle) << state << ": " << folder->FullPath();
            }
        };
        ForEachDrawnElement(ring->Root, check);
    }

    int Made = 0;
    int Trees = 0;
};

struct RingState {
    std::string Name;
    // Brings the random ring into the state; sampled at once afterwards.
    std::function<void(QOXRing*)> Reach;
};

TEST_F(GLRingPickTest, ThePickNamesWhatIsDrawnInEveryStateOfARandomRing)
{
    const std::vector<RingState> states = {
        {"sizes unset", [this](QOXRing* ring) {
             TheApp->Settings.ComputeFileSizeAutomatically = false;
             ring->Refresh();
         }},
        {"file sizes, folder sizes unset", [](QOXRing*) {}},
        {"counted totals in, weights half-way", [this](QOXRing* ring) {
             TheApp->Settings.CountFolderSizesInBackground = true;
             const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
             do {
                 RingFrame();
                 std::this_thread::sleep_for(std::chrono::milliseconds(2));
             } while ((ring->Sizes == nullptr || ring->Sizes->Progress().Busy) && std::chrono::steady_clock::now() < deadline);
             for (int frame = 0; frame < 20; ++frame)
                 RingFrame();
             ring->Root->ForEachChild([](QRElement* child) {
                 if (child->IsFolder())
                     static_cast<QREFolder*>(child)->ToggleExpanded();
             });
             RingFrame();
             RingFrame();
         }},
        {"folders of no weight and hidden entries", [](QOXRing* ring) {
             int i = 0;
             ring->Root->ForEachChild([&](QRElement* child) {
                 if (child->IsFolder() && i % 3 == 0)
                     static_cast<QREFolder*>(child)->AnimatedWeight = 0.0f;
                 child->Visible = i++ % 4 != 1;
             });
             ring->Root->Place(1, 360.0f, 0.0f);
         }},
        {"entries added, not laid out yet", [this](QOXRing* ring) {
             const std::string folder = ring->Folder.substr(Tree.Root().size());
             for (int i = 0; i < 3; ++i) {
                 Tree.File(folder + "zz_new" + std::to_string(i) + ".dat", 5000);
                 Tree.MakeFolder(folder + "a_new" + std::to_string(i));
             }
             ring->Root->RefreshEntries(QRRefreshDepth::FolderOnly);
         }},
        {"counted totals easing in", [this](QOXRing* ring) {
             TheApp->Settings.CountFolderSizesInBackground = true;
             for (int frame = 0; frame < 400; ++frame) {
                 RingFrame();
                 bool easing = false;
                 ring->Root->ForEachChild([&](QRElement* child) {
                     easing = easing || (child->IsFolder() && ring->Sizes != nullptr &&
                                         ring->Sizes->BlendOf(*static_cast<QREFolder*>(child)) != nullptr);
                 });
                 if (easing || (ring->Sizes != nullptr && ring->Sizes->BlendOf(*ring->Root) != nullptr))
                     return;
                 std::this_thread::sleep_for(std::chrono::milliseconds(5));
             }
             ADD_FAILURE() << "no counted total arrived";
         }},
    };
    for (unsigned seed : {3u, 11u}) {
        std::mt19937 random(seed);
        for (const RingState& state : states) {
            SCOPED_TRACE(state.Name + ", tree " + std::to_string(seed));
            TearDown();
            SetUp();
            QOXRing* ring = RandomRing(seed, "tree" + std::to_string(Trees++));
            state.Reach(ring);
            ExpectChildrenTileTheirFolders(ring, state.Name);
            ExpectPickShowsThePicture(ring, state.Name, random);
            ExpectNoLabelsWithoutSectors(ring, state.Name);
        }
    }
}

// Size true with small items gathered: the middle of every drawn band, the small-items sectors
// and the free space among them, picks that element, and a gathered element is never picked.
TEST_F(GLRingPickTest, SizeTrueRingsPickEveryDrawnSectorAndTheSmallItems)
{
    TheApp->Settings.SizeTrueRings = true;
    QOXRing* ring = RandomRing(5, "tree");
    for (int i = 0; i < 30; ++i)
        Tree.File("tree/tiny" + std::to_string(i), 1);
    ring->Root->RefreshEntries(QRRefreshDepth::FolderOnly);
    ring->PixelsPerUnit = GLRing::PixelsPerUnit(*ring, kHeight);
    ring->Relayout();
    const std::vector<QRElement*> drawn = Drawn(ring);
    int small = 0;
    int gathered = 0;
    for (const QRElement* element : drawn) {
        if (!QRLayout::HasSector(*element)) {
            gathered += QRLayout::IsGathered(*element) ? 1 : 0;
            continue;
        }
        small += element->IsSummary() ? 1 : 0;
        const float middle = (ring->InnerRadius(element->Level) + ring->InnerRadius(element->Level + 1)) / 2.0f;
        const auto point = WindowPoint(ring, middle, element->MidAngle());
        const QRElement* picked =
            Renderer->Pick(ring, static_cast<float>(point[0]) + 0.5f, static_cast<float>(kHeight - 1 - point[1]) + 0.5f);
        if (element->EndAngle - element->StartAngle > 0.5f) {
            EXPECT_EQ(picked, element) << element->FullPath() << " picked " << (picked ? picked->FullPath() : "none");
        }
        EXPECT_TRUE(picked == nullptr || !QRLayout::IsGathered(*picked));
    }
    EXPECT_GE(small, 1);
    EXPECT_GE(gathered, 30);
}

} // namespace
