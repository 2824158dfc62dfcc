// The info box: what the element under the pointer is, with its drive, file or folder lines, fading
// out once it has been shown for the set duration.
#include <algorithm>
#include <cmath>

#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "platform/date_text.h"
#include "platform/volumes.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_file.h"
#include "ring/element_folder.h"
#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/ring_growth.h"
#include "ring/ring_sizes.h"
#include "ring/size_text.h"

namespace {

constexpr QXColor kWhite{1.0f, 1.0f, 1.0f};
constexpr float kTextSize = 1.2f;
constexpr float kTitleRoom = 220.0f;
constexpr float kLineHeight = 20.0f;
constexpr float kBoxMargin = 20.0f;

// The "Info:" line, only for an element with an attribute.
void AddAttributeLine(std::vector<GLInfoLine>& lines, float right, float top, const std::string& attributes)
{
    if (attributes.empty())
        return;
    lines.push_back({right - 230.0f, top + 130.0f, "Info:"});
    lines.push_back({right - 180.0f, top + 130.0f, attributes});
}

// "3 unreadable folders", "1 other volume": a count with its noun, added only when not 0.
void AddCountedItem(std::vector<std::string>& items, std::int64_t count, const std::string& noun)
{
    if (count > 0)
        items.push_back(QOXConvert::IntToStr(count) + " " + noun + (count == 1 ? "" : "s"));
}

// What a folder's total leaves out, so that a total short of the disk's use is explained.
std::vector<std::string> NotCounted(const QRFolderCount& count)
{
    std::vector<std::string> items;
    if (count.State == QRCountState::Link)
        items.push_back("a link, not followed");
    if (count.State == QRCountState::BehindLink)
        items.push_back("reached through a link");
    AddCountedItem(items, count.Totals.Unreadable, "unreadable folder");
    AddCountedItem(items, count.Totals.OtherVolumes, "other volume");
    AddCountedItem(items, count.Totals.PseudoFileSystems, "pseudo file system");
    return items;
}

// While a folder is counted, the size recorded at its last count, with that count's date.
std::string TotalText(const QRFolderCount& count)
{
    switch (count.State) {
    case QRCountState::Counting:
        if (count.RecordedAt)
            return SizeText(count.Totals.Bytes) + " (" + platform::DayMonthText(*count.RecordedAt) + ")";
        return "counting…";
    case QRCountState::BehindLink:
        return "not counted";
    default:
        return SizeText(count.Totals.Bytes);
    }
}

// The total (size true, on the disk too), the files and folders below and what was not counted,
// from `y` down; the y below.
float AddCountLines(std::vector<GLInfoLine>& lines, float right, float y, const QRFolderCount& count)
{
    lines.push_back({right - 230.0f, y, "Folder Size:"});
    lines.push_back({right - 100.0f, y, TotalText(count)});
    y += kLineHeight;
    if (count.State == QRCountState::Known && QRLayout::SizeTrue()) {
        lines.push_back({right - 230.0f, y, "On disk:"});
        lines.push_back({right - 100.0f, y, SizeText(count.Totals.AllocatedBytes)});
        y += kLineHeight;
    }
    if (count.State == QRCountState::Known || count.RecordedAt) {
        lines.push_back({right - 230.0f, y, "Files:"});
        lines.push_back({right - 100.0f, y, QOXConvert::IntToStr(count.Totals.Files)});
        lines.push_back({right - 230.0f, y + kLineHeight, "Folders:"});
        lines.push_back({right - 100.0f, y + kLineHeight, QOXConvert::IntToStr(count.Totals.Folders)});
        y += 2.0f * kLineHeight;
    }
    const std::vector<std::string> items = NotCounted(count);
    if (!items.empty())
        lines.push_back({right - 230.0f, y, "Not counted:"});
    for (const std::string& item : items) {
        y += kLineHeight;
        lines.push_back({right - 220.0f, y, item});
    }
    return items.empty() ? y : y + kLineHeight;
}

// "+48 %" of a change against what was there; empty when nothing was.
std::string PercentText(std::int64_t change, std::int64_t before)
{
    if (before <= 0)
        return "";
    const double percent = static_cast<double>(change) * 100.0 / static_cast<double>(before);
    return std::string(change < 0 ? "" : "+") + QOXConvert::IntToStr(static_cast<std::int64_t>(std::llround(percent))) + " %";
}

// "Grew by 3.21 GB since 1 Dec 2026 (+48 %)", "New since 1 Dec 2026", ...; empty when the count
// could not tell (a file too small to be recorded then).
std::string GrowthText(const QRChange& change, std::int64_t since)
{
    if (!change.Recorded || change.After < 0)
        return "";
    const std::string date = platform::DayMonthYearText(since);
    if (!change.Before)
        return "New since " + date;
    const std::int64_t difference = change.After - *change.Before;
    if (difference == 0)
        return "Unchanged since " + date;
    const std::string percent = PercentText(difference, *change.Before);
    return std::string(difference > 0 ? "Grew by " : "Shrank by ") + SizeText(difference > 0 ? difference : -difference) +
           " since " + date + (percent.empty() ? "" : " (" + percent + ")");
}

// A ring folder on a drive's own mount point (the file-system root is one).
bool IsDriveRoot(const std::string& folder)
{
    const platform::Volume volume = platform::VolumeOf(folder);
    return volume.MountPoint == folder && !volume.TypeText.empty();
}

} // namespace

