#pragma once
// Text compared without regard to case, for every script a file name may be written in.
#include <string>
#include <string_view>

namespace platform {

// The UTF-8 text with every letter folded to its caseless form ("Äpfel" and "äPFEL" fold alike).
std::string FoldCase(std::string_view text);

} // namespace platform
