#include "ring/element_name.h"

#include <algorithm>

bool operator==(const QRName& name, std::string_view text)
{
    return name.View() == text;
}

std::string operator+(const std::string& head, const QRName& name)
{
    std::string joined;
    joined.reserve(head.size() + name.size());
    joined.append(head).append(name.View());
    return joined;
}

std::string operator+(std::string&& head, const QRName& name)
{
    head.append(name.View());
    return std::move(head);
}

std::ostream& operator<<(std::ostream& out, const QRName& name)
{
    return out << name.View();
}

static_assert(sizeof(QRLabel) == 12, "a label outgrew its place in the element");

QRLabel::~QRLabel()
{
    ReleaseOwnText();
}

void QRLabel::Moved(const QRName& before, const QRName& after)
{
    if (!OwnsText && Source == before.c_str())
        Source = after.c_str();
}

QRLabel& QRLabel::operator=(std::string_view whole)
{
    std::size_t length = std::min(whole.size(), kMostBytes);
    while (length < whole.size() && length > 0 && (static_cast<unsigned char>(whole[length]) & 0xC0) == 0x80)
        --length; // never in the middle of a character
    const std::string_view text = whole.substr(0, length);
    char* copy = new char[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = '\0';
    ReleaseOwnText();
    Source = copy;
    Length = static_cast<std::uint16_t>(text.size());
    Cut = false;
    OwnsText = true;
    return *this;
}

void QRLabel::clear()
{
    ReleaseOwnText();
    Source = "";
    Length = 0;
    Cut = false;
}

std::string QRLabel::Text() const
{
    std::string text(Source, Length);
    if (Cut)
        text += kEllipsis;
    return text;
}

bool operator==(const QRLabel& label, std::string_view text)
{
    return label.Text() == text;
}

std::ostream& operator<<(std::ostream& out, const QRLabel& label)
{
    return out << label.Text();
}
