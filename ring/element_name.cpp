#include "ring/element_name.h"

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

QRLabel::~QRLabel()
{
    ReleaseOwnText();
}

void QRLabel::Moved(const QRName& before, const QRName& after)
{
    if (!OwnsText && Source == before.c_str())
        Source = after.c_str();
}

QRLabel& QRLabel::operator=(std::string_view text)
{
    char* copy = new char[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = '\0';
    ReleaseOwnText();
    Source = copy;
    Length = static_cast<std::uint32_t>(text.size());
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
