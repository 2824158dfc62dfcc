// The pick worked out from the geometry against OpenGL's selection pass, and the batched drawing
// against one strip per element: both must give the same answers and the same picture.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "presentation/gl_ring.h"
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

    // Random window points, and points a fraction of a pixel round the corners and edges of bands.
    std::vector<std::array<float, 2>> PointsFor(QOXRing* ring, int randomCount, std::mt19937& random)
    {
        std::uniform_real_distribution<float> across(0.0f, static_cast<float>(kWidth));
        std::uniform_real_distribution<float> down(0.0f, static_cast<float>(kHeight));
        std::uniform_real_distribution<float> jitter(-0.75f, 0.75f);
        std::vector<std::array<float, 2>> points;
        for (int i = 0; i < randomCount; ++i)
            points.push_back({across(random), down(random)});
        std::vector<QRElement*> elements;
        std::function<void(QRElement*)> collect = [&](QRElement* element) {
            elements.push_back(element);
            if (element->IsFolder() && static_cast<QREFolder*>(element)->Expanded)
                static_cast<QREFolder*>(element)->ForEachChild(collect);
        };
        collect(ring->Root);
        for (int i = 0; i < randomCount / 4; ++i) {
            const QRElement* element = elements[random() % elements.size()];
            const float radius = i % 2 == 0 ? ring->InnerRadius(element->Level)
                                            : ring->InnerRadius(element->Level + 1) + GLRing::kPickOverlap;
            const auto point = WindowPoint(ring, radius, i % 3 == 0 ? element->EndAngle : element->StartAngle);
            points.push_back({static_cast<float>(point[0]) + 0.5f + jitter(random),
                              static_cast<float>(kHeight - point[1]) - 0.5f + jitter(random)});
        }
        return points;
    }

    void ExpectPicksAgree(QOXRing* ring, int randomCount)
    {
        std::mt19937 random(7);
        for (const RingSetting& setting : Settings()) {
            setting.Apply(ring);
            int hits = 0;
            int differences = 0;
            for (const auto& point : PointsFor(ring, randomCount, random)) {
                const QRElement* expected = Renderer->PickBySelection(ring, point[0], point[1]);
                const QRElement* found = Renderer->Pick(ring, point[0], point[1]);
                hits += expected != nullptr ? 1 : 0;
                if (found != expected && differences++ < 3)
                    ADD_FAILURE() << setting.Name << " at (" << point[0] << ", " << point[1] << "): "
                                  << (found != nullptr ? found->FullPath() : "none") << " instead of "
                                  << (expected != nullptr ? expected->FullPath() : "none");
            }
            EXPECT_EQ(differences, 0) << setting.Name;
            EXPECT_GT(hits, randomCount / 10) << setting.Name << ": the points must reach the ring";
        }
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

TEST_F(GLRingAgreementTest, PickMatchesTheSelectionPassOnADeepRing)
{
    QOXRing* ring = DeepRing(12);
    ExpectPicksAgree(ring, 600);
}

TEST_F(GLRingAgreementTest, PickMatchesTheSelectionPassOnAFlatRingOfThinSectors)
{
    QOXRing* ring = FlatRing(1500);
    ExpectPicksAgree(ring, 400);
}

TEST_F(GLRingAgreementTest, PickMatchesTheSelectionPassWithHiddenAndZeroWidthElements)
{
    QOXRing* ring = DeepRing(6);
    int i = 0;
    ring->Root->ForEachChild([&](QRElement* child) { child->Weight = i++ % 3 == 0 ? 0.0f : 1.0f; });
    ring->Relayout();
    auto* one = static_cast<QREFolder*>(ChildNamed(*ring->Root, "one/"));
    one->ForEachChild([&](QRElement* child) { child->Visible = i++ % 2 == 0; });
    ExpectPicksAgree(ring, 400);
}

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

} // namespace
