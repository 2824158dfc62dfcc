#include "lists/view_generic.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "lists/view_main.h"
#include "resources/resource_texture.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/image_files.h"

namespace {

using ViewTextureTest = GLTest;

TEST_F(ViewTextureTest, SetTextureLoadsTheViewsTextureAndFreesTheOldOne)
{
    ProgramFolder.Write("textures/views/photo.png", EncodePng(2, 2, 3, Filled(2, 2, {255, 0, 0})));
    ProgramFolder.Write("textures/views/music.tga", EncodeTga(2, 2, 24, Filled(2, 2, {0, 0, 255})));
    auto views = QOXMake<QOXViewEngine>(nullptr);
    QVGeneric* view = views->AddView("Photos");

    view->SetTexture("textures/views/photo");
    ASSERT_NE(view->TextureResource, nullptr);
    EXPECT_TRUE(view->TextureResource->IsLoaded());
    EXPECT_EQ(view->TextureResource->GetParent(), view);
    const unsigned photo = view->TextureResource->GLName;

    view->SetTexture("textures/views/music");
    EXPECT_FALSE(glIsTexture(photo));
    EXPECT_EQ(view->TextureResource->GetName(), "textures/views/music");

    const unsigned music = view->TextureResource->GLName;
    view->SetTexture("");
    EXPECT_EQ(view->TextureResource, nullptr);
    EXPECT_EQ(view->Texture, "");
    EXPECT_FALSE(glIsTexture(music));
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST_F(ViewTextureTest, AMissingViewTextureIsReportedAndTheViewKeepsItsName)
{
    auto views = QOXMake<QOXViewEngine>(nullptr);
    QVGeneric* view = views->AddView("Music");
    view->SetTexture("textures/views/none");
    EXPECT_EQ(view->Texture, "textures/views/none");
    ASSERT_NE(view->TextureResource, nullptr);
    EXPECT_FALSE(view->TextureResource->IsLoaded());
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "QX_FILE: File \"textures/views/none\" not found!");
}

} // namespace