std::string SizeText(std::int64_t bytes)
{
    return SizeTextIn(bytes, ShownSizeUnits());
}

std::string AttributeText(bool hidden, bool readOnly)
{
    std::string text;
    if (hidden)
        text += "Hidden, ";
    if (readOnly)
        text += "Read Only, ";
    if (text.size() > 1)
        text.resize(text.size() - 2);
    return text;
}

void GLSceneApp::DrawInfoBox()
{
    if (HoverElement == nullptr)
        return;
    GL_2DSystem* system = GL()->System2D;
    system->Begin2D();
    const float duration = Application->Settings.DisplayDuration;
    if (duration <= 0.0f) {
        system->End2D();
        return;
    }
    if (HoverElement != InfoElement)
        StartInfo();
    InfoTime += FrameSeconds();
    const float alpha = InfoTime > duration ? 1.0f - (InfoTime - duration) : 1.0f;
    if (alpha < 0.0f) {
        system->End2D();
        return;
    }
    const float right = ViewWidth() - 10.0f;
    const float bottom = ViewHeight() - 10.0f;
    // The box grows upwards when a folder's count needs more lines than it has, and to the left
    // for a long title or line.
    const std::vector<GLInfoLine> lines = InfoLines(right, 0.0f);
    float height = kInfoHeight;
    float lineLeft = right - kInfoWidth;
    for (const GLInfoLine& line : lines) {
        height = std::max(height, line.Y + kBoxMargin);
        lineLeft = std::min(lineLeft, line.X - 10.0f);
    }
    const float top = bottom - height;
    const std::string title = InfoTitle();
    const float titleWidth = GLFont::TextWidth(system->Fonts->FindFont("Default Add"), title, kTextSize);
    const float left = std::min(titleWidth > kTitleRoom ? right - 20.0f - titleWidth : right - kInfoWidth, lineLeft);
    DrawFrameBox(left, top, right, bottom, alpha);
    system->Print("Default Add", AlignLeft, left + 10.0f, top + 15.0f, kWhite, alpha, kTextSize, title);
    for (const GLInfoLine& line : lines)
        system->Print("Default Add", AlignLeft, line.X, top + line.Y, kWhite, alpha, kTextSize, line.Text);
    system->End2D();
}

// The name typed so far, in a small box just above the info box, for as long as it is being typed.
void GLSceneApp::DrawTypedText()
{
    const std::string typed = Application->Keys != nullptr ? Application->Keys->TypedText() : std::string();
    if (typed.empty())
        return;
    GL_2DSystem* system = GL()->System2D;
    system->Begin2D();
    const float right = ViewWidth() - 10.0f;
    const float bottom = ViewHeight() - 20.0f - kInfoHeight;
    const float width = GLFont::TextWidth(system->Fonts->FindFont("Default Add"), typed, kTextSize);
    const float left = right - std::max(width + 20.0f, kTypedWidth);
    DrawFrameBox(left, bottom - kTypedHeight, right, bottom, 1.0f);
    system->Print("Default Add", AlignLeft, left + 10.0f, bottom - kTypedHeight / 2.0f, kWhite, 1.0f, kTextSize, typed);
    system->End2D();
}

