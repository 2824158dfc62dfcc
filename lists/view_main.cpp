#include "lists/view_main.h"

#include "engine/file_file.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/script_parser.h"
#include "lists/list_file.h"

namespace {

constexpr std::size_t kKeyWidth = 16;
const char* const kFileTitle = "Views";

// Replaces each colour component whose token is a number; the others keep their value.
void ReadColour(const QOXParser& line, QXColor& colour)
{
    float* components[] = {&colour.X, &colour.Y, &colour.Z};
    for (int i = 0; i < 3; ++i) {
        if (QOXConvert::IsFloat(line.GetToken(i + 1)))
            *components[i] = line.GetFloat(i + 1);
    }
}

// Extensions are written bare, as the format has them; one that holds a separator or is empty
// is quoted so that it reads back whole.
std::string ExtensionText(const std::string& extension)
{
    const bool bare = !extension.empty() && extension.find_first_of(" \t(),;{}") == std::string::npos;
    return bare ? extension : lists::Quoted(extension);
}

bool IsWritable(const QVGeneric& view)
{
    if (!lists::IsWritable(view.GetName())) {
        lists::ReportLeftOut("the views file", "view name", view.GetName());
        return false;
    }
    if (!lists::IsWritable(view.Texture)) {
        lists::ReportLeftOut("the views file", "texture name", view.Texture);
        return false;
    }
    for (const std::string& extension : view.Extensions().Lines) {
        if (!lists::IsWritable(extension)) {
            lists::ReportLeftOut("the views file", "extension", extension);
            return false;
        }
    }
    return true;
}

} // namespace

QOXViewEngine::QOXViewEngine(QOXObject* parent) : QOXObject(parent, "QOX View Engine") {}

QVGeneric* QOXViewEngine::AddView(const std::string& name)
{
    return Views.Add(QOXNew<QVGeneric>(this, name));
}

QVGeneric* QOXViewEngine::GetView(int index) const
{
    return Views.Get(index);
}

void QOXViewEngine::DeleteView(int index)
{
    Views.Delete(index);
}

void QOXViewEngine::SwapViews(int first, int second)
{
    Views.Swap(first, second);
}

void QOXViewEngine::Clear()
{
    Views.Clear();
}

QVGeneric* QOXViewEngine::FindView(const std::string& extension, ViewScope scope) const
{
    const std::string wanted = lists::LowerCase(CutText(extension, kStringName));
    for (QVGeneric* view : Views) {
        if ((view->Enabled || scope == ViewScope::IncludeDisabled) && view->HasExtension(wanted))
            return view;
    }
    return nullptr;
}

int QOXViewEngine::EnabledCount() const
{
    int count = 0;
    for (const QVGeneric* view : Views)
        count += view->Enabled ? 1 : 0;
    return count;
}

void QOXViewEngine::EnableOnly(QVGeneric* view)
{
    for (QVGeneric* other : Views)
        other->Enabled = other == view;
}

void QOXViewEngine::DisplayChanged()
{
    if (Display != nullptr)
        Display->ApplyDisplayChange();
}

void QOXViewEngine::Load(const std::string& name)
{
    Clear();
    const std::string path = Engine()->FileSystem->MakeConfigPath(name, "ini");
    const auto read = [this](lists::ListFileReader& reader) { ReadView(reader); };
    if (lists::LoadBlocks(path, kFileTitle, "VIEW", read) == lists::ListFileRead::Refused)
        Clear();
}

void QOXViewEngine::ReadView(lists::ListFileReader& reader)
{
    QVGeneric* view = AddView("NEW VIEW");
    reader.ReadBlock([&](const QOXParser& line) {
        if (line.TokenEquals(0, "NAME"))
            view->SetName(line.GetToken(1));
        else if (line.TokenEquals(0, "COLOR"))
            ReadColour(line, view->Colour);
        else if (line.TokenEquals(0, "TEXTURE"))
            view->SetTexture(line.GetToken(1));
        else if (line.TokenEquals(0, "ENABLED"))
            view->Enabled = line.GetBool(1);
        else if (line.IsBlockStart("EXTENSIONS"))
            reader.ReadBlock([&](const QOXParser& extension) {
                if (!extension.IsEmpty())
                    view->AddExtension(extension.GetToken(0));
            });
    });
}

void QOXViewEngine::Save(const std::string& name, lists::ListFileSave mode) const
{
    lists::SaveListFile(Engine()->FileSystem->MakeConfigPath(name, "ini"), kFileTitle, [this](QOXFile& file) {
        file.WriteLine("");
        file.WriteLine("");
        for (const QVGeneric* view : Views) {
            if (IsWritable(*view))
                WriteView(file, *view);
        }
    }, mode);
}

std::vector<QVViewState> QOXViewEngine::Snapshot() const
{
    std::vector<QVViewState> views;
    for (const QVGeneric* view : Views)
        views.push_back({view->GetName(), view->Colour, view->Extensions(), view->Texture, view->Enabled});
    return views;
}

void QOXViewEngine::Restore(const std::vector<QVViewState>& views)
{
    Clear();
    for (const QVViewState& state : views) {
        QVGeneric* view = AddView(state.Name);
        view->Colour = state.Colour;
        view->SetExtensions(state.Extensions.Lines);
        view->Enabled = state.Enabled;
        view->SetTexture(state.Texture);
    }
}

void QOXViewEngine::WriteView(QOXFile& file, const QVGeneric& view) const
{
    file.WriteLine("VIEW {");
    file.WriteLine(lists::KeyLine("NAME", lists::Quoted(view.GetName()), kKeyWidth));
    file.WriteLine(lists::KeyLine("COLOR", QOXConvert::VectorToStr(view.Colour), kKeyWidth));
    file.WriteLine(lists::KeyLine("TEXTURE", lists::Quoted(view.Texture), kKeyWidth));
    file.WriteLine(lists::KeyLine("ENABLED", QOXConvert::BoolToStr(view.Enabled), kKeyWidth));
    file.WriteLine("  EXTENSIONS {");
    for (const std::string& extension : view.Extensions().Lines)
        file.WriteLine("    " + ExtensionText(extension));
    file.WriteLine("  }");
    file.WriteLine("}");
    file.WriteLine("");
}

void QOXViewEngine::BeforeDestroy()
{
    Save("views");
    Clear();
}
