#include "ring/element_file.h"

#include <gtest/gtest.h>

#include "lists/view_main.h"
#include "tests/support/app_fixture.h"

namespace {

class ViewMatchingTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Tree.File("photo.JPG", 1);
        Tree.File("scan.jpg", 1);
        Tree.File(".thumb.jpg", 1);
        Tree.File("notes.txt", 1);
        Tree.File("README", 1);
        Pictures = TheApp->Views->AddView("Pictures");
        Pictures->Colour = {1.0f, 0.0f, 0.0f};
        Pictures->AddExtension("jpg");
        Ring = Open();
    }
    QREFile* File(const std::string& name) const { return static_cast<QREFile*>(ChildNamed(*Ring->Root, name)); }

    QVGeneric* Pictures = nullptr; // owned by the view engine
    QOXRing* Ring = nullptr;       // owned by the application
};

TEST_F(ViewMatchingTest, AnActiveViewHidesEveryFileOutsideIt)
{
    ASSERT_TRUE(Settings().DisplayUnboundElements);
    for (const char* name : {"photo.JPG", "scan.jpg", ".thumb.jpg"}) {
        EXPECT_EQ(File(name)->View, Pictures) << name;
        EXPECT_EQ(File(name)->Colour, Pictures->Colour) << name;
        EXPECT_TRUE(File(name)->Visible) << name;
    }
    for (const char* name : {"notes.txt", "README"}) {
        EXPECT_EQ(File(name)->View, nullptr) << name;
        EXPECT_EQ(File(name)->Colour, TheApp->FileColour) << name;
        EXPECT_FALSE(File(name)->Visible) << name;
    }
    EXPECT_FLOAT_EQ(SectorOf(File("scan.jpg")), 120.0f);
}

TEST_F(ViewMatchingTest, WithNoViewOnUnboundFilesFollowTheSetting)
{
    Pictures->Toggle(ViewSelection::Multiple); // off; the application lays the rings out again
    EXPECT_FALSE(TheApp->Views->AnyEnabled());
    EXPECT_EQ(File("scan.jpg")->View, Pictures); // still coloured by the first view listing it
    EXPECT_TRUE(File("notes.txt")->Visible);
    EXPECT_FLOAT_EQ(SectorOf(File("notes.txt")), 72.0f);
    EXPECT_FALSE(Window.BusyCalls.empty());

    Settings().DisplayUnboundElements = false;
    TheApp->ApplyDisplayChange();
    EXPECT_FALSE(File("notes.txt")->Visible);
    EXPECT_TRUE(File("scan.jpg")->Visible);
}

TEST_F(ViewMatchingTest, HiddenFilesFollowTheirOwnSettingEvenWhenMatched)
{
    EXPECT_EQ(File(".thumb.jpg")->Tint, QRElement::kHiddenTint);
    Settings().DisplayHiddenFiles = false;
    TheApp->ApplyDisplayChange();
    EXPECT_FALSE(File(".thumb.jpg")->Visible);
    EXPECT_EQ(File(".thumb.jpg")->View, Pictures);
    EXPECT_FLOAT_EQ(SectorOf(File("scan.jpg")), 180.0f);
}

TEST_F(ViewMatchingTest, StoredExtensionsAreComparedAsWritten)
{
    TheApp->Views->Clear();
    QVGeneric* upper = TheApp->Views->AddView("Upper");
    upper->SetExtensions({"JPG"});
    TheApp->ApplyDisplayChange();
    EXPECT_EQ(File("photo.JPG")->View, nullptr);
    EXPECT_FALSE(File("photo.JPG")->Visible);
}

} // namespace