void GLSceneApp::StartInfo()
{
    InfoElement = HoverElement;
    InfoTime = 0.0f;
    InfoOnDrive = HoverElement->IsRoot() && HoverRing != nullptr && IsDriveRoot(HoverRing->Folder);
    InfoDrive = InfoOnDrive ? HoverRing->DriveInfo() : QRDriveInfo{};
}

std::string GLSceneApp::InfoTitle() const
{
    if (HoverElement->IsSummary())
        return static_cast<const QRESummary*>(HoverElement)->Caption();
    const bool root = HoverElement->IsRoot() && HoverRing != nullptr;
    std::string title = root ? HoverRing->Folder : HoverElement->Name;
    if (title.size() > 1 && title.back() == '/')
        title.pop_back();
    return title;
}

std::vector<GLInfoLine> GLSceneApp::InfoLines(float right, float top) const
{
    std::vector<GLInfoLine> lines;
    if (InfoOnDrive)
        AddDriveLines(lines, right, top);
    if (HoverElement->IsSummary())
        AddSummaryLines(lines, right, top);
    else if (HoverElement->IsFolder())
        AddFolderLines(lines, right, top);
    else
        AddFileLines(lines, right, top);
    AddGrowthLines(lines, right, top);
    AddHiddenLine(lines, right, top);
    return lines;
}

void GLSceneApp::AddGrowthLines(std::vector<GLInfoLine>& lines, float right, float top) const
{
    const QRRingSizes* sizes = HoverElement->Ring->Sizes;
    if (sizes == nullptr || sizes->Growth == nullptr)
        return;
    const QRRingGrowth& growth = *sizes->Growth;
    std::vector<std::string> texts{GrowthText(growth.ChangeOf(*HoverElement), growth.Since())};
    if (HoverElement->IsFolder()) {
        const QRRemoved removed = growth.RemovedFrom(*static_cast<const QREFolder*>(HoverElement));
        if (removed.Items > 0)
            texts.push_back("Removed since: " + QOXConvert::IntToStr(removed.Items) + (removed.Items == 1 ? " item, " : " items, ") +
                            SizeText(removed.Bytes));
    }
    AddNoteLines(lines, right, top, texts);
}

// "2 hidden, 1.50 MB": the folder's children hidden from the ring.
void GLSceneApp::AddHiddenLine(std::vector<GLInfoLine>& lines, float right, float top) const
{
    if (!HoverElement->IsFolder())
        return;
    const auto* folder = static_cast<const QREFolder*>(HoverElement);
    if (folder->HiddenChildren > 0)
        AddNoteLines(lines, right, top,
                     {QOXConvert::IntToStr(folder->HiddenChildren) + " hidden, " + SizeText(folder->HiddenChildBytes)});
}

// Texts below every line so far, each right-aligned when it is long; empty texts are left out.
void GLSceneApp::AddNoteLines(std::vector<GLInfoLine>& lines, float right, float top, const std::vector<std::string>& texts) const
{
    float y = top + 50.0f;
    for (const GLInfoLine& line : lines)
        y = std::max(y, line.Y + kLineHeight);
    const QRFont* font = GL()->System2D->Fonts->FindFont("Default Add");
    for (const std::string& text : texts) {
        if (text.empty())
            continue;
        const float width = GLFont::TextWidth(font, text, kTextSize);
        lines.push_back({std::min(right - 230.0f, right - 10.0f - width), y, text});
        y += kLineHeight;
    }
}

