#pragma once
// Byte counts as people read them. Designed: "512 Byte", "1.5 KB", "2.25 MB", "1.00 GB" (1024-based,
// as the design wrote them). Binary: the same 1024-based steps named for what they are, "512 B",
// "1.5 KiB", "2.25 MiB", "56.57 GiB", "1.20 TiB", which size-true rings use everywhere (info box,
// status bar, labels, legend), so that no text mixes 1000 and 1024.
#include <cstdint>
#include <string>

enum class QRSizeUnits { Designed, Binary };

// The units of the texts the program shows now: binary with size-true rings, designed without.
QRSizeUnits ShownSizeUnits();

std::string SizeTextIn(std::int64_t bytes, QRSizeUnits units);
// Three figures at most, for labels on the rings: "512 B", "4.2 GiB", "42 GiB", "421 GiB".
std::string ShortSizeText(std::int64_t bytes);
