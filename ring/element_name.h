#pragma once
// The two texts of an element, small enough to sit in the element itself. `QRName` is a view of a
// name that its folder's name store keeps (a folder of many entries keeps all their names in a few
// blocks instead of one heap block per name). `QRLabel` is the name as drawn: usually the first
// bytes of that same name, with or without "...", so it needs no storage of its own either. Both
// are small: a name is one pointer, a label twelve bytes with no padding, so that the fields after
// it in an element fill the rest of its eight-byte word.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

class QRName {
public:
    QRName() = default;
    // `text` is NUL-terminated and outlives the name (its folder's name store keeps it).
    explicit QRName(const char* text) : Text(text) {}

    std::size_t size() const { return std::strlen(Text); }
    bool empty() const { return Text[0] == '\0'; }
    char front() const { return Text[0]; }
    char back() const { return Text[size() - 1]; }
    const char* c_str() const { return Text; }
    std::string_view View() const { return {Text, size()}; }

    operator std::string_view() const { return View(); }
    operator std::string() const { return std::string(View()); }

private:
    const char* Text = ""; // not owned
};

bool operator==(const QRName& name, std::string_view text);
std::string operator+(const std::string& head, const QRName& name);
std::string operator+(std::string&& head, const QRName& name);
std::ostream& operator<<(std::ostream& out, const QRName& name);

class [[gnu::packed]] QRLabel {
public:
    enum class Ending { Whole, Cut };

    QRLabel() = default;
    ~QRLabel();
    QRLabel(const QRLabel&) = delete;
    QRLabel& operator=(const QRLabel&) = delete;

    // Shows the first `length` bytes of `name`, followed by "..." when cut.
    void Show(const QRName& name, std::size_t length, Ending ending)
    {
        ReleaseOwnText();
        Source = name.c_str();
        Length = static_cast<std::uint16_t>(length); // names hold at most 255 bytes
        Cut = ending == Ending::Cut;
    }
    // The name shown moved to other storage: the label follows it there.
    void Moved(const QRName& before, const QRName& after);
    // Shows a text of its own (a copy of its first kMostBytes at most); the next Show goes back to
    // the name.
    QRLabel& operator=(std::string_view text);
    void clear();

    std::size_t size() const { return Length + (Cut ? kEllipsis.size() : 0); }
    bool empty() const { return size() == 0; }
    std::string Text() const;
    operator std::string() const { return Text(); }

    static constexpr std::size_t kMostBytes = 65535;

private:
    static constexpr std::string_view kEllipsis = "...";

    void ReleaseOwnText()
    {
        if (OwnsText)
            delete[] Source;
        OwnsText = false;
    }

    const char* Source = "";  // the name's bytes (not owned), or an own copy when OwnsText
    std::uint16_t Length = 0; // bytes of Source shown
    bool Cut = false;
    bool OwnsText = false;
};

bool operator==(const QRLabel& label, std::string_view text);
std::ostream& operator<<(std::ostream& out, const QRLabel& label);
