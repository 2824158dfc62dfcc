#include "resources/resource_main.h"

#include <gtest/gtest.h>

#include "engine/qox_file.h"
#include "tests/support/engine_fixture.h"

namespace {

const ResourceKind kTextureLike{"RESOURCE TEXTURE", "Creating Texture: ", "Deleting Texture: ",
                                ResourceKind::Naming::RelativeName};
const ResourceKind kImageLike{"RESOURCE IMAGE", "Creating Image: ", "Deleting Image: ",
                              ResourceKind::Naming::FileNameOnly};

// A resource whose data is a flag, to watch the load convention.
class FlagResource : public QOXResource {
    QOX_CLASS(FlagResource)
public:
    FlagResource(QOXObject* owner, const ResourceKind& kind) : QOXResource(owner, kind) {}
    void Load(const std::string& fileName) override
    {
        BeginLoad(fileName);
        HoldsData = true;
        FinishLoad();
    }
    bool HoldsData = false;

protected:
    void ReleaseData() override { HoldsData = false; }
};

TEST_F(EngineTest, LoadingTwiceLogsTheUnloadBetweenAndTakesTheRelativeName)
{
    auto texture = QOXMake<FlagResource>(nullptr, kTextureLike);
    const std::string file = TheEngine->FileSystem->TexturesPath + "element.bmp";
    texture->Load(file);
    texture->Load(file);
    EXPECT_TRUE(texture->IsLoaded());
    EXPECT_EQ(texture->FileName, file);
    texture.reset();
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{
                                 "Creating Texture: \"textures/element\"",
                                 "Deleting Texture: \"textures/element\"",
                                 "Creating Texture: \"textures/element\"",
                                 "Deleting Texture: \"textures/element\"",
                             }));
}

TEST_F(EngineTest, NeverLoadedResourceWritesNoUnloadLineAndImagesTakeTheFileName)
{
    auto never = QOXMake<FlagResource>(nullptr, kImageLike);
    never.reset();
    EXPECT_TRUE(NewLogLines().empty());

    auto image = QOXMake<FlagResource>(nullptr, kImageLike);
    image->Load("/somewhere/pictures/sky.png");
    EXPECT_EQ(image->GetName(), "sky.png");
    image->Unload();
    EXPECT_FALSE(image->HoldsData);
    EXPECT_FALSE(image->IsLoaded());
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Creating Image: \"sky.png\"", "Deleting Image: \"sky.png\""}));
}

} // namespace
