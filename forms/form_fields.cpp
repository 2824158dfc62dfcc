#include "forms/form_fields.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "engine/qox_convert.h"
#include "platform/system_folders.h"

namespace {

constexpr int kMemoFontSize = 8;

std::string TextOf(const QLineEdit& edit)
{
    return edit.text().toStdString();
}

QColor ToQColor(const QXColor& colour)
{
    const std::uint32_t rgb = QOXConvert::ColorToRGB(colour);
    return QColor(static_cast<int>(rgb & 0xFFu), static_cast<int>((rgb >> 8) & 0xFFu),
                  static_cast<int>((rgb >> 16) & 0xFFu));
}

void PaintPanel(QWidget& panel, const QXColor& colour)
{
    panel.setAutoFillBackground(true);
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    palette.setColor(QPalette::Base, ToQColor(colour));
    panel.setPalette(palette);
}

} // namespace

void PutFloat(QLineEdit& edit, float value)
{
    PutText(edit, QOXConvert::FloatToStr(value));
}

void PutInt(QLineEdit& edit, int value)
{
    PutText(edit, QOXConvert::IntToStr(value));
}

void PutText(QLineEdit& edit, const std::string& text)
{
    edit.setText(QString::fromStdString(text));
}

void ReadFloat(const QLineEdit& edit, float& value)
{
    if (const std::optional<float> number = QOXConvert::ExactFloat(TextOf(edit)))
        value = *number;
}

void ReadInt(const QLineEdit& edit, int& value)
{
    if (const std::optional<int> number = QOXConvert::ExactInt(TextOf(edit)))
        value = *number;
}

std::string FieldText(const QLineEdit& edit, std::size_t limit)
{
    return CutText(TextOf(edit), limit);
}

std::string FolderText(const QString& text)
{
    return platform::ExpandHome(text.toStdString());
}

void PutColor(const TColorGroup& group, const QXColor& colour)
{
    PutFloat(*group.Red, colour.X);
    PutFloat(*group.Green, colour.Y);
    PutFloat(*group.Blue, colour.Z);
    PaintPanel(*group.Panel, colour);
}

void ReadColor(const TColorGroup& group, QXColor& colour)
{
    ReadFloat(*group.Red, colour.X);
    ReadFloat(*group.Green, colour.Y);
    ReadFloat(*group.Blue, colour.Z);
    PaintPanel(*group.Panel, colour);
}

bool PickColor(const TColorGroup& group, QWidget* parent)
{
    QXColor colour;
    ReadColor(group, colour);
    const QColor chosen = QColorDialog::getColor(ToQColor(colour), parent);
    if (!chosen.isValid())
        return false;
    PutColor(group, {static_cast<float>(chosen.red()) / 255.0f, static_cast<float>(chosen.green()) / 255.0f,
                     static_cast<float>(chosen.blue()) / 255.0f});
    group.Red->setFocus();
    return true;
}

void PutScript(QPlainTextEdit& memo, const QXScript& script)
{
    QFont font("Courier New", kMemoFontSize);
    font.setStyleHint(QFont::Monospace);
    memo.setFont(font);
    QStringList lines;
    for (const std::string& line : script.Lines)
        lines.append(QString::fromStdString(line));
    memo.setPlainText(lines.join('\n'));
}

std::vector<std::string> MemoLines(const QPlainTextEdit& memo)
{
    std::vector<std::string> lines;
    for (const QString& line : memo.toPlainText().split('\n'))
        lines.push_back(CutText(line.toStdString(), kStringText));
    return lines;
}