// Size true, the drive's space is named as people name it: its total and what is free.
void GLSceneApp::AddDriveLines(std::vector<GLInfoLine>& lines, float right, float top) const
{
    const bool plain = QRLayout::SizeTrue();
    lines.push_back({right - 230.0f, top + 50.0f, "Drive Type:"});
    lines.push_back({right - 230.0f, top + 90.0f, plain ? "Total:" : "Space Available:"});
    lines.push_back({right - 230.0f, top + 110.0f, plain ? "Free:" : "Space Free:"});
    lines.push_back({right - 120.0f, top + 50.0f, InfoDrive.TypeText});
    lines.push_back({right - 100.0f, top + 90.0f, SizeText(InfoDrive.Total)});
    lines.push_back({right - 100.0f, top + 110.0f, SizeText(InfoDrive.Free)});
    // A drive without a medium has no size to take a share of.
    if (InfoDrive.Total > 0) {
        const double share = static_cast<double>(InfoDrive.Free) / static_cast<double>(InfoDrive.Total) * 100.0;
        lines.push_back({right - 100.0f, top + 130.0f, "(" + QOXConvert::FloatToStrDigits(static_cast<float>(share), 2) + "% free)"});
    }
}

void GLSceneApp::AddFileLines(std::vector<GLInfoLine>& lines, float right, float top) const
{
    const QRFileInfo info = static_cast<const QREFile*>(HoverElement)->Info();
    lines.push_back({right - 230.0f, top + 50.0f, "File Size:"});
    lines.push_back({right - 230.0f, top + 70.0f, "File Created:"});
    lines.push_back({right - 230.0f, top + 90.0f, "Last Access:"});
    lines.push_back({right - 100.0f, top + 50.0f, SizeText(info.Size)});
    lines.push_back({right - 100.0f, top + 70.0f, platform::ShortDateText(info.Created)});
    lines.push_back({right - 100.0f, top + 90.0f, platform::ShortDateText(info.LastAccess)});
    if (QRLayout::SizeTrue() && info.Allocated >= 0) {
        lines.push_back({right - 230.0f, top + 110.0f, "On disk:"});
        lines.push_back({right - 100.0f, top + 110.0f, SizeText(info.Allocated)});
    }
    AddAttributeLine(lines, right, top, AttributeText(info.Hidden, info.ReadOnly));
}

// With sizes counted in the background the folder's count comes first (below the drive lines of a
// drive), and the attributes below it.
void GLSceneApp::AddFolderLines(std::vector<GLInfoLine>& lines, float right, float top) const
{
    const auto* folder = static_cast<const QREFolder*>(HoverElement);
    float attributesTop = top;
    if (const QRRingSizes* sizes = folder->Ring->Sizes; sizes != nullptr) {
        // What is hidden from the ring has left the total shown.
        QRFolderCount count = sizes->CountOf(*folder);
        count.Totals.Bytes = std::max<std::int64_t>(0, count.Totals.Bytes - folder->HiddenBelow);
        const float below = AddCountLines(lines, right, top + (InfoOnDrive ? 150.0f : 50.0f), count);
        attributesTop = std::max(top, below - 130.0f);
    }
    const QRAttributes attributes = folder->Attributes();
    AddAttributeLine(lines, right, attributesTop, AttributeText(attributes.Hidden, attributes.ReadOnly));
}

// The free space: how much, of how large a volume; small items: how much they hold together.
void GLSceneApp::AddSummaryLines(std::vector<GLInfoLine>& lines, float right, float top) const
{
    const auto* summary = static_cast<const QRESummary*>(HoverElement);
    if (summary->Kind == QRSummaryKind::SmallItems) {
        lines.push_back({right - 230.0f, top + 50.0f, "Size:"});
        lines.push_back({right - 100.0f, top + 50.0f, SizeText(summary->Size)});
        lines.push_back({right - 230.0f, top + 70.0f, "Items:"});
        lines.push_back({right - 100.0f, top + 70.0f, QOXConvert::IntToStr(summary->Count)});
        return;
    }
    lines.push_back({right - 230.0f, top + 50.0f, "Free:"});
    lines.push_back({right - 100.0f, top + 50.0f, SizeText(summary->Size)});
    const platform::VolumeSpace drive = platform::SpaceOf(summary->Ring->Folder);
    if (drive.Total <= 0)
        return;
    lines.push_back({right - 230.0f, top + 70.0f, "Total:"});
    lines.push_back({right - 100.0f, top + 70.0f, SizeText(drive.Total)});
    const double share = static_cast<double>(summary->Size) / static_cast<double>(drive.Total) * 100.0;
    lines.push_back({right - 100.0f, top + 90.0f, "(" + QOXConvert::FloatToStrDigits(static_cast<float>(share), 2) + "% free)"});
}
